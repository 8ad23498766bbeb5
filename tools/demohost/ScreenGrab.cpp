// screengrab: saves one X window as a PNG, so the demo can show what the tool
// looks like on a machine without a display.
// Usage: screengrab WINDOW_ID FILE.png   (the id as xwininfo prints it, e.g. 0x400006)

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QString>

#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: screengrab WINDOW_ID FILE.png\n");
        return 2;
    }
    bool valid = false;
    const WId window = QString::fromLocal8Bit(argv[1]).toULongLong(&valid, 0);
    if (!valid || window == 0) {
        std::fprintf(stderr, "screengrab: not a window id: %s\n", argv[1]);
        return 2;
    }
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window);
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "screengrab: could not save window %s to %s\n", argv[1], argv[2]);
        return 1;
    }
    return 0;
}
