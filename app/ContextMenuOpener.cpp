#include "app/ContextMenuOpener.h"

#include "app/ErrorGuard.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QWidget>

#include <utility>

ContextMenuOpener::ContextMenuOpener(QWidget* control, std::function<void(const QPoint&)> showMenu)
    : QObject(control), control_(control), showMenu_(std::move(showMenu)) {
    control_->setContextMenuPolicy(Qt::CustomContextMenu);
    control_->installEventFilter(this);
    connect(control_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        RunGuarded([&] { showMenu_(control_->mapToGlobal(pos)); });
    });
}

bool ContextMenuOpener::eventFilter(QObject* watched, QEvent* event) {
    if (watched != control_) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        // Not every platform turns the menu key into a context-menu event.
        menuKeyHandled_ = static_cast<QKeyEvent*>(event)->key() == Qt::Key_Menu;
        if (menuKeyHandled_) {
            RunGuarded([this] { showMenu_(control_->mapToGlobal(control_->rect().center())); });
            return true;
        }
    } else if (event->type() == QEvent::ContextMenu &&
               static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard &&
               std::exchange(menuKeyHandled_, false)) {
        return true;
    }
    return QObject::eventFilter(watched, event);
}
