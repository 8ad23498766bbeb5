#pragma once
// Opens a control's context menu on a right click and on the menu key while
// the control has the focus, once per key press on every platform, and runs
// the menu under the error guard.

#include <QObject>

#include <functional>

class QPoint;
class QWidget;

class ContextMenuOpener : public QObject {
    Q_OBJECT
  public:
    // showMenu shows the menu at a point of the screen.
    ContextMenuOpener(QWidget* control, std::function<void(const QPoint&)> showMenu);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* control_;
    std::function<void(const QPoint&)> showMenu_;
    // The menu key opened the menu itself; the context-menu event some
    // platforms send for the same key press is then not a second request.
    bool menuKeyHandled_ = false;
};
