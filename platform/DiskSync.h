#pragma once
// Forcing a written file onto its disk. Some file systems (network shares
// among them) report a full disk or a lost write only then, not when the
// bytes were handed over.

#include <string>

namespace platform {

// Syncs the open file; the system's reason when that fails, else empty. A
// file that cannot be synced at all (a pipe, a special file) is no failure.
std::string SyncToDisk(int fileDescriptor);

} // namespace platform
