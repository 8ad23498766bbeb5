#include "app/QtOptions.h"

#include <QString>

#include <algorithm>
#include <array>

namespace {

// Those of QGuiApplication, QApplication and the X11 platform.
constexpr std::array kWithValue{QLatin1String("platform"),
                                QLatin1String("platformpluginpath"),
                                QLatin1String("platformtheme"),
                                QLatin1String("plugin"),
                                QLatin1String("qwindowgeometry"),
                                QLatin1String("qwindowicon"),
                                QLatin1String("qwindowtitle"),
                                QLatin1String("session"),
                                QLatin1String("display"),
                                QLatin1String("geometry"),
                                QLatin1String("style"),
                                QLatin1String("stylesheet"),
                                QLatin1String("name"),
                                QLatin1String("title"),
                                QLatin1String("visual"),
                                QLatin1String("qmljsdebugger")};
constexpr std::array kFlags{QLatin1String("reverse"), QLatin1String("widgetcount"),
                            QLatin1String("sync"),    QLatin1String("nograb"),
                            QLatin1String("dograb"),  QLatin1String("testability")};

template <std::size_t N> bool Among(const std::array<QLatin1String, N>& names, QStringView name) {
    return std::any_of(names.begin(), names.end(),
                       [name](QLatin1String known) { return name == known; });
}

} // namespace

QStringList WithoutQtOptions(const QStringList& arguments) {
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (i == 0 || !argument.startsWith(QLatin1Char('-'))) {
            kept << argument;
            continue;
        }
        // After "--" everything is the tool's.
        if (argument == QLatin1String("--")) {
            kept << arguments.mid(i);
            break;
        }
        QStringView name =
            QStringView(argument).mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
        const qsizetype equals = name.indexOf(QLatin1Char('='));
        if (equals >= 0) {
            if (!Among(kWithValue, name.left(equals))) kept << argument;
            continue;
        }
        if (Among(kFlags, name)) continue;
        if (Among(kWithValue, name)) {
            ++i; // its value
            continue;
        }
        kept << argument;
    }
    return kept;
}
