#include "viewer/MemoEx.h"

#include "platform/CodePages.h"

#include <QApplication>
#include <QClipboard>
#include <QString>

#include <algorithm>
#include <optional>

void TCustomMemoEx::StartSelection(TCellPos at) {
    if (selected_) ClearSelection();
    at.col = std::max(0, at.col);
    at.row = std::max(0, at.row);
    anchor_ = selBegin_ = selEnd_ = at;
    selected_ = true;
}

void TCustomMemoEx::ExtendSelection(TCellPos to) {
    to.col = std::max(0, to.col);
    to.row = std::max(0, to.row);
    const TCellPos oldBegin = selBegin_;
    const TCellPos oldEnd = selEnd_;
    if (to.row < anchor_.row || (to.row == anchor_.row && to.col <= anchor_.col)) {
        selBegin_ = to;
        selEnd_ = anchor_;
    } else {
        selBegin_ = anchor_;
        selEnd_ = to;
    }
    selected_ = true;
    // Only the rows whose highlight changed are painted again.
    if (!(oldBegin == selBegin_))
        UpdateRows(std::min(oldBegin.row, selBegin_.row), std::max(oldBegin.row, selBegin_.row));
    if (!(oldEnd == selEnd_))
        UpdateRows(std::min(oldEnd.row, selEnd_.row), std::max(oldEnd.row, selEnd_.row));
    if (OnSelectionChange) OnSelectionChange(this);
}

void TCustomMemoEx::ClearSelection() {
    if (!selected_) return;
    selected_ = false;
    UpdateRows(selBegin_.row, selEnd_.row);
    if (OnSelectionChange) OnSelectionChange(this);
}

std::string TCustomMemoEx::SelectedText() const {
    if (!selected_) return {};
    const int count = lines_.LineCount();
    if (selBegin_.row < 0 || selBegin_.row >= count || selEnd_.row < 0 || selEnd_.row >= count) {
        QApplication::beep();
        return {};
    }
    const int beginCol = std::min(selBegin_.col, lines_.LineLength(selBegin_.row));
    const int endCol = std::min(selEnd_.col, lines_.LineLength(selEnd_.row));
    if (selBegin_.row == selEnd_.row && beginCol >= endCol) return {};

    // The lines joined by CR LF, cut at both cells; built from the lines alone
    // so a selection in a huge file does not copy the whole text first.
    std::string out;
    if (selBegin_.row == selEnd_.row)
        return std::string(lines_.LineAt(selBegin_.row)
                               .substr(static_cast<std::size_t>(beginCol),
                                       static_cast<std::size_t>(endCol - beginCol)));
    out += lines_.LineAt(selBegin_.row).substr(static_cast<std::size_t>(beginCol));
    out += "\r\n";
    for (int row = selBegin_.row + 1; row < selEnd_.row; ++row) {
        out += lines_.LineAt(row);
        out += "\r\n";
    }
    out += lines_.LineAt(selEnd_.row).substr(0, static_cast<std::size_t>(endCol));
    return out;
}

void TCustomMemoEx::CopyToClipboard() {
    const std::string text = SelectedText();
    if (text.empty()) return;
    // The screen shows OEM bytes; the clipboard gets the same characters. Going
    // through the ANSI code page instead would turn box drawing, which it lacks,
    // into control characters; that path serves only an OEM page ICU cannot read.
    std::optional<std::u16string> unicode =
        platform::CodePageToUtf16(platform::OemCodePage(), text);
    if (!unicode) unicode = platform::AnsiToUtf16(platform::OemToAnsi(text));
    QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard) return;
    clipboard->setText(QString::fromStdU16String(*unicode));
}
