#include "viewer/MemoExStrings.h"

#include "platform/Assert.h"
#include "platform/Files.h"
#include "viewer/FileHandle.h"
#include "viewer/LineScan.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Holds the store's update lock for one load or whole-text replacement, and
// releases it also when the work throws.
class UpdateGuard {
  public:
    explicit UpdateGuard(TMemoExStrings& store) : store_(store) { store_.BeginUpdate(); }
    ~UpdateGuard() { store_.EndUpdate(); }
    UpdateGuard(const UpdateGuard&) = delete;
    UpdateGuard& operator=(const UpdateGuard&) = delete;

  private:
    TMemoExStrings& store_;
};

// Bytes read from the file at a time, straight into the text's final buffer, so
// tab expansion works on data still in the cache and never needs a second copy.
constexpr std::size_t kReadChunk = 1 << 20;

// Every TAB becomes exactly `tabSize` spaces wherever it stands; 0 removes it.
std::string ExpandTabs(std::string text, int tabSize) {
    const std::size_t tabs = linescan::CountTabs(text.data(), text.size());
    if (tabs == 0) return text;
    const std::size_t size = text.size();
    if (tabSize > 1) text.resize(size + tabs * static_cast<std::size_t>(tabSize - 1));
    text.resize(linescan::ExpandTabsInPlace(text.data(), size, tabs, tabSize));
    return text;
}

// The text ends at its first NUL byte.
std::size_t TextEnd(std::string_view text) {
    const void* nul = std::memchr(text.data(), 0, text.size());
    return nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text.data())
               : text.size();
}

// Reads up to `size` bytes of an open file into `text`: the text ends at the
// first NUL and every TAB is expanded as the bytes arrive, one chunk at a time.
void ReadText(int fd, std::size_t size, int tabSize, TextBuffer& text) {
    text.Reserve(size);
    std::size_t remaining = size;
    while (remaining > 0) {
        const std::size_t want = std::min(kReadChunk, remaining);
        text.ReserveMore(want);
        char* chunk = text.Data() + text.Size();
        ssize_t got;
        do {
            got = ::read(fd, chunk, want);
        } while (got < 0 && errno == EINTR);
        if (got < 0) throw EStringListError("Stream read error");
        // A file that shrank while being read keeps what was there.
        if (got == 0) break;
        remaining -= static_cast<std::size_t>(got);
        std::size_t length = static_cast<std::size_t>(got);
        const char* nul = static_cast<const char*>(std::memchr(chunk, 0, length));
        if (nul) length = static_cast<std::size_t>(nul - chunk);
        const std::size_t tabs = linescan::CountTabs(chunk, length);
        if (tabs > 0 && tabSize > 1) {
            // Room for this chunk's spaces and, guessed from its tabs, the rest's.
            const std::size_t extra = tabs * static_cast<std::size_t>(tabSize - 1);
            const std::size_t ahead = nul ? 0 : remaining + remaining / length * extra;
            text.ReserveMore(length + extra + ahead);
            chunk = text.Data() + text.Size();
        }
        text.SetSize(text.Size() + linescan::ExpandTabsInPlace(chunk, length, tabs, tabSize));
        if (nul) break;
    }
    text.ShrinkToFit();
}

} // namespace

std::string_view TMemoExStrings::LineAt(int index) const {
    if (index < 0 || index >= LineCount()) return {};
    const LineSpan& span = lines_[static_cast<std::size_t>(index)];
    TLACSUB_ASSERT(InBuffer(span));
    return std::string_view(buffer_.Data() + span.offset, static_cast<std::size_t>(span.length));
}

int TMemoExStrings::LineLength(int index) const {
    if (index < 0 || index >= LineCount()) return 0;
    return lines_[static_cast<std::size_t>(index)].length;
}

std::string TMemoExStrings::FullText() const {
    std::size_t size = 0;
    for (const LineSpan& span : lines_)
        size += static_cast<std::size_t>(span.length) + 2;
    std::string out;
    out.reserve(size);
    for (int i = 0; i < LineCount(); ++i) {
        out += LineAt(i);
        out += "\r\n";
    }
    return out;
}

