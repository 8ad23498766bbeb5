#pragma once
// For tests of files the system refuses to read: root reads them anyway unless
// it gives up the capabilities that let it.

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// Root reads files of any mode through two capabilities; without them in this
// thread's effective set it meets file modes as any user does. Restored at the
// end, since they stay in the permitted set.
class FileModesHoldForRoot {
  public:
    FileModesHoldForRoot() {
        if (::geteuid() != 0) return;
        if (Get() != 0) return;
        const __u32 overrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
        saved_ = data_[0].effective;
        data_[0].effective &= ~overrides;
        dropped_ = Set() == 0;
    }
    ~FileModesHoldForRoot() {
        if (!dropped_) return;
        data_[0].effective = saved_;
        Set();
    }
    FileModesHoldForRoot(const FileModesHoldForRoot&) = delete;
    FileModesHoldForRoot& operator=(const FileModesHoldForRoot&) = delete;

    // Whether file modes now hold for this thread.
    bool Hold() const { return ::geteuid() != 0 || dropped_; }

  private:
    int Get() { return static_cast<int>(::syscall(SYS_capget, &header_, data_)); }
    int Set() { return static_cast<int>(::syscall(SYS_capset, &header_, data_)); }

    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data_[_LINUX_CAPABILITY_U32S_3]{};
    __u32 saved_ = 0;
    bool dropped_ = false;
};
