#include "viewer/MemoEx.h"

#include "platform/CodePages.h"

#include <QApplication>
#include <QClipboard>
#include <QString>

#include <algorithm>
#include <new>
#include <optional>
#include <stdexcept>

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

std::optional<TCustomMemoEx::TextSpan> TCustomMemoEx::SelectedSpan() const {
    if (!selected_) return std::nullopt;
    const int count = lines_.LineCount();
    if (selBegin_.row < 0 || selBegin_.row >= count || selEnd_.row < 0 || selEnd_.row >= count) {
        QApplication::beep();
        return std::nullopt;
    }
    const TextSpan span{selBegin_.row, std::min(selBegin_.col, lines_.LineLength(selBegin_.row)),
                        selEnd_.row, std::min(selEnd_.col, lines_.LineLength(selEnd_.row))};
    if (span.beginRow == span.endRow && span.beginCol >= span.endCol) return std::nullopt;
    return span;
}

void TCustomMemoEx::ForEachPiece(const TextSpan& span,
                                 const std::function<void(std::string_view)>& piece) const {
    // The lines joined by CR LF, cut at both cells; taken from the lines
    // themselves so a selection in a huge file is not copied first.
    const auto col = [](int c) { return static_cast<std::size_t>(c); };
    if (span.beginRow == span.endRow) {
        piece(lines_.LineAt(span.beginRow)
                  .substr(col(span.beginCol), col(span.endCol - span.beginCol)));
        return;
    }
    piece(lines_.LineAt(span.beginRow).substr(col(span.beginCol)));
    piece("\r\n");
    for (int row = span.beginRow + 1; row < span.endRow; ++row) {
        piece(lines_.LineAt(row));
        piece("\r\n");
    }
    piece(lines_.LineAt(span.endRow).substr(0, col(span.endCol)));
}

std::string TCustomMemoEx::SelectedText() const {
    const std::optional<TextSpan> span = SelectedSpan();
    if (!span) return {};
    std::string out;
    ForEachPiece(*span, [&out](std::string_view piece) { out += piece; });
    return out;
}

namespace {

constexpr char kTooLargeForClipboard[] =
    "Označený text je pre schránku príliš veľký. Obsah schránky sa nezmenil.";
constexpr char kNoMemoryForCopy[] =
    "Na skopírovanie označeného textu nie je dosť pamäte. Obsah schránky sa nezmenil.";

} // namespace

void TCustomMemoEx::CopyToClipboard() {
    const std::optional<TextSpan> span = SelectedSpan();
    if (!span) return;
    QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard) return;
    std::int64_t length = 0;
    ForEachPiece(*span, [&length](std::string_view piece) {
        length += static_cast<std::int64_t>(piece.size());
    });
    if (length > clipboardCapacity_) throw std::runtime_error(kTooLargeForClipboard);
    // The screen shows OEM bytes; the clipboard gets the same characters, the
    // text built once in its final form. Going through the ANSI code page
    // instead would turn box drawing, which it lacks, into '?'; that path
    // serves only an OEM page ICU cannot read.
    QString text;
    try {
        if (const char16_t* table = platform::SingleByteTable(platform::OemCodePage())) {
            text = QString(static_cast<qsizetype>(length), Qt::Uninitialized);
            QChar* out = text.data();
            ForEachPiece(*span, [&out, table](std::string_view piece) {
                for (char byte : piece)
                    *out++ = QChar(table[static_cast<unsigned char>(byte)]);
            });
        } else {
            const std::string bytes = SelectedText();
            std::optional<std::u16string> unicode =
                platform::CodePageToUtf16(platform::OemCodePage(), bytes);
            if (!unicode) unicode = platform::AnsiToUtf16(platform::OemToAnsi(bytes));
            text = QString::fromStdU16String(*unicode);
        }
    } catch (const std::bad_alloc&) {
        throw std::runtime_error(kNoMemoryForCopy);
    } catch (const std::length_error&) {
        throw std::runtime_error(kNoMemoryForCopy);
    }
    clipboard->setText(text);
}
