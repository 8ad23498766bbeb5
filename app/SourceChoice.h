#pragma once
// Choosing a source: the sources the host offers, found at start, the one the
// user has chosen, and the host's folders every source is found from.

#include "app/Source.h"

#include <string>
#include <vector>

class SourceChoice {
  public:
    // No source found yet: the current month alone, on that host.
    explicit SourceChoice(std::string appFolder);

    // Finds the archived periods and reads the meal-calculation folder from
    // the host's settings table. The source chosen stays chosen when it is
    // still offered; otherwise the current month is.
    void FindSources();
    // The sources of another host folder (the settings named it), found the
    // same way.
    void MoveTo(std::string appFolder);

    // In the order the month selector offers them.
    const std::vector<Source>& Offered() const { return offered_; }
    const Source& Current() const { return offered_[current_]; }
    // The place of the chosen source among those offered.
    int CurrentIndex() const { return static_cast<int>(current_); }
    // Chooses the offered source at that place; false, changing nothing,
    // outside them.
    bool Choose(int index);
    // Chooses a source by its value; false when it is not offered.
    bool Choose(const Source& source);

    const HostFolders& Host() const { return host_; }

  private:
    HostFolders host_;
    std::vector<Source> offered_;
    size_t current_ = 0;
};
