#include "viewer/MemoExStrings.h"

#include "platform/Files.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <sys/stat.h>

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

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Every TAB becomes exactly `tabSize` spaces wherever it stands; 0 removes it.
std::string ExpandTabs(std::string text, int tabSize) {
    std::size_t tabs = 0;
    for (char c : text)
        tabs += c == '\t';
    if (tabs == 0) return text;
    std::string out;
    out.reserve(text.size() - tabs + tabs * static_cast<std::size_t>(tabSize));
    for (char c : text) {
        if (c == '\t')
            out.append(static_cast<std::size_t>(tabSize), ' ');
        else
            out.push_back(c);
    }
    return out;
}

// The text ends at its first NUL byte.
std::size_t TextEnd(std::string_view text) {
    const void* nul = std::memchr(text.data(), 0, text.size());
    return nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text.data())
               : text.size();
}

// Walks the lines of a text without NUL: a line runs to the next CR or LF, then
// one CR and one LF are skipped, so CR LF, a lone CR and a lone LF each end one
// line and LF CR ends two. A break at the very end starts no further line.
template <typename Visit> void ForEachLine(std::string_view text, Visit visit) {
    const char* data = text.data();
    const std::size_t size = text.size();
    std::size_t pos = 0;
    while (pos < size) {
        const std::size_t start = pos;
        while (pos < size && data[pos] != '\r' && data[pos] != '\n')
            ++pos;
        visit(start, pos - start);
        if (pos < size && data[pos] == '\r') ++pos;
        if (pos < size && data[pos] == '\n') ++pos;
    }
}

} // namespace

std::string_view TMemoExStrings::LineAt(int index) const {
    if (index < 0 || index >= LineCount()) return {};
    const LineSpan& span = lines_[static_cast<std::size_t>(index)];
    return std::string_view(buffer_).substr(static_cast<std::size_t>(span.offset),
                                            static_cast<std::size_t>(span.length));
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
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(resolved.c_str(), "rb"));
    if (!file) {
        const std::string reason = std::strerror(errno);
        std::error_code ec;
        std::filesystem::path full = std::filesystem::absolute(resolved, ec);
        if (ec) full = resolved;
        throw EStringListError("Cannot open file \"" + full.string() + "\". " + reason);
    }
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode))
        throw EStringListError("Stream read error");
    std::string data(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t got = 0;
    while (got < data.size()) {
        const std::size_t n = std::fread(data.data() + got, 1, data.size() - got, file.get());
        if (n == 0) break;
        got += n;
    }
    if (std::ferror(file.get())) throw EStringListError("Stream read error");
    // A file that shrank while being read keeps what was there.
    data.resize(got);
    file.reset();

    const std::size_t end = TextEnd(data);
    data.resize(end);
    // A NUL early in a big file leaves most of the buffer unused: give it back.
    if (end < data.capacity() / 2) data.shrink_to_fit();
    data = ExpandTabs(std::move(data), tabSize_);

    ClearLines();
    buffer_ = std::move(data);
    std::size_t count = 0;
    ForEachLine(buffer_, [&](std::size_t, std::size_t) { ++count; });
    if (count > static_cast<std::size_t>(INT_MAX - 1)) {
        buffer_.clear();
        buffer_.shrink_to_fit();
        throw EStringListError("Cannot open file \"" + resolved.string() + "\". Too many lines.");
    }
    lines_.reserve(count);
    AppendSplit(0, buffer_.size());

    if (OnAfterLoad) OnAfterLoad();
}

void TMemoExStrings::AppendSplit(std::size_t base, std::size_t size) {
    std::string_view text = std::string_view(buffer_).substr(base, size);
    ForEachLine(text, [&](std::size_t start, std::size_t length) {
        AppendSpan(LineSpan{static_cast<std::int64_t>(base + start),
                            static_cast<std::int32_t>(std::min<std::size_t>(length, INT_MAX - 1))});
    });
}

void TMemoExStrings::AppendSpan(LineSpan span) {
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
        buffer_ = std::move(data);
        AppendSplit(0, buffer_.size());
    }
}

void TMemoExStrings::ClearLines() {
    const bool wasEmpty = lines_.empty();
    lines_.clear();
    lines_.shrink_to_fit();
    buffer_.clear();
    buffer_.shrink_to_fit();
    if (!wasEmpty) Changed(ChangeKind::Edit);
}

std::vector<TMemoExStrings::LineSpan> TMemoExStrings::SplitForInsert(std::string_view text) {
    text = text.substr(0, TextEnd(text));
    const std::string expanded = ExpandTabs(std::string(text), tabSize_);
    const std::size_t base = buffer_.size();
    buffer_ += expanded;

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
    std::vector<LineSpan> spans = SplitForInsert(text);
    for (std::size_t i = 0; i < spans.size(); ++i) {
        Reserve();
        lines_.insert(lines_.begin() + index + static_cast<std::ptrdiff_t>(i), spans[i]);
        if (spans[i].length >= maxLineLength_) maxLineLength_ = spans[i].length + 1;
    }
    Changed(ChangeKind::Edit);
}

void TMemoExStrings::ReplaceLine(int index, std::string_view text) {
    CheckIndex(index, LineCount() - 1);
    // A text with line breaks replaces the line by its first piece and inserts the
    // others after it, so no stored line ever holds a break.
    std::vector<LineSpan> spans = SplitForInsert(text);
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
