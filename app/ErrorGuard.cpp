#include "app/ErrorGuard.h"

#include <QMessageBox>

#include <new>

void ShowErrorBox(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

QString ErrorText(const std::exception& error) {
    // The library's own words for running out of memory mean nothing to the user.
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return QStringLiteral("Na túto činnosť nie je dosť pamäte.");
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
