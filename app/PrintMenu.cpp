#include "app/PrintMenu.h"

#include "app/ErrorGuard.h"
#include "app/print/PrintError.h"
#include "app/print/Spooler.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

#include <utility>
#include <vector>

PrintMenu::PrintMenu(QPushButton* button) : QObject(button), button_(button) {
    // Right click, and the menu key while the button has the focus.
    button_->setContextMenuPolicy(Qt::CustomContextMenu);
    button_->installEventFilter(this);
    connect(button_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { RunGuarded([&] { Show(button_->mapToGlobal(pos)); }); });
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

bool PrintMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched != button_) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        // Not every platform turns the menu key into a context-menu event.
        menuKeyHandled_ = static_cast<QKeyEvent*>(event)->key() == Qt::Key_Menu;
        if (menuKeyHandled_) {
            RunGuarded([this] { Show(button_->mapToGlobal(button_->rect().center())); });
            return true;
        }
    } else if (event->type() == QEvent::ContextMenu &&
               static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard &&
               std::exchange(menuKeyHandled_, false)) {
        return true;
    }
    return QObject::eventFilter(watched, event);
}
