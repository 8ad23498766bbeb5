#include "viewer/MemoEx.h"

#include <QKeyEvent>

#include <algorithm>

enum class TCustomMemoEx::Command {
    Nothing, // an editing key: consumed, no effect in a read-only viewer
    Left,
    Right,
    Up,
    Down,
    Home,
    End,
    PageUp,
    PageDown,
    SelLeft,
    SelRight,
    SelUp,
    SelDown,
    SelHome,
    SelEnd,
    SelPageUp,
    SelPageDown,
    WordLeft,
    WordRight,
    SelWordLeft,
    SelWordRight,
    WindowTop,
    WindowBottom,
    TextStart,
    TextEnd,
    SelTextStart,
    SelTextEnd,
    ScrollUp,
    ScrollDown,
    SelectAll,
    Copy,
    SelectWord,
    ToggleInsert,
    RecordMacro,
    PlayMacro,
    FocusNext,
    FocusPrevious,
    SetBookmark0, // ... SetBookmark0 + 9
    GotoBookmark0 = SetBookmark0 + 10,
};

struct TCustomMemoEx::KeyBinding {
    int key;
    Qt::KeyboardModifiers mods;
    int key2; // 0 for a one-key command
    Qt::KeyboardModifiers mods2;
    Command command;
};

namespace {

const Qt::KeyboardModifiers kNone = Qt::NoModifier;
const Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
const Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
const Qt::KeyboardModifiers kCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;
const Qt::KeyboardModifiers kAlt = Qt::AltModifier;
constexpr Qt::KeyboardModifiers kModifierMask =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

// With Ctrl+Shift a digit key arrives as the symbol above it on a US keyboard.
int DigitKey(int key) {
    static const char shifted[] = ")!@#$%^&*(";
    for (int d = 0; d < 10; ++d)
        if (key == shifted[d]) return Qt::Key_0 + d;
    return key;
}

bool IsModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_CapsLock;
}

} // namespace

