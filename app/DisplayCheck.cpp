#include "app/DisplayCheck.h"

namespace {

// The value of a Qt option given as "-name value", "--name value" or "-name=value".
QString OptionValue(const QStringList& arguments, const QString& name) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString argument = arguments[i];
        if (argument.startsWith(QLatin1String("--"))) argument.remove(0, 1);
        if (argument == QLatin1Char('-') + name && i + 1 < arguments.size())
            return arguments[i + 1];
        if (argument.startsWith(QLatin1Char('-') + name + QLatin1Char('=')))
            return argument.mid(name.size() + 2);
    }
    return {};
}

bool PlatformHasDisplay(const QString& platform, bool x11, bool wayland) {
    const QString name = platform.section(QLatin1Char(':'), 0, 0).trimmed();
    if (name == QLatin1String("xcb")) return x11;
    if (name.startsWith(QLatin1String("wayland"))) return wayland;
    return true;
}

} // namespace

bool DisplayAvailable(const QStringList& arguments, const QProcessEnvironment& environment) {
    const bool x11 = !environment.value(QStringLiteral("DISPLAY")).isEmpty() ||
                     !OptionValue(arguments, QStringLiteral("display")).isEmpty();
    const bool wayland = !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    QString platforms = OptionValue(arguments, QStringLiteral("platform"));
    if (platforms.isEmpty()) platforms = environment.value(QStringLiteral("QT_QPA_PLATFORM"));
    // Without a choice Qt takes the desktop's own platform, X11 or Wayland.
    if (platforms.isEmpty()) return x11 || wayland;
    // A list such as "wayland;xcb" is tried in its order: one that works is enough.
    for (const QString& platform : platforms.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (PlatformHasDisplay(platform, x11, wayland)) return true;
    return false;
}
