#include "app/ErrorGuard.h"

#include <QMessageBox>

void ShowErrorBox(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

QString ErrorText(const std::exception& error) {
    // Our own messages and file names are UTF-8; a message that is not is
    // still better shown mangled than not at all.
    return QString::fromUtf8(error.what());
}

void RunGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowErrorBox(ErrorText(error));
    } catch (...) {
        ShowErrorBox(QStringLiteral("Neznáma chyba."));
    }
}

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowErrorBox(ErrorText(error));
    } catch (...) {
        ShowErrorBox(QStringLiteral("Neznáma chyba."));
    }
    return false;
}
