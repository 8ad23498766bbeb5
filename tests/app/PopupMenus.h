#pragma once
// Popup menus and modal windows in widget tests: a right click as the window
// system reports it, a menu entry chosen with the keyboard, and an act on a
// widget as soon as it is shown, from whatever modal loop is running then.

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <memory>
#include <type_traits>

// Runs act on the first widget that find returns, as soon as there is one (within
// a generous time), from the event loop of whatever modal loop the window runs.
// An act that returns false is tried again on the next tick.
template <class Find, class Act> QTimer* WhenShown(Find find, Act act) {
    auto* timer = new QTimer(qApp);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [=] {
        auto* widget = find();
        bool done = false;
        if (widget != nullptr) {
            if constexpr (std::is_void_v<decltype(act(widget))>)
                act(widget), done = true;
            else
                done = act(widget);
        }
        if (done) {
            timer->stop();
            timer->deleteLater();
        } else if (++*tries > 2000) {
            // Given up: a modal widget left open would hold the test forever.
            if (widget != nullptr) widget->close();
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
    return timer;
}

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
