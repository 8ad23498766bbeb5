#include "app/SearchPane.h"

#include "platform/CodePages.h"
#include "platform/Locale.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

const char kShownSource[] = "Zvolený zdroj";
const char kEveryMonth[] = "Všetky mesiace";
const char kSearching[] = "Hľadá sa...";
const char kStopped[] = "Hľadanie zastavené";
const char kNotFound[] = "Text sa nenašiel";

// How often the pane takes what the search found: the first result shows
// within a blink of being found.
constexpr int kPollMilliseconds = 25;

enum Column { kSourceColumn, kNazovColumn, kPopisColumn, kDateColumn, kLineColumn, kTextColumn };
// Where the match is in the text column: its first character and its length.
constexpr int kMatchStartRole = Qt::UserRole + 1;
constexpr int kMatchLengthRole = Qt::UserRole + 2;

// The line's text with the match on the highlight's colours.
class MatchDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        const QString text = plain.text;
        plain.text.clear();
        QStyledItemDelegate::paint(painter, plain, index);

        const int start = index.data(kMatchStartRole).toInt();
        const int length = index.data(kMatchLengthRole).toInt();
        const QRect area = option.rect.adjusted(3, 0, -3, 0);
        const QFontMetrics metrics(plain.font);
        const bool selected = option.state & QStyle::State_Selected;
        const QColor ink =
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        painter->save();
        painter->setFont(plain.font);
        painter->setClipRect(area);
        int x = area.left();
        const auto draw = [&](const QString& piece, bool marked) {
            const int width = metrics.horizontalAdvance(piece);
            const QRect box(x, area.top(), width, area.height());
            if (marked) {
                painter->fillRect(box, QColor(255, 230, 0));
                painter->setPen(Qt::black);
            } else {
                painter->setPen(ink);
            }
            painter->drawText(box, Qt::AlignVCenter | Qt::AlignLeft, piece);
            x += width;
        };
        draw(text.left(start), false);
        draw(text.mid(start, length), true);
        draw(text.mid(start + length), false);
        painter->restore();
    }
};

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

QString DateText(const CatalogDate& date) {
    if (date == CatalogDate{}) return {};
    return QString::fromStdU16String(
        platform::AnsiToUtf16(platform::ShortDateText(date.year, date.month, date.day)));
}

} // namespace

