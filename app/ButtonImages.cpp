#include "app/ButtonImages.h"

#include <QFile>

// Outside any namespace: the macro declares the resource's registration function.
static void InitResources() {
    // The images live in a static library, whose resources must be registered by hand.
    static const bool registered = [] {
        Q_INIT_RESOURCE(tlacsub);
        return true;
    }();
    (void)registered;
}

namespace {

QPixmap LoadImage(const QString& path) {
    InitResources();
    // The resources carry no file suffix, so the format is named.
    return QPixmap(path, "XPM");
}

} // namespace

QIcon ButtonImage(const QString& name) {
    QIcon icon(LoadImage(QStringLiteral(":/buttons/") + name));
    const QString disabled = QStringLiteral(":/buttons/") + name + QStringLiteral("-disabled");
    if (QFile::exists(disabled)) icon.addPixmap(LoadImage(disabled), QIcon::Disabled);
    return icon;
}

QPixmap OrientationImage(bool portrait) {
    return LoadImage(portrait ? QStringLiteral(":/BMPORTRAIT") : QStringLiteral(":/BMLANDSCAPE"));
}
