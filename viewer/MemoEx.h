#pragma once
// The read-only text viewer: a print file's lines in a grid of equal character
// cells, with a caret, keyboard and mouse navigation, selection and copy.
// Bytes stay in the OEM code page; they become glyphs only when painted.

#include "viewer/CaretModel.h"
#include "viewer/MemoExStrings.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QPixmap>

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class QPainter;
class QScrollBar;
class QTimer;
class OemGlyphTable;

class EInvalidRightMarginValue : public std::runtime_error {
  public:
    EInvalidRightMarginValue() : std::runtime_error("Invalid right margin value") {}
};

// Font style bits of a character attribute.
enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// How one character is painted.
struct TLineAttr {
    QRgb fc = 0;
    QRgb bc = 0;
    std::uint8_t style = 0;
    std::uint8_t wordStyle = 0; // tag for word-click hooks; not painted
    bool operator==(const TLineAttr&) const = default;
};
// One attribute per character position of a line, plus one.
using TLineAttrs = std::vector<TLineAttr>;
// Selected-or-not per character position of the row being painted.
using TSelAttrs = std::vector<bool>;

// A stretch of a row's characters, from `start` to the next run, with one attribute.
struct AttrRun {
    int start = 0;
    TLineAttr attr;
};

class TCustomMemoEx : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit TCustomMemoEx(QWidget* parent = nullptr);
    ~TCustomMemoEx() override;

    TMemoExStrings& Lines() { return lines_; }
    const TMemoExStrings& Lines() const { return lines_; }

    // 1-based character position in the whole text, each line break counting
    // two; 0 and 1 both mean the start. Moves the caret there, unselected.
    void SetSelectionStart(int position);
    // Selects that many characters from the selection start (0: nothing).
    void SetSelectionLength(int length);
    int SelectionStart() const;
    // Selects from `begin` to `end` (exclusive), caret at the end, and scrolls
    // so the selection is in view: a row out of view comes to the middle.
    void SelectCells(CellPos begin, CellPos end);

    std::string SelectedText() const;
    // The selection as Unicode text, converted from the OEM code page. A
    // selection the clipboard or the memory cannot take is refused with an
    // error naming it, and the clipboard keeps what it had.
    void CopyToClipboard();
    // The most characters one copy puts on the clipboard.
    std::int64_t ClipboardCapacity() const { return clipboardCapacity_; }
    void SetClipboardCapacity(std::int64_t characters) { clipboardCapacity_ = characters; }
    void SelectAll();
    bool SelAvail() const { return model_.Selected(); }
    CellPos SelBegin() const { return model_.SelBegin(); }
    CellPos SelEnd() const { return model_.SelEnd(); }

    // Caret placement: clamps, scrolls the cell into view, moves the caret.
    void SetCaret(int col, int row);
    int CaretX() const { return model_.Caret().col; }
    int CaretY() const { return model_.Caret().row; }
    bool CaretVisible() const { return caretShown_; }
    QRect CaretRect() const;

    void ScrollToRow(int topRow);
    void ScrollToCol(int leftCol);
    int TopRow() const { return model_.TopRow(); }
    int LeftCol() const { return model_.LeftCol(); }
    int VisibleRowCount() const { return model_.VisibleRows(); }
    int VisibleColCount() const { return model_.VisibleCols(); }
    int LastVisibleRow() const { return model_.LastVisibleRow(); }
    int LastVisibleCol() const { return model_.LastVisibleCol(); }
    int CellWidth() const { return cellWidth_; }
    int CellHeight() const { return cellHeight_; }
    int TextLeft() const { return gutterWidth_ + 2; }
    // The cell a viewport pixel falls in, as a mouse click takes it.
    CellPos CellAt(QPoint pixel) const;

    // The zoom buttons' way of changing the font: its size in points.
    void SetFontSize(int points);

    // Settings. The viewer is always read-only: this tool never edits a file.
    bool ReadOnly() const { return true; }
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color);
    QColor SelForeColor() const { return selForeColor_; }
    QColor SelBackColor() const { return selBackColor_; }
    void SetSelColors(const QColor& fore, const QColor& back);
    int GutterWidth() const { return gutterWidth_; }
    void SetGutterWidth(int width);
    bool RightMarginVisible() const { return rightMarginVisible_; }
    void SetRightMarginVisible(bool visible);
    int RightMargin() const { return rightMargin_; }
    void SetRightMargin(int margin);
    QColor RightMarginColor() const { return rightMarginColor_; }
    void SetRightMarginColor(const QColor& color);
    int TabSize() const { return lines_.TabSize(); }
    void SetTabSize(int size) { lines_.SetTabSize(size); }
    bool UseMaxCharWidth() const { return useMaxCharWidth_; }
    void SetUseMaxCharWidth(bool use);
    bool CursorBeyondEOL() const { return model_.CursorBeyondEOL(); }
    void SetCursorBeyondEOL(bool beyond) { model_.SetCursorBeyondEOL(beyond); }
    bool InsertMode() const { return insertMode_; }
    std::optional<CellPos> Bookmark(int number) const { return model_.Bookmark(number); }

    // Events, raised with the viewer as sender.
    std::function<void(QObject*)> OnDblClick;
    std::function<void(QObject*)> OnSelectionChange;
    std::function<void(QObject*)> OnScroll;
    std::function<void(QObject*)> OnStatusChange;
    // May recolour a line; called when a row's attributes are refreshed.
    std::function<void(QObject*, std::string_view, int, const TSelAttrs&, TLineAttrs&)>
        OnGetLineAttr;

    // The vertical position moved by the mouse wheel: up for a positive delta.
    void WheelRows(int delta);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    enum class Command;
    struct KeyBinding;

    // Metrics and scroll bars.
    void UpdateMetrics(bool full);
    void UpdateScrollRanges();
    void SetBar(QScrollBar* bar, int value);
    // Scrolls the view as caret placement does, so the cell lies inside it.
    void ScrollIntoView(int col, int row);
    void ScrollTo(const ScrollTarget& target);
    void TextChanged(TMemoExStrings::ChangeKind kind);
    void InvalidateAttrs();

    // Painting.
    void PaintRow(QPainter& window, int row, int c0, int c1);
    const std::vector<AttrRun>& RowAttrs(int row);
    bool IsSelected(int row, int col) const { return model_.IsSelected(row, col); }
    void UpdateRows(int firstRow, int lastRow);
    void UpdateCaret();

    // Selection.
    void StartSelection(CellPos at);
    void ExtendSelection(CellPos to);
    void ClearSelection();
    void SelectWordAtCaret();
    // The selected text as cut to its lines: nullopt when it is empty (with a
    // beep when it lies outside the text); its pieces in order, breaks included.
    std::optional<TextSpan> SelectedSpan() const;
    void ForEachPiece(const TextSpan& span,
                      const std::function<void(std::string_view)>& piece) const;

    // Keyboard.
    static const KeyBinding* FindBinding(int key, Qt::KeyboardModifiers mods, int key2,
                                         Qt::KeyboardModifiers mods2);
    static bool StartsTwoKeyCommand(int key, Qt::KeyboardModifiers mods);
    bool IsViewerKey(const QKeyEvent* event) const;
    void HandleKey(int key, Qt::KeyboardModifiers mods);
    void Execute(Command command);
    void MoveCaret(CellPos to, bool select);

    void AutoScrollTick();
    void HoldViewLock() { ++viewLock_; }
    void ReleaseViewLock();
    bool Locked() const { return viewLock_ > 0 || lines_.IsUpdating(); }

    TMemoExStrings lines_;
    // The caret, the selection and the scroll position, over lines_.
    CaretModel model_{lines_};

    QColor color_;
    QColor fontColor_;
    QColor selForeColor_;
    QColor selBackColor_;
    QColor rightMarginColor_{192, 192, 192};
    int gutterWidth_ = 0;
    bool rightMarginVisible_ = true;
    int rightMargin_ = 80;
    bool useMaxCharWidth_ = true;
    bool insertMode_ = true;
    static constexpr int kMarginColumn = 80;

    int cellWidth_ = 1;
    int cellHeight_ = 1;
    int ascent_ = 0;
    int viewLock_ = 0;
    bool paintAll_ = true;
    bool settingBar_ = false;

    // A Qt string holds up to half the address space in UTF-16 units.
    std::int64_t clipboardCapacity_ = std::numeric_limits<std::int64_t>::max() / 2 - 64;

    QPixmap rowBitmap_;
    // Glyphs per font style, built when first painted with that style.
    std::unordered_map<std::uint8_t, std::unique_ptr<OemGlyphTable>> glyphs_;
    const OemGlyphTable& Glyphs(std::uint8_t style);
    std::unordered_map<int, std::vector<AttrRun>> attrCache_;

    bool caretShown_ = false;
    bool caretBlinkOn_ = true;
    int caretTimer_ = 0;

    // Keyboard state.
    int pendingPrefixKey_ = 0;
    Qt::KeyboardModifiers pendingPrefixMods_;
    bool recording_ = false;
    bool replaying_ = false;
    std::vector<std::pair<int, Qt::KeyboardModifiers>> macro_;

    // Mouse state.
    bool mousePressed_ = false;
    bool dragged_ = false;
    bool doubleClicked_ = false;
    QPoint lastPointer_;
    CellPos dragTarget_;
    QTimer* autoScroll_ = nullptr;
};

// The viewer as the preview page uses it.
class TMemoEx : public TCustomMemoEx {
    Q_OBJECT
  public:
    explicit TMemoEx(QWidget* parent = nullptr);
    // The preview page's look: bold "Courier New", pale blue background, no
    // gutter, silver margin line, tab size 4.
    void UsePreviewSettings();
};
