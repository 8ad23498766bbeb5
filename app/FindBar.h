#pragma once
// The preview's find bar: a slim row under the viewer with the text to find,
// next and previous, and whether letter case counts. The text is looked for in
// the file as the viewer shows it; a match becomes the viewer's selection.

#include "viewer/TextSearch.h"

#include <QRect>
#include <QWidget>

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

    // Shows the bar with its text selected and the focus in it.
    void Open();
    // Hides the bar and gives the focus back to the viewer.
    void Close();
    bool IsOpen() const { return !isHidden(); }

    // From the caret (after the selection going forward, before it going
    // back), wrapping at the ends. With no text yet the bar opens instead.
    void FindNext();
    void FindPrevious();

    static constexpr int kHeight = 24;

  private:
    // The tool tips are set on the controls from their own file.
    friend void SetToolTips(TForm1& form);

    // Shows the bar, the viewer giving up its strip, without moving the focus.
    void Reveal();
    void Find(SearchDirection direction);
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
};
