#include "app/FindBar.h"

#include "app/AnchorLayout.h"
#include "platform/CodePages.h"
#include "viewer/MemoEx.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <utility>

namespace {

const char kFindLabel[] = "Hľadať:";
const char kWrappedToStart[] = "Pokračuje sa od začiatku";
const char kWrappedToEnd[] = "Pokračuje sa od konca";
const char kNotFound[] = "Text sa nenašiel";
const char kSearching[] = "Hľadá sa...";
const char kStopped[] = "Hľadanie zastavené";

// Up to this many bytes or lines the search runs on the window's thread: even
// the worst case is over within a few milliseconds. Beyond, it runs beside it.
constexpr std::size_t kBytesFoundAtOnce = std::size_t{8} << 20;
constexpr int kLinesFoundAtOnce = 200000;

bool SmallEnoughToFindAtOnce(const TMemoExStrings& lines) {
    if (lines.LineCount() > kLinesFoundAtOnce) return false;
    std::size_t bytes = 0;
    for (int i = 0; i < lines.LineCount(); ++i) {
        bytes += static_cast<std::size_t>(lines.LineLength(i));
        if (bytes > kBytesFoundAtOnce) return false;
    }
    return true;
}

// Enter in the text finds the next match, Shift+Enter the previous one.
class FindTextEdit : public QLineEdit {
  public:
    FindTextEdit(FindBar* bar, QWidget* parent) : QLineEdit(parent), bar_(bar) {}

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            if (event->modifiers() & Qt::ShiftModifier)
                bar_->FindPrevious();
            else
                bar_->FindNext();
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

