#pragma once
// The viewer's line store: a print file as a list of byte-string lines in the
// file's own (OEM) code page. No Qt here, so the print job and the tests use it
// without a display.
//
// All line bytes live in one buffer and each line is an offset and a length in
// it, so a file of several hundred megabytes costs little more than its size:
// the file is read in chunks straight into that buffer, tabs expanded on the way.

#include "viewer/TextBuffer.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Raised by the store for an open failure and for a line index out of range.
class EStringListError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class TMemoExStrings {
  public:
    // Why the text changed, so the viewer can do the extra work a whole-text
    // replacement asks for (caret back to the start).
    enum class ChangeKind { Edit, Load, FullText };

    TMemoExStrings() = default;
    TMemoExStrings(const TMemoExStrings&) = delete;
    TMemoExStrings& operator=(const TMemoExStrings&) = delete;

    // Replaces the whole content by the file's text. On an open failure the old
    // lines stay and EStringListError carries "Cannot open file "%s". %s".
    void LoadFile(const std::string& path);

    int LineCount() const { return static_cast<int>(lines_.size()); }
    // The line's bytes; empty for an index out of range. Valid until the next change.
    std::string_view LineAt(int index) const;
    int LineLength(int index) const;
    // Lines 0 to this count - 1 lie in order in one stretch of memory, each
    // followed by nothing but its one or two break bytes, as a loaded text's
    // lines do until an edit: a search can take them as one run of bytes.
    int LinesInOneStretch() const { return linesInOneStretch_; }

    // Every line followed by CR LF, the last one too.
    std::string FullText() const;
    // Replaces the content by a text split as a loaded file is.
    void SetFullText(std::string_view text);

    void ClearLines();
    // A text holding CR or LF becomes several lines (a run of breaks counts as
    // one); the empty text adds one empty line.
    void AddLine(std::string_view text);
    void InsertLine(int index, std::string_view text);
    void ReplaceLine(int index, std::string_view text);
    void DeleteLine(int index);

    int Capacity() const { return static_cast<int>(lines_.capacity()); }
    // One row per line: this viewer never wraps.
    int DisplayRowCount() const { return LineCount(); }

    // Longer than the longest line ever loaded, at least 512; it never shrinks.
    int MaxLineLength() const { return maxLineLength_; }

    int TabSize() const { return tabSize_; }
    void SetTabSize(int size) { tabSize_ = size < 0 ? 0 : size; }

    // While the lock is held, changes send no notification; releasing it to zero
    // sends one.
    void BeginUpdate() { ++updateLock_; }
    void EndUpdate();
    bool IsUpdating() const { return updateLock_ > 0; }

    // Walks every line and stops the program when one no longer lies inside the
    // text buffer, holds a line break, a NUL or a TAB, is longer than
    // MaxLineLength says, or breaks the stretch LinesInOneStretch promises. For tests and fuzzers:
    // it reads the whole text.
    void CheckInvariants() const;

    // The viewer's hook for every text change seen with the lock at zero.
    std::function<void(ChangeKind)> OnTextChanged;
    // Raised after a file was read.
    std::function<void()> OnAfterLoad;

  private:
    // Twelve bytes a line: packed, since a big print file has millions of them.
#pragma pack(push, 4)
    struct LineSpan {
        std::int64_t offset;
        std::int32_t length;
    };
#pragma pack(pop)

    // Splits `text` (already without tabs) into lines and appends them, ending
    // at the first NUL; the spans point into `buffer_` starting at `base`.
    void AppendSplit(std::size_t base, std::size_t size);
    void AppendSpan(LineSpan span);
    std::vector<LineSpan> SplitForInsert(std::string_view text);
    void Reserve();
    void Changed(ChangeKind kind);
    void CheckIndex(int index, int limit) const;
    // A span a line is about to get, or has, lies inside the buffer.
    bool InBuffer(const LineSpan& span) const {
        return span.offset >= 0 && span.length >= 0 &&
               static_cast<std::uint64_t>(span.offset) + static_cast<std::uint64_t>(span.length) <=
                   buffer_.Size();
    }

    TextBuffer buffer_;
    std::vector<LineSpan> lines_;
    int linesInOneStretch_ = 0;
    int maxLineLength_ = 512;
    int tabSize_ = 4;
    int updateLock_ = 0;
    ChangeKind pendingKind_ = ChangeKind::Edit;
};