SearchPane::SearchPane(QWidget* parent, const HostFolders& host,
                       std::function<Source()> shownSource)
    : QWidget(parent), host_(host), shownSource_(std::move(shownSource)) {
    setObjectName("SearchPane");
    setAutoFillBackground(true);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);

    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QString::fromUtf8("Hľadať:"), this);
    text_ = new QLineEdit(this);
    text_->setObjectName("SearchText");
    label->setBuddy(text_);
    scope_ = new QComboBox(this);
    scope_->setObjectName("SearchScope");
    scope_->addItems({QString::fromUtf8(kShownSource), QString::fromUtf8(kEveryMonth)});
    matchCase_ = new QCheckBox(QString::fromUtf8("Rozlišovať veľkosť písmen"), this);
    matchCase_->setObjectName("SearchMatchCase");
    matchCase_->setMinimumWidth(matchCase_->sizeHint().width());
    start_ = new QPushButton(QString::fromUtf8("Hľadať"), this);
    start_->setObjectName("SearchStart");
    stop_ = new QPushButton(QString::fromUtf8("Zastaviť"), this);
    stop_->setObjectName("SearchStop");
    stop_->setEnabled(false);
    closeButton_ = new QToolButton(this);
    closeButton_->setObjectName("SearchClose");
    closeButton_->setText(QString::fromUtf8("×"));
    closeButton_->setAutoRaise(true);
    row->addWidget(label);
    row->addWidget(text_, 1);
    row->addWidget(scope_);
    row->addWidget(matchCase_);
    row->addWidget(start_);
    row->addWidget(stop_);
    row->addWidget(closeButton_);
    column->addLayout(row);

    results_ = new QTreeWidget(this);
    results_->setObjectName("SearchResults");
    results_->setRootIsDecorated(false);
    results_->setUniformRowHeights(true);
    results_->setAllColumnsShowFocus(true);
    results_->setHeaderLabels({QString::fromUtf8("Zdroj"), QString::fromUtf8("Názov"),
                               QString::fromUtf8("Popis súboru"), QString::fromUtf8("Dátum"),
                               QString::fromUtf8("Riadok"), QString::fromUtf8("Text")});
    results_->setItemDelegateForColumn(kTextColumn, new MatchDelegate(results_));
    for (const auto& [col, width] : {std::pair{kSourceColumn, 95},
                                     {kNazovColumn, 80},
                                     {kPopisColumn, 150},
                                     {kDateColumn, 70},
                                     {kLineColumn, 45}})
        results_->setColumnWidth(col, width);
    column->addWidget(results_, 1);

    auto* status = new QHBoxLayout;
    progress_ = new QProgressBar(this);
    progress_->setObjectName("SearchProgress");
    progress_->setRange(0, 1);
    progress_->setValue(0);
    notice_ = new QLabel(this);
    notice_->setObjectName("SearchNotice");
    status->addWidget(progress_, 1);
    status->addWidget(notice_, 1);
    column->addLayout(status);

    failures_ = new QLabel(this);
    failures_->setObjectName("SearchFailures");
    failures_->setWordWrap(true);
    failures_->hide();
    column->addWidget(failures_);

    poll_ = new QTimer(this);
    poll_->setInterval(kPollMilliseconds);

    connect(start_, &QPushButton::clicked, this, &SearchPane::StartSearch);
    connect(text_, &QLineEdit::returnPressed, this, &SearchPane::StartSearch);
    connect(stop_, &QPushButton::clicked, this, &SearchPane::StopSearch);
    connect(closeButton_, &QToolButton::clicked, this, &SearchPane::Close);
    connect(poll_, &QTimer::timeout, this, &SearchPane::TakeWhatCame);
    connect(results_, &QTreeWidget::itemActivated, this, &SearchPane::OpenResult);
    // Esc stops a search; with none running it closes the pane.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        if (Searching())
            StopSearch();
        else
            Close();
    });
    hide();
}

SearchPane::~SearchPane() = default;

bool SearchPane::Searching() const {
    return search_ && !search_->Finished();
}

void SearchPane::Open() {
    if (isHidden()) focusBefore_ = QApplication::focusWidget();
    show();
    raise();
    text_->selectAll();
    text_->setFocus(Qt::ShortcutFocusReason);
}

void SearchPane::Close() {
    StopSearch();
    hide();
    if (focusBefore_ && focusBefore_->isVisible()) focusBefore_->setFocus(Qt::OtherFocusReason);
}

void SearchPane::StartSearch() {
    // An earlier search ends here, and with it its buttons, bar and notice:
    // an empty text or one the code page lacks starts no other.
    if (search_) search_->Stop();
    search_.reset();
    Finish(QString());
    progress_->setRange(0, 1);
    progress_->setValue(0);
    results_->clear();
    hits_.clear();
    failed_.clear();
    failures_->hide();
    searchedText_ = text_->text();
    searchedMatchCase_ = matchCase_->isChecked();
    if (searchedText_.isEmpty()) {
        text_->setFocus();
        return;
    }
    std::vector<Source> sources =
        scope_->currentIndex() == 0 ? std::vector<Source>{shownSource_()} : EverySource(host_);
    search_ = std::make_unique<PrintFileSearch>(std::move(sources), host_,
                                                searchedText_.toStdU16String(), searchedMatchCase_);
    if (search_->Impossible()) {
        search_.reset();
        notice_->setText(QString::fromUtf8("Hľadaný text obsahuje znaky, ktoré kódová stránka %1 "
                                           "tlačových súborov nemá.")
                             .arg(platform::OemCodePage()));
        return;
    }
    search_->Start();
    progress_->setRange(0, 0); // busy until the first catalog is read
    progress_->setFormat(QString());
    notice_->setText(QString::fromUtf8(kSearching));
    start_->setEnabled(false);
    stop_->setEnabled(true);
    poll_->start();
}

void SearchPane::StopSearch() {
    if (!Searching()) return;
    search_->Stop();
    TakeWhatCame();
    Finish(QString::fromUtf8(kStopped));
}

