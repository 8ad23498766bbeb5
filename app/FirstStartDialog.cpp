#include "app/FirstStartDialog.h"

#include "app/HostFolderChoice.h"
#include "app/HostSettings.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

FirstStartDialog::FirstStartDialog(const HostSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setObjectName("FirstStartDialog");
    setWindowTitle(QStringLiteral("Tlač súborov – priečinok hostiteľského systému"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(
        QStringLiteral("Vyberte priečinok hostiteľského systému, v ktorom sú priečinky Cis, Tla "
                       "a Zal."),
        this);
    text->setWordWrap(true);
    layout->addWidget(text);

    auto* row = new QHBoxLayout;
    folder_ = new QLineEdit(this);
    folder_->setObjectName("HostFolderEdit");
    folder_->setMinimumWidth(360);
    text->setBuddy(folder_);
    auto* browse = new QPushButton(QStringLiteral("Vybrať..."), this);
    browse->setObjectName("HostFolderBrowse");
    row->addWidget(folder_);
    row->addWidget(browse);
    layout->addLayout(row);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Zrušiť"));
    layout->addWidget(buttons);

    connect(browse, &QPushButton::clicked, this, &FirstStartDialog::Choose);
    connect(buttons, &QDialogButtonBox::accepted, this, &FirstStartDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FirstStartDialog::reject);
}

QString FirstStartDialog::ChosenFolder() const {
    return settings_.AbsoluteHostFolder(folder_->text().trimmed());
}

void FirstStartDialog::Choose() {
    // Asked again until the folder is a host or the user gives up choosing.
    QString start = folder_->text().trimmed();
    for (;;) {
        const QString chosen = AskHostFolder(this, "HostFolderChooser", start);
        if (chosen.isEmpty()) return;
        folder_->setText(QDir::toNativeSeparators(chosen));
        if (TakeFolder()) {
            QDialog::accept();
            return;
        }
        start = folder_->text();
    }
}

bool FirstStartDialog::TakeFolder() {
    const QString folder = ChosenFolder();
    if (const QString problem = settings_.HostFolderProblem(folder_->text().trimmed());
        !problem.isEmpty()) {
        TellUser(this, problem);
        folder_->setFocus();
        folder_->selectAll();
        return false;
    }
    UserSettings chosen = settings_.UserChoices();
    chosen.hostFolder = folder;
    // Not saved is no reason to keep the user from the host; the next start asks again.
    if (const QString error = settings_.Save(chosen); !error.isEmpty()) TellUser(this, error);
    return true;
}

void FirstStartDialog::accept() {
    if (TakeFolder()) QDialog::accept();
}
