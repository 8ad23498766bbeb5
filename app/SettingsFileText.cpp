#include "app/SettingsFileText.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

// Far more than the tool's few keys with comments need.
constexpr qint64 kLargestSettingsFile = 1 << 20;

bool ControlCharacterIn(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n') &&
            c != QLatin1Char('\r'))
            return true;
    return false;
}

} // namespace

bool LooksLikeIniText(const QString& text) {
    bool continued = false;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const bool continuation = continued;
        continued = line.endsWith(QLatin1Char('\\'));
        if (continuation) continue;
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
            line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (line.endsWith(QLatin1Char(']')) && line.size() > 2) continue;
            return false;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0 || line.left(equals).trimmed().isEmpty()) return false;
    }
    return true;
}

SettingsFileText ReadSettingsFileText(const QString& path) {
    SettingsFileText read;
    if (path.isEmpty()) return read;
    const QFileInfo info(path);
    // A link that leads nowhere was meant to be a settings file.
    if (!info.exists() && !info.isSymLink()) return read;
    read.state = SettingsFileState::Unusable;
    // Only a plain file: opening a pipe would wait for a writer, a device may never end.
    if (!info.isFile() || info.size() > kLargestSettingsFile) return read;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return read;
    const QByteArray bytes = file.read(kLargestSettingsFile + 1);
    if (bytes.size() > kLargestSettingsFile) return read;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError() || ControlCharacterIn(text) || !LooksLikeIniText(text)) return read;
    read.state = SettingsFileState::Usable;
    read.text = std::move(text);
    return read;
}