void TMemoExStrings::LoadFile(const std::string& path) {
    UpdateGuard lock(*this);
    pendingKind_ = ChangeKind::Load;

    const std::filesystem::path resolved = platform::ResolveHostPath(path);
    FileHandle file(::open(resolved.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) {
        const std::string reason = std::strerror(errno);
        std::error_code ec;
        std::filesystem::path full = std::filesystem::absolute(resolved, ec);
        if (ec) full = resolved;
        throw EStringListError("Cannot open file \"" + full.string() + "\". " + reason);
    }
    struct stat info {};
    if (fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        throw EStringListError("Stream read error");
    TextBuffer data;
    ReadText(file.Get(), static_cast<std::size_t>(info.st_size), tabSize_, data);

    ClearLines();
    buffer_ = std::move(data);
    std::size_t count = 0;
    linescan::ForEachLine(buffer_.View(), [&](std::size_t, std::size_t) { ++count; });
    if (count > static_cast<std::size_t>(INT_MAX - 1)) {
        buffer_.Release();
        throw EStringListError("Cannot open file \"" + resolved.string() + "\". Too many lines.");
    }
    lines_.reserve(count);
    AppendSplit(0, buffer_.Size());

    if (OnAfterLoad) OnAfterLoad();
}

void TMemoExStrings::AppendSplit(std::size_t base, std::size_t size) {
    std::string_view text = buffer_.View().substr(base, size);
    // The split lines follow each other with only their breaks between, so they
    // extend the stretch when it reaches them; a line cut short ends it.
    bool extends = linesInOneStretch_ == LineCount();
    linescan::ForEachLine(text, [&](std::size_t start, std::size_t length) {
        const std::size_t kept = std::min<std::size_t>(length, INT_MAX - 1);
        AppendSpan(
            LineSpan{static_cast<std::int64_t>(base + start), static_cast<std::int32_t>(kept)});
        extends = extends && kept == length;
        if (extends) ++linesInOneStretch_;
    });
}

void TMemoExStrings::AppendSpan(LineSpan span) {
    TLACSUB_ASSERT(InBuffer(span));
    Reserve();
    lines_.push_back(span);
    if (span.length >= maxLineLength_) maxLineLength_ = span.length + 1;
}

void TMemoExStrings::Reserve() {
    const std::size_t capacity = lines_.capacity();
    if (lines_.size() < capacity) return;
    const std::size_t grow = capacity > 64 ? capacity / 4 : capacity > 8 ? 16 : 4;
    lines_.reserve(capacity + grow);
}

void TMemoExStrings::SetFullText(std::string_view text) {
    {
        UpdateGuard lock(*this);
        pendingKind_ = ChangeKind::FullText;
        std::string data(text.substr(0, TextEnd(text)));
        data = ExpandTabs(std::move(data), tabSize_);
        ClearLines();
        buffer_.Append(data);
        AppendSplit(0, buffer_.Size());
    }
}

void TMemoExStrings::ClearLines() {
    const bool wasEmpty = lines_.empty();
    lines_.clear();
    lines_.shrink_to_fit();
    linesInOneStretch_ = 0;
    buffer_.Release();
    if (!wasEmpty) Changed(ChangeKind::Edit);
}

std::vector<TMemoExStrings::LineSpan> TMemoExStrings::SplitForInsert(std::string_view text) {
    text = text.substr(0, TextEnd(text));
    const std::string expanded = ExpandTabs(std::string(text), tabSize_);
    const std::size_t base = buffer_.Size();
    buffer_.Append(expanded);

    std::vector<LineSpan> spans;
    const std::string_view all(expanded);
    std::size_t pos = 0;
    bool first = true;
    while (pos < all.size() || first) {
        const std::size_t start = pos;
        while (pos < all.size() && all[pos] != '\r' && all[pos] != '\n')
            ++pos;
        spans.push_back(
            LineSpan{static_cast<std::int64_t>(base + start),
                     static_cast<std::int32_t>(std::min<std::size_t>(pos - start, INT_MAX - 1))});
        // A run of CR and LF bytes of any length is one break.
        while (pos < all.size() && (all[pos] == '\r' || all[pos] == '\n'))
            ++pos;
        first = false;
    }
    return spans;
}

void TMemoExStrings::AddLine(std::string_view text) {
    for (const LineSpan& span : SplitForInsert(text))
        AppendSpan(span);
    Changed(ChangeKind::Edit);
}

void TMemoExStrings::CheckIndex(int index, int limit) const {
    if (index < 0 || index > limit)
        throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TMemoExStrings::InsertLine(int index, std::string_view text) {
    CheckIndex(index, LineCount());
    linesInOneStretch_ = std::min(linesInOneStretch_, index);
    std::vector<LineSpan> spans = SplitForInsert(text);
    for (std::size_t i = 0; i < spans.size(); ++i) {
        TLACSUB_ASSERT(InBuffer(spans[i]));
        Reserve();
        lines_.insert(lines_.begin() + index + static_cast<std::ptrdiff_t>(i), spans[i]);
        if (spans[i].length >= maxLineLength_) maxLineLength_ = spans[i].length + 1;
    }
    Changed(ChangeKind::Edit);
}

void TMemoExStrings::ReplaceLine(int index, std::string_view text) {
    CheckIndex(index, LineCount() - 1);
    linesInOneStretch_ = std::min(linesInOneStretch_, index);
    // A text with line breaks replaces the line by its first piece and inserts the
    // others after it, so no stored line ever holds a break.
    std::vector<LineSpan> spans = SplitForInsert(text);
    TLACSUB_ASSERT(!spans.empty() && InBuffer(spans.back()));
    lines_[static_cast<std::size_t>(index)] = spans[0];
    if (spans[0].length >= maxLineLength_) maxLineLength_ = spans[0].length + 1;
    for (std::size_t i = 1; i < spans.size(); ++i) {
        Reserve();
        lines_.insert(lines_.begin() + index + static_cast<std::ptrdiff_t>(i), spans[i]);
        if (spans[i].length >= maxLineLength_) maxLineLength_ = spans[i].length + 1;
    }
    Changed(ChangeKind::Edit);
}

void TMemoExStrings::DeleteLine(int index) {
    CheckIndex(index, LineCount() - 1);
    linesInOneStretch_ = std::min(linesInOneStretch_, index);
    lines_.erase(lines_.begin() + index);
    Changed(ChangeKind::Edit);
}

void TMemoExStrings::EndUpdate() {
    if (updateLock_ == 0) return;
    if (--updateLock_ > 0) return;
    const ChangeKind kind = pendingKind_;
    pendingKind_ = ChangeKind::Edit;
    if (OnTextChanged) OnTextChanged(kind);
}

void TMemoExStrings::Changed(ChangeKind kind) {
    if (updateLock_ > 0) return;
    if (OnTextChanged) OnTextChanged(kind);
}

void TMemoExStrings::CheckInvariants() const {
    TLACSUB_ASSERT(maxLineLength_ >= 512);
    TLACSUB_ASSERT(linesInOneStretch_ >= 0 && linesInOneStretch_ <= LineCount());
    for (int i = 1; i < linesInOneStretch_; ++i) {
        const LineSpan& before = lines_[static_cast<std::size_t>(i - 1)];
        const LineSpan& after = lines_[static_cast<std::size_t>(i)];
        const std::int64_t end = before.offset + before.length;
        TLACSUB_ASSERT(after.offset - end >= 1 && after.offset - end <= 2);
        for (std::int64_t at = end; at < after.offset; ++at)
            TLACSUB_ASSERT(buffer_.Data()[at] == '\r' || buffer_.Data()[at] == '\n');
    }
    for (const LineSpan& span : lines_) {
        TLACSUB_ASSERT(InBuffer(span));
        TLACSUB_ASSERT(span.length < maxLineLength_);
        const std::string_view line(buffer_.Data() + span.offset,
                                    static_cast<std::size_t>(span.length));
        TLACSUB_ASSERT(line.find_first_of(std::string_view("\r\n\0\t", 4)) ==
                       std::string_view::npos);
    }
}
