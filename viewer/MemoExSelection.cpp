#include "viewer/MemoEx.h"

#include "platform/CodePages.h"

#include <QApplication>
#include <QClipboard>
#include <QString>

#include <algorithm>
#include <new>
#include <optional>
#include <stdexcept>

void TCustomMemoEx::StartSelection(CellPos at) {
    if (model_.Selected()) ClearSelection();
    model_.StartSelection(at);
}

void TCustomMemoEx::ExtendSelection(CellPos to) {
    const CellPos oldBegin = model_.SelBegin();
    const CellPos oldEnd = model_.SelEnd();
    model_.ExtendSelection(to);
    const CellPos begin = model_.SelBegin();
    const CellPos end = model_.SelEnd();
    // Only the rows whose highlight changed are painted again.
    if (!(oldBegin == begin))
        UpdateRows(std::min(oldBegin.row, begin.row), std::max(oldBegin.row, begin.row));
    if (!(oldEnd == end)) UpdateRows(std::min(oldEnd.row, end.row), std::max(oldEnd.row, end.row));
    if (OnSelectionChange) OnSelectionChange(this);
}

void TCustomMemoEx::ClearSelection() {
    if (!model_.ClearSelection()) return;
    UpdateRows(model_.SelBegin().row, model_.SelEnd().row);
    if (OnSelectionChange) OnSelectionChange(this);
}

std::optional<TextSpan> TCustomMemoEx::SelectedSpan() const {
    bool outside = false;
    const std::optional<TextSpan> span = model_.SelectedSpan(&outside);
    if (outside) QApplication::beep();
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
