#pragma once
// Popup menus in widget tests: a right click as the window system reports it,
// and a menu entry chosen with the keyboard from inside the menu's own loop.

#include "WhenShown.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>

inline QMenu* OpenMenu() {
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// Chooses an entry of the next popup menu by the start of its text, with the keyboard.
inline void ChooseFromNextMenu(const QString& entry) {
    WhenShown(OpenMenu, [entry](QMenu* menu) {
        for (QAction* action : menu->actions())
            if (action->isEnabled() && action->text().startsWith(entry))
                menu->setActiveAction(action);
        QTest::keyClick(menu, menu->activeAction() != nullptr ? Qt::Key_Return : Qt::Key_Escape);
    });
}

// A right click as the window system reports it to the widget.
inline void RightClick(QWidget* widget) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            widget->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(widget, &event);
}
