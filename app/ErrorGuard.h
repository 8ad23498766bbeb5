#pragma once
// The application's last line of defence: an error that an event handler does
// not catch itself is shown in a message box, and the window stays usable.

#include <QApplication>
#include <QString>

#include <exception>
#include <functional>

// Shows an error text in a message box with one OK button, parented to the
// active window so it stays in front of it.
void ShowErrorBox(const QString& text);

// The text of an error as the user should read it.
QString ErrorText(const std::exception& error);

// Runs one handler; whatever it throws ends it and is shown to the user.
void RunGuarded(const std::function<void()>& handler);

// Catches what escapes from event processing outside RunGuarded (key and mouse
// handlers of the widgets), so a stray error never ends the program.
class GuardedApplication : public QApplication {
  public:
    GuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
