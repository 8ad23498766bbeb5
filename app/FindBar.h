#pragma once
// The preview's find bar: a slim row under the viewer with the text to find,
// next and previous, and whether letter case counts. The text is looked for in
// the file as the viewer shows it; a match becomes the viewer's selection.

#include "viewer/TextSearch.h"

#include <QRect>
#include <QWidget>

#include <atomic>
#include <memory>
#include <thread>

class AnchorLayout;
class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;
class TCustomMemoEx;
class TForm1;

class FindBar : public QWidget {
    Q_OBJECT
  public:
    // The bar lies on the viewer's page, at the bottom of the viewer's place
    // on `layout`; while it is open the viewer gives up that strip.
    FindBar(TCustomMemoEx* viewer, AnchorLayout* layout);
    ~FindBar() override;

    // Shows the bar with its text selected and the focus in it.
    void Open();
    // Hides the bar and gives the focus back to the viewer.
    void Close();
    bool IsOpen() const { return !isHidden(); }

    // From the caret (after the selection going forward, before it going
    // back), wrapping at the ends. With no text yet the bar opens instead.
    void FindNext();
    void FindPrevious();

    // Sets the text and the case toggle that F3 finds with, leaving the bar as it is.
    void UseText(const QString& text, bool matchCase);

    // A long search runs beside the window; while it does, Esc stops it.
    bool Searching() const { return worker_.joinable(); }
    // Stops a search that runs beside the window and says so in the bar.
    void StopSearch();
    // Stops it without a word: the text is about to change or the preview to close.
    void CancelSearch();

    static constexpr int kHeight = 24;

  private:
    // The tool tips are set on the controls from their own file.
    friend void SetToolTips(TForm1& form);

    // Shows the bar, the viewer giving up its strip, without moving the focus.
    void Reveal();
    void Find(SearchDirection direction);
    // Selects the match found and tells what the search did.
    void ShowResult(const FindResult& found, SearchDirection direction);
    void SearchEnded(int generation, const FindResult& found, SearchDirection direction);
    void ShowNotice(const QString& text);

    QLineEdit* text_;
    QToolButton* next_;
    QToolButton* previous_;
    QCheckBox* matchCase_;
    QToolButton* closeButton_;
    QLabel* notice_;

    TCustomMemoEx* viewer_;
    AnchorLayout* layout_;
    QRect viewerRect_; // the viewer's design rectangle with the bar closed

    // The search running beside the window, its stop flag, and the number
    // that tells its result from that of a search stopped before it.
    std::thread worker_;
    std::shared_ptr<std::atomic<bool>> stop_;
    int generation_ = 0;
};
