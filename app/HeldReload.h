#pragma once
// When the shown catalog changes on disk, the list is reloaded at once while
// it is shown and no print runs. The preview and a running print work from
// the entry the user chose, so otherwise the reload waits until the list is
// shown again or the print has ended.

class HeldReload {
  public:
    // The catalog changed on disk: true when the list is to be reloaded now;
    // otherwise the reload is held back.
    bool CatalogChanged(bool listShown) {
        pending_ = true;
        return Due(listShown);
    }
    void PrintStarted() { printing_ = true; }
    void PrintEnded() { printing_ = false; }

    // A reload is held back, whatever keeps it.
    bool Pending() const { return pending_; }
    // A reload held back may run now: the list is shown and no print runs.
    bool Due(bool listShown) const { return pending_ && listShown && !printing_; }
    // The list was reloaded; nothing is held back any more.
    void Reloaded() { pending_ = false; }

  private:
    bool pending_ = false;
    bool printing_ = false;
};