const TCustomMemoEx::KeyBinding* TCustomMemoEx::FindBinding(int key, Qt::KeyboardModifiers mods,
                                                            int key2, Qt::KeyboardModifiers mods2) {
    using C = Command;
    static const std::vector<KeyBinding> table = [] {
        std::vector<KeyBinding> t = {
            {Qt::Key_Left, kNone, 0, kNone, C::Left},
            {Qt::Key_Right, kNone, 0, kNone, C::Right},
            {Qt::Key_Up, kNone, 0, kNone, C::Up},
            {Qt::Key_Down, kNone, 0, kNone, C::Down},
            {Qt::Key_Home, kNone, 0, kNone, C::Home},
            {Qt::Key_End, kNone, 0, kNone, C::End},
            {Qt::Key_PageUp, kNone, 0, kNone, C::PageUp},
            {Qt::Key_PageDown, kNone, 0, kNone, C::PageDown},
            {Qt::Key_Left, kShift, 0, kNone, C::SelLeft},
            {Qt::Key_Right, kShift, 0, kNone, C::SelRight},
            {Qt::Key_Up, kShift, 0, kNone, C::SelUp},
            {Qt::Key_Down, kShift, 0, kNone, C::SelDown},
            {Qt::Key_Home, kShift, 0, kNone, C::SelHome},
            {Qt::Key_End, kShift, 0, kNone, C::SelEnd},
            {Qt::Key_PageUp, kShift, 0, kNone, C::SelPageUp},
            {Qt::Key_PageDown, kShift, 0, kNone, C::SelPageDown},
            {Qt::Key_Left, kCtrl, 0, kNone, C::WordLeft},
            {Qt::Key_Right, kCtrl, 0, kNone, C::WordRight},
            {Qt::Key_Left, kCtrlShift, 0, kNone, C::SelWordLeft},
            {Qt::Key_Right, kCtrlShift, 0, kNone, C::SelWordRight},
            {Qt::Key_Home, kCtrl, 0, kNone, C::WindowTop},
            {Qt::Key_End, kCtrl, 0, kNone, C::WindowBottom},
            {Qt::Key_PageUp, kCtrl, 0, kNone, C::TextStart},
            {Qt::Key_PageDown, kCtrl, 0, kNone, C::TextEnd},
            {Qt::Key_Home, kCtrlShift, 0, kNone, C::SelTextStart},
            {Qt::Key_End, kCtrlShift, 0, kNone, C::SelTextEnd},
            {Qt::Key_Up, kCtrl, 0, kNone, C::ScrollUp},
            {Qt::Key_Down, kCtrl, 0, kNone, C::ScrollDown},
            {Qt::Key_A, kCtrlShift, 0, kNone, C::SelectAll},
            {Qt::Key_C, kCtrl, 0, kNone, C::Copy},
            {Qt::Key_Insert, kCtrl, 0, kNone, C::Copy},
            {Qt::Key_K, kCtrl, Qt::Key_T, kCtrl, C::SelectWord},
            {Qt::Key_Q, kCtrl, Qt::Key_R, kNone, C::TextStart},
            {Qt::Key_Q, kCtrl, Qt::Key_C, kNone, C::TextEnd},
            {Qt::Key_Q, kCtrl, Qt::Key_S, kNone, C::Home},
            {Qt::Key_Q, kCtrl, Qt::Key_D, kNone, C::End},
            {Qt::Key_Q, kCtrl, Qt::Key_E, kNone, C::WindowTop},
            {Qt::Key_Q, kCtrl, Qt::Key_T, kNone, C::WindowTop},
            {Qt::Key_Q, kCtrl, Qt::Key_X, kNone, C::WindowBottom},
            {Qt::Key_Q, kCtrl, Qt::Key_U, kNone, C::WindowBottom},
            {Qt::Key_Tab, kNone, 0, kNone, C::FocusNext},
            {Qt::Key_Backtab, kShift, 0, kNone, C::FocusPrevious},
            {Qt::Key_Tab, kShift, 0, kNone, C::FocusPrevious},
            {Qt::Key_Insert, kNone, 0, kNone, C::ToggleInsert},
            {Qt::Key_R, kCtrlShift, 0, kNone, C::RecordMacro},
            {Qt::Key_P, kCtrlShift, 0, kNone, C::PlayMacro},
        };
        for (int d = 0; d < 10; ++d) {
            const auto set = static_cast<C>(static_cast<int>(C::SetBookmark0) + d);
            const auto go = static_cast<C>(static_cast<int>(C::GotoBookmark0) + d);
            t.push_back({Qt::Key_0 + d, kCtrlShift, 0, kNone, set});
            t.push_back({Qt::Key_0 + d, kCtrl, 0, kNone, go});
            t.push_back({Qt::Key_K, kCtrl, Qt::Key_0 + d, kNone, set});
            t.push_back({Qt::Key_Q, kCtrl, Qt::Key_0 + d, kNone, go});
        }
        // Editing keys exist but do nothing in a read-only viewer.
        for (const auto& [key, mods] :
             std::vector<std::pair<int, Qt::KeyboardModifiers>>{{Qt::Key_Return, kNone},
                                                                {Qt::Key_Enter, kNone},
                                                                {Qt::Key_Backspace, kNone},
                                                                {Qt::Key_Delete, kNone},
                                                                {Qt::Key_Delete, kCtrl},
                                                                {Qt::Key_Y, kCtrl},
                                                                {Qt::Key_T, kCtrl},
                                                                {Qt::Key_X, kCtrl},
                                                                {Qt::Key_V, kCtrl},
                                                                {Qt::Key_Delete, kShift},
                                                                {Qt::Key_Insert, kShift},
                                                                {Qt::Key_Z, kCtrl},
                                                                {Qt::Key_Backspace, kAlt},
                                                                {Qt::Key_Space, kCtrl},
                                                                {Qt::Key_J, kCtrl}})
            t.push_back({key, mods, 0, kNone, C::Nothing});
        return t;
    }();
    for (const KeyBinding& b : table)
        if (b.key == key && b.mods == mods && b.key2 == key2 && (key2 == 0 || b.mods2 == mods2))
            return &b;
    return nullptr;
}

