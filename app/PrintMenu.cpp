#include "app/PrintMenu.h"

#include "app/ContextMenuOpener.h"
#include "app/print/PrintError.h"
#include "app/print/Spooler.h"

#include <QMenu>
#include <QPushButton>

#include <vector>

PrintMenu::PrintMenu(QPushButton* button) : QObject(button), button_(button) {
    new ContextMenuOpener(button_, [this](const QPoint& at) { Show(at); });
}

void PrintMenu::Show(const QPoint& globalPos) {
    if (!button_->isEnabled()) return;
    QMenu menu(button_->window());
    menu.setObjectName("BTlacMenu");
    std::vector<print::SpoolerPrinter> printers;
    QString unavailable = QStringLiteral("Žiadna tlačiareň");
    try {
        printers = print::ListPrinters();
    } catch (const print::EPrintError& error) {
        unavailable = QString::fromUtf8(error.what());
    }
    for (const print::SpoolerPrinter& printer : printers) {
        const QString name = QString::fromStdString(printer.name);
        QAction* action = menu.addAction(printer.isDefault ? name + " (predvolená)" : name);
        action->setData(name);
        if (printer.isDefault) {
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
        }
    }
    if (printers.empty()) menu.addAction(unavailable)->setEnabled(false);
    menu.addSeparator();
    QAction* savePdf = menu.addAction(QStringLiteral("Uložiť do PDF..."));
    QAction* chosen = menu.exec(globalPos);
    if (chosen == nullptr) return;
    if (chosen == savePdf)
        emit SavePdfChosen();
    else
        emit PrintOnChosen(chosen->data().toString());
}