  private:
    FindBar* bar_;
};

QToolButton* MakeToolButton(QWidget* parent, const char* name) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

FindBar::FindBar(TCustomMemoEx* viewer, AnchorLayout* layout)
    : QWidget(viewer->parentWidget()), viewer_(viewer), layout_(layout),
      viewerRect_(layout->DesignRect(viewer)) {
    setObjectName("FindBar");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(4);

    auto* label = new QLabel(QString::fromUtf8(kFindLabel), this);
    text_ = new FindTextEdit(this, this);
    text_->setObjectName("FindText");
    label->setBuddy(text_);
    previous_ = MakeToolButton(this, "FindPrevious");
    previous_->setArrowType(Qt::UpArrow);
    next_ = MakeToolButton(this, "FindNext");
    next_->setArrowType(Qt::DownArrow);
    matchCase_ = new QCheckBox(QString::fromUtf8("Rozlišovať veľkosť písmen"), this);
    matchCase_->setObjectName("FindMatchCase");
    matchCase_->setFocusPolicy(Qt::NoFocus);
    notice_ = new QLabel(this);
    notice_->setObjectName("FindNotice");
    closeButton_ = MakeToolButton(this, "FindClose");
    closeButton_->setText(QString::fromUtf8("×"));

    row->addWidget(label);
    row->addWidget(text_, 3);
    row->addWidget(previous_);
    row->addWidget(next_);
    row->addWidget(matchCase_);
    row->addWidget(notice_, 2);
    row->addWidget(closeButton_);

    connect(next_, &QToolButton::clicked, this, &FindBar::FindNext);
    connect(previous_, &QToolButton::clicked, this, &FindBar::FindPrevious);
    connect(closeButton_, &QToolButton::clicked, this, &FindBar::Close);
    connect(text_, &QLineEdit::textEdited, this, [this] { ShowNotice({}); });
    connect(matchCase_, &QCheckBox::toggled, this, [this] { ShowNotice({}); });

    const QRect barRect(viewerRect_.left(), viewerRect_.bottom() + 1 - kHeight, viewerRect_.width(),
                        kHeight);
    layout_->Place(this, barRect, anchors::kLeft | anchors::kRight | anchors::kBottom);
    hide();
}

FindBar::~FindBar() {
    CancelSearch();
}

void FindBar::Reveal() {
    if (IsOpen()) return;
    layout_->Reshape(viewer_, viewerRect_.adjusted(0, 0, 0, -kHeight));
    show();
    raise();
}

void FindBar::Open() {
    Reveal();
    text_->selectAll();
    text_->setFocus(Qt::ShortcutFocusReason);
}

void FindBar::Close() {
    CancelSearch();
    if (IsOpen()) {
        hide();
        layout_->Reshape(viewer_, viewerRect_);
    }
    ShowNotice({});
    viewer_->setFocus(Qt::OtherFocusReason);
}

void FindBar::UseText(const QString& text, bool matchCase) {
    CancelSearch();
    text_->setText(text);
    matchCase_->setChecked(matchCase);
    ShowNotice({});
}

void FindBar::FindNext() {
    Find(SearchDirection::Forward);
}

void FindBar::FindPrevious() {
    Find(SearchDirection::Backward);
}

void FindBar::Find(SearchDirection direction) {
    CancelSearch();
    auto search = std::make_shared<const TextSearch>(
        text_->text().toStdU16String(), matchCase_->isChecked(), platform::OemDisplayTable());
    if (search->Empty()) {
        Open();
        return;
    }
    const bool forward = direction == SearchDirection::Forward;
    const CellPos caret{viewer_->CaretX(), viewer_->CaretY()};
    const CellPos from =
        viewer_->SelAvail() ? (forward ? viewer_->SelEnd() : viewer_->SelBegin()) : caret;
    const TextPoint point{from.row, from.col};
    const TMemoExStrings& lines = viewer_->Lines();
    if (SmallEnoughToFindAtOnce(lines)) {
        ShowResult(search->Find(lines, point, direction), direction);
        return;
    }
    // The window goes on while the search runs; the result comes back through
    // the window's event queue. The lines do not change meanwhile: the text
    // is loaded only after CancelSearch.
    stop_ = std::make_shared<std::atomic<bool>>(false);
    const int generation = ++generation_;
    worker_ = std::thread([this, search, &lines, point, direction, stop = stop_, generation] {
        const FindResult found = search->Find(lines, point, direction, stop.get());
        QMetaObject::invokeMethod(
            this,
            [this, generation, found, direction] { SearchEnded(generation, found, direction); },
            Qt::QueuedConnection);
    });
    ShowNotice(QString::fromUtf8(kSearching));
}

void FindBar::SearchEnded(int generation, const FindResult& found, SearchDirection direction) {
    // A search stopped before its result arrived has already been told.
    if (generation != generation_ || !worker_.joinable()) return;
    worker_.join();
    ShowResult(found, direction);
}

void FindBar::CancelSearch() {
    if (!worker_.joinable()) return;
    stop_->store(true);
    worker_.join();
    ++generation_;
    if (notice_->text() == QString::fromUtf8(kSearching)) notice_->clear();
}

void FindBar::StopSearch() {
    if (!Searching()) return;
    CancelSearch();
    ShowNotice(QString::fromUtf8(kStopped));
}

void FindBar::ShowResult(const FindResult& found, SearchDirection direction) {
    const bool forward = direction == SearchDirection::Forward;
    if (found.stopped) {
        ShowNotice(QString::fromUtf8(kStopped));
        return;
    }
    if (!found.match) {
        ShowNotice(QString::fromUtf8(kNotFound));
        return;
    }
    const TextMatch& match = *found.match;
    viewer_->SelectCells(CellPos{match.begin.col, match.begin.line},
                         CellPos{match.begin.col + match.length, match.begin.line});
    ShowNotice(found.wrapped ? QString::fromUtf8(forward ? kWrappedToStart : kWrappedToEnd)
                             : QString());
}

void FindBar::ShowNotice(const QString& text) {
    notice_->setText(text);
    // F3 with the bar closed still tells that the search wrapped or found nothing;
    // the focus stays where it is.
    if (!text.isEmpty()) Reveal();
}