bool TCustomMemoEx::StartsTwoKeyCommand(int key, Qt::KeyboardModifiers mods) {
    return (key == Qt::Key_K || key == Qt::Key_Q) && mods == kCtrl;
}

bool TCustomMemoEx::IsViewerKey(const QKeyEvent* event) const {
    const Qt::KeyboardModifiers mods = event->modifiers() & kModifierMask;
    const int key = mods & kCtrl ? DigitKey(event->key()) : event->key();
    // Replaying claims its key only while there are keystrokes to replay; the
    // window offers its print preview on the same key otherwise.
    if (pendingPrefixKey_ == 0 && mods == kCtrlShift && key == Qt::Key_P && macro_.empty() &&
        !recording_)
        return false;
    return pendingPrefixKey_ != 0 || FindBinding(key, mods, 0, kNone) != nullptr ||
           StartsTwoKeyCommand(key, mods);
}

bool TCustomMemoEx::event(QEvent* event) {
    // Keys the viewer handles must not be taken by the window's shortcuts.
    if (event->type() == QEvent::ShortcutOverride && IsViewerKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

void TCustomMemoEx::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    event->accept();
    if (IsModifierKey(key)) return;
    const Qt::KeyboardModifiers mods = event->modifiers() & kModifierMask;
    const bool macroKey = mods == kCtrlShift && (key == Qt::Key_R || key == Qt::Key_P);
    if (recording_ && !macroKey) macro_.emplace_back(key, mods);
    HandleKey(key, mods);
}

void TCustomMemoEx::HandleKey(int key, Qt::KeyboardModifiers mods) {
    if (mods & kCtrl) key = DigitKey(key);
    if (pendingPrefixKey_ != 0) {
        const KeyBinding* b = FindBinding(pendingPrefixKey_, pendingPrefixMods_, key, mods);
        pendingPrefixKey_ = 0;
        if (b) Execute(b->command);
        return;
    }
    if (const KeyBinding* b = FindBinding(key, mods, 0, kNone)) {
        Execute(b->command);
        return;
    }
    if (StartsTwoKeyCommand(key, mods)) {
        pendingPrefixKey_ = key;
        pendingPrefixMods_ = mods;
    }
    // Typed characters would edit: a read-only viewer ignores them.
}

void TCustomMemoEx::MoveCaret(CellPos to, bool select) {
    if (select) {
        if (!model_.Selected()) StartSelection(model_.Caret());
        SetCaret(to.col, to.row);
        ExtendSelection(model_.Caret());
    } else {
        if (model_.Selected()) ClearSelection();
        SetCaret(to.col, to.row);
    }
}

void TCustomMemoEx::Execute(Command command) {
    using C = Command;
    const int lastLine = lines_.LineCount() - 1;
    const int col = model_.Caret().col;
    const int row = model_.Caret().row;
    const int number = static_cast<int>(command);
    // A move the caret model works out, with or without selecting.
    const auto move = [this](CaretMove how, bool select) {
        if (const std::optional<CellPos> to = model_.MoveTarget(how)) MoveCaret(*to, select);
    };

    if (number >= static_cast<int>(C::SetBookmark0) &&
        number < static_cast<int>(C::GotoBookmark0)) {
        model_.ToggleBookmark(number - static_cast<int>(C::SetBookmark0));
        return;
    }
    if (number >= static_cast<int>(C::GotoBookmark0)) {
        if (const std::optional<CellPos> mark =
                model_.Bookmark(number - static_cast<int>(C::GotoBookmark0)))
            MoveCaret(*mark, false);
        return;
    }

    switch (command) {
    case C::Nothing:
        return;
    case C::Left:
    case C::SelLeft:
        move(CaretMove::Left, command == C::SelLeft);
        return;
    case C::Right:
    case C::SelRight:
        move(CaretMove::Right, command == C::SelRight);
        return;
    case C::Up:
    case C::SelUp:
        move(CaretMove::Up, command == C::SelUp);
        return;
    case C::Down:
    case C::SelDown:
        move(CaretMove::Down, command == C::SelDown);
        return;
    case C::Home:
    case C::SelHome:
        move(CaretMove::Home, command == C::SelHome);
        return;
    case C::End:
    case C::SelEnd:
        move(CaretMove::End, command == C::SelEnd);
        return;
    case C::PageUp:
        move(CaretMove::PageUp, false);
        return;
    case C::PageDown:
        move(CaretMove::PageDown, false);
        return;
    case C::SelPageUp:
    case C::SelPageDown:
        // One repaint at the end instead of one per scrolled row.
        HoldViewLock();
        move(command == C::SelPageUp ? CaretMove::PageUp : CaretMove::PageDown, true);
        ReleaseViewLock();
        return;
    case C::WordLeft:
    case C::SelWordLeft:
        move(CaretMove::WordLeft, command == C::SelWordLeft);
        return;
    case C::WordRight:
    case C::SelWordRight:
        move(CaretMove::WordRight, command == C::SelWordRight);
        return;
    case C::WindowTop:
        move(CaretMove::WindowTop, false);
        return;
    case C::WindowBottom:
        move(CaretMove::WindowBottom, false);
        return;
    case C::TextStart:
    case C::SelTextStart:
        if (command == C::TextStart && model_.Selected()) ClearSelection();
        ScrollToRow(0);
        ScrollToCol(0);
        MoveCaret({0, 0}, command == C::SelTextStart);
        return;
    case C::TextEnd:
    case C::SelTextEnd: {
        if (command == C::TextEnd && model_.Selected()) ClearSelection();
        const int last = std::max(0, lastLine);
        const ScrollTarget view = model_.TextEndView();
        ScrollToCol(*view.leftCol);
        ScrollToRow(*view.topRow);
        MoveCaret({lines_.LineLength(last), last}, command == C::SelTextEnd);
        return;
    }
    case C::ScrollUp:
        ScrollToRow(model_.TopRow() - 1);
        if (row > LastVisibleRow()) SetCaret(col, std::max(0, LastVisibleRow()));
        return;
    case C::ScrollDown:
        if (row == lastLine && row == model_.TopRow()) return;
        ScrollToRow(model_.TopRow() + 1);
        if (row < model_.TopRow()) SetCaret(col, model_.TopRow());
        return;
    case C::SelectAll:
        SelectAll();
        return;
    case C::Copy:
        CopyToClipboard();
        return;
    case C::SelectWord:
        if (!model_.Selected()) SelectWordAtCaret();
        return;
    case C::ToggleInsert:
        insertMode_ = !insertMode_;
        return;
    case C::RecordMacro:
        recording_ = !recording_;
        if (recording_) macro_.clear();
        return;
    case C::PlayMacro:
        if (recording_ || replaying_) return;
        replaying_ = true;
        for (const auto& [key, mods] : macro_)
            HandleKey(key, mods);
        replaying_ = false;
        return;
    case C::FocusNext:
    case C::FocusPrevious:
        focusNextPrevChild(command == C::FocusNext);
        return;
    default:
        return;
    }
}

void TCustomMemoEx::SelectAll() {
    if (model_.Selected()) ClearSelection();
    SetCaret(0, 0);
    const int last = std::max(0, lines_.LineCount() - 1);
    MoveCaret({lines_.LineLength(last), last}, true);
}

void TCustomMemoEx::SelectWordAtCaret() {
    const CellPos caret = model_.Caret();
    const std::optional<std::pair<int, int>> word = model_.WordAt(caret);
    if (!word) return;
    if (model_.Selected()) ClearSelection();
    StartSelection(CellPos{word->first, caret.row});
    SetCaret(word->second, caret.row);
    ExtendSelection(CellPos{word->second, caret.row});
}
