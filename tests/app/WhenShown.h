#pragma once
// Answering what a modal loop shows (a menu, a dialog, a file chooser) from
// inside that loop, the way a user answers it.

#include <QApplication>
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

// The visible top-level widget of that type and object name, or nullptr.
template <class T> T* ShownTopLevel(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<T*>(widget);
            found != nullptr && found->isVisible() && found->objectName() == QLatin1String(name))
            return found;
    return nullptr;
}