void SearchPane::TakeWhatCame() {
    if (!search_) return;
    // Taken before asking whether it has finished, so nothing found last is lost.
    const bool finished = search_->Finished();
    for (const SearchHit& hit : search_->TakeHits()) {
        if (static_cast<int>(hits_.size()) >= kMostRows) break;
        AddRow(hit);
    }
    std::vector<SearchFailure> failures = search_->TakeFailures();
    if (!failures.empty()) {
        std::move(failures.begin(), failures.end(), std::back_inserter(failed_));
        ShowFailures();
    }

    const SearchProgress progress = search_->Progress();
    const int total = static_cast<int>(progress.filesTotal);
    if (progress.catalogsRead || total > 0) {
        progress_->setRange(0, std::max(1, total));
        progress_->setValue(static_cast<int>(progress.filesDone));
        progress_->setFormat(
            QString::fromUtf8("%1 z %2 súborov, %3 MB")
                .arg(progress.filesDone)
                .arg(total)
                .arg(static_cast<double>(progress.bytesDone) / (1 << 20), 0, 'f', 1));
    }
    if (static_cast<int>(hits_.size()) >= kMostRows) {
        search_->Stop();
        Finish(QString::fromUtf8("Zobrazených je prvých %1 výsledkov").arg(kMostRows));
        return;
    }
    if (!finished) return;
    Finish(hits_.empty() ? QString::fromUtf8(kNotFound)
                         : QString::fromUtf8("Výsledkov: %1").arg(hits_.size()));
}

void SearchPane::Finish(const QString& notice) {
    poll_->stop();
    notice_->setText(notice);
    start_->setEnabled(true);
    stop_->setEnabled(false);
}

void SearchPane::AddRow(const SearchHit& hit) {
    const Source& source = search_->Sources()[hit.source];
    const CatalogEntry& entry = *hit.entry;
    auto* item = new QTreeWidgetItem;
    item->setText(kSourceColumn, Utf8(source.Label()));
    item->setText(kNazovColumn, Utf8(entry.TrimmedNazov()));
    item->setText(kPopisColumn, Utf8(entry.Popis).trimmed());
    item->setText(kDateColumn, DateText(entry.Datum));
    item->setText(kLineColumn, QString::number(hit.line + 1));
    item->setTextAlignment(kLineColumn, Qt::AlignRight | Qt::AlignVCenter);
    item->setText(kTextColumn, QString::fromStdU16String(platform::OemToDisplay(hit.text)));
    item->setData(kTextColumn, kMatchStartRole, hit.textColumn);
    item->setData(kTextColumn, kMatchLengthRole, hit.length);
    item->setData(kSourceColumn, Qt::UserRole, static_cast<int>(hits_.size()));
    hits_.push_back(hit);
    results_->addTopLevelItem(item);
    if (results_->topLevelItemCount() == 1) results_->setCurrentItem(item);
}

void SearchPane::ShowFailures() {
    QStringList names;
    for (const SearchFailure& failure : failed_) {
        if (names.size() == 8) {
            names << QString::fromUtf8("…");
            break;
        }
        const QString source = Utf8(search_->Sources()[failure.source].Label());
        names << (failure.kind == SearchFailure::Kind::Catalog
                      ? source + QString::fromUtf8(" (zoznam tlačových súborov)")
                      : source + QString::fromUtf8(": ") + Utf8(failure.file));
    }
    failures_->setText(QString::fromUtf8("Nedalo sa prečítať (%1): %2")
                           .arg(failed_.size())
                           .arg(names.join(QString::fromUtf8(", "))));
    failures_->show();
}

void SearchPane::OpenResult(QTreeWidgetItem* item) {
    if (item == nullptr || !OnOpen) return;
    const int row = item->data(kSourceColumn, Qt::UserRole).toInt();
    if (row < 0 || row >= static_cast<int>(hits_.size())) return;
    const SearchHit hit = hits_[static_cast<std::size_t>(row)];
    const Source source = search_->Sources()[hit.source];
    OnOpen(source, *hit.entry, static_cast<int>(hit.line), static_cast<int>(hit.column), hit.length,
           searchedText_, searchedMatchCase_);
}
