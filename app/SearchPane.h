#pragma once
// The pane that searches the print files of the shown source or of every
// month, laid over the list (Ctrl+Shift+F, or "Hľadať vo všetkých
// súboroch..." in the list's context menu). It only presents: PrintFileSearch
// does the work on threads of its own, and the pane takes what it found every
// few milliseconds, so the window never waits. A result opened (Enter or a
// double click) goes to the window through OnOpen.

#include "app/CatalogEntry.h"
#include "app/PrintFileSearch.h"
#include "app/Source.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TForm1;

class SearchPane : public QWidget {
    Q_OBJECT
  public:
    // `host` and `shownSource` are the window's: the folders, and the source
    // the selector shows now ("Zvolený zdroj").
    SearchPane(QWidget* parent, const HostFolders& host, std::function<Source()> shownSource);
    ~SearchPane() override;

    // Shows the pane with the focus in its text.
    void Open();
    // Stops a search and hides the pane; the list under it is as it was.
    void Close();
    bool IsOpen() const { return !isHidden(); }
    bool Searching() const;

    // Starts a search with what the pane holds; a running one is stopped first.
    void StartSearch();
    // Stops the running search within a blink, keeping what it found.
    void StopSearch();

    // The user opened a result: its source and entry, the match's line and
    // column in the viewer (0-based) and length, and the text searched for.
    std::function<void(const Source& source, const CatalogEntry& entry, int line, int column,
                       int length, const QString& text, bool matchCase)>
        OnOpen;

    // The most results shown; a search that finds more ends there.
    static constexpr int kMostRows = 5000;

  private:
    // The tool tips are set on the controls from their own file.
    friend void SetToolTips(TForm1& form);

    void TakeWhatCame();
    void AddRow(const SearchHit& hit);
    // The failures so far, under the results.
    void ShowFailures();
    void Finish(const QString& notice);
    void OpenResult(QTreeWidgetItem* item);

    const HostFolders& host_;
    std::function<Source()> shownSource_;

    QLineEdit* text_;
    QComboBox* scope_;
    QCheckBox* matchCase_;
    QPushButton* start_;
    QPushButton* stop_;
    QToolButton* closeButton_;
    QTreeWidget* results_;
    QProgressBar* progress_;
    QLabel* notice_;
    QLabel* failures_;
    QTimer* poll_;
    // Where the focus was before the pane opened; it goes back there on closing.
    QPointer<QWidget> focusBefore_;

    std::unique_ptr<PrintFileSearch> search_;
    // What the rows show, by row; their sources are the search's.
    std::vector<SearchHit> hits_;
    std::vector<SearchFailure> failed_;
    QString searchedText_;
    bool searchedMatchCase_ = false;
};
