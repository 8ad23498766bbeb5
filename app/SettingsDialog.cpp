#include "app/SettingsDialog.h"

#include "app/HostFolderChoice.h"
#include "app/HostSettings.h"
#include "platform/CodePageNames.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>
#include <utility>

namespace {

const QString kFromLocale = QStringLiteral("podľa jazyka systému");

QComboBox* CodePageList(QWidget* parent, const char* name,
                        const std::vector<platform::CodePageChoice>& pages,
                        std::optional<int> chosen) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->addItem(kFromLocale, 0);
    for (const platform::CodePageChoice& page : pages)
        list->addItem(QString::fromStdString(page.label), page.codePage);
    const int index = chosen ? list->findData(*chosen) : 0;
    list->setCurrentIndex(index > 0 ? index : 0);
    return list;
}

// A line under a setting that says where its value in force comes from.
QLabel* Note(QWidget* parent, const char* name, const QString& text) {
    auto* note = new QLabel(text, parent);
    note->setObjectName(name);
    note->setWordWrap(true);
    note->setVisible(!text.isEmpty());
    QFont small = note->font();
    small.setItalic(true);
    note->setFont(small);
    return note;
}

std::optional<int> Choice(const QComboBox* list) {
    const int page = list->currentData().toInt();
    return page > 0 ? std::optional<int>(page) : std::nullopt;
}

} // namespace

SettingsDialog::SettingsDialog(const HostSettings& settings, Sampler sampler, QWidget* parent)
    : QDialog(parent), settings_(settings), sampler_(std::move(sampler)) {
    setObjectName("SettingsDialog");
    setWindowTitle(QStringLiteral("Nastavenia"));
    const UserSettings user = settings_.UserChoices();
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);

    auto* folderRow = new QHBoxLayout;
    hostFolder_ = new QLineEdit(user.hostFolder, this);
    hostFolder_->setObjectName("SettingsHostFolder");
    hostFolder_->setMinimumWidth(320);
    auto* browse = new QPushButton(QStringLiteral("Vybrať..."), this);
    browse->setObjectName("SettingsHostFolderBrowse");
    folderRow->addWidget(hostFolder_);
    folderRow->addWidget(browse);
    form->addRow(QStringLiteral("Priečinok hostiteľského systému:"), folderRow);
    form->addRow(QString(), Note(this, "SettingsHostFolderNote", settings_.HostFolder().note));

    ansi_ =
        CodePageList(this, "SettingsAnsiCodePage",
                     platform::CodePageChoices(platform::CodePageRole::Ansi), user.ansiCodePage);
    form->addRow(QStringLiteral("Kódová stránka ANSI (texty zoznamu):"), ansi_);
    form->addRow(QString(), Note(this, "SettingsAnsiNote", settings_.AnsiCodePage().note));
    oem_ = CodePageList(this, "SettingsOemCodePage",
                        platform::CodePageChoices(platform::CodePageRole::Oem), user.oemCodePage);
    form->addRow(QStringLiteral("Kódová stránka OEM (tlačové súbory):"), oem_);
    form->addRow(QString(), Note(this, "SettingsOemNote", settings_.OemCodePage().note));

    auto* sample = new QGroupBox(QStringLiteral("Ukážka zo zobrazeného zoznamu"), this);
    auto* sampleForm = new QFormLayout(sample);
    samplePopis_ = new QLabel(sample);
    samplePopis_->setObjectName("SamplePopis");
    sampleLine_ = new QLabel(sample);
    sampleLine_->setObjectName("SampleLine");
    sampleLine_->setFont(QFont(QStringLiteral("Courier New"), 9));
    sampleLine_->setTextFormat(Qt::PlainText);
    samplePopis_->setTextFormat(Qt::PlainText);
    sampleForm->addRow(QStringLiteral("Popis súboru:"), samplePopis_);
    sampleForm->addRow(QStringLiteral("Tlačový súbor:"), sampleLine_);
    layout->addWidget(sample);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName("SettingsButtons");
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Zrušiť"));
    layout->addWidget(buttons);

    connect(browse, &QPushButton::clicked, this, &SettingsDialog::ChooseFolder);
    connect(ansi_, &QComboBox::currentIndexChanged, this, &SettingsDialog::ShowSample);
    connect(oem_, &QComboBox::currentIndexChanged, this, &SettingsDialog::ShowSample);
    connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SettingsDialog::reject);
    ShowSample();
}

int SettingsDialog::ChosenPage(const QComboBox* list, int withoutUserFile) const {
    return Choice(list).value_or(withoutUserFile);
}

void SettingsDialog::ShowSample() {
    const CodePageSample sample =
        sampler_(ChosenPage(ansi_, settings_.AnsiCodePageWithoutUserFile()),
                 ChosenPage(oem_, settings_.OemCodePageWithoutUserFile()));
    samplePopis_->setText(QString::fromStdU16String(sample.popis).trimmed());
    sampleLine_->setText(QString::fromStdU16String(sample.line));
}

void SettingsDialog::ChooseFolder() {
    const QString folder =
        AskHostFolder(this, "SettingsHostFolderChooser",
                      settings_.AbsoluteHostFolder(hostFolder_->text().trimmed()));
    if (folder.isEmpty()) return;
    if (const QString problem = settings_.HostFolderProblem(folder); !problem.isEmpty()) {
        TellUser(this, problem);
        return;
    }
    hostFolder_->setText(QDir::toNativeSeparators(folder));
}

void SettingsDialog::accept() {
    const QString folder = hostFolder_->text().trimmed();
    // No folder leaves the choice to the system's file or the executable's folder.
    if (!folder.isEmpty()) {
        if (const QString problem = settings_.HostFolderProblem(folder); !problem.isEmpty()) {
            TellUser(this, problem);
            hostFolder_->setFocus();
            return;
        }
    }
    if (const QString error = settings_.Save({folder, Choice(ansi_), Choice(oem_)});
        !error.isEmpty()) {
        TellUser(this, error);
        return;
    }
    QDialog::accept();
}
