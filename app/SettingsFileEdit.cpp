#include "app/SettingsFileEdit.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

namespace {

// The line QSettings writes for the key, so that it reads the value back as
// it was given, quotes, commas and backslashes included.
QString SettingLine(const QString& key, const QString& value) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("line.ini"));
    {
        QSettings settings(file, QSettings::IniFormat);
        settings.setValue(key, value);
    }
    QFile written(file);
    if (written.open(QIODevice::ReadOnly)) {
        const QString prefix = key + QLatin1Char('=');
        for (const QString& line : QString::fromUtf8(written.readAll()).split(QLatin1Char('\n')))
            if (line.startsWith(prefix)) return line.trimmed();
    }
    return key + QLatin1Char('=') + value;
}

QString KeyOf(QStringView line) {
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    return equals > 0 ? line.left(equals).trimmed().toString() : QString();
}

bool IsSection(QStringView line) {
    return line.trimmed().startsWith(QLatin1Char('['));
}

bool IsGeneral(QStringView line) {
    return line.trimmed().compare(QLatin1String("[General]"), Qt::CaseInsensitive) == 0;
}

} // namespace

QString WithSettingValue(const QString& text, const QString& key,
                         const std::optional<QString>& value) {
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.isEmpty() || text.endsWith(QLatin1Char('\n'))) lines.removeLast();
    const bool crlf = !lines.isEmpty() && lines.front().endsWith(QLatin1Char('\r'));

    // The key's lines among the top-level ones, each with the lines its value
    // goes on to after a trailing backslash.
    struct Span {
        qsizetype first;
        qsizetype count;
    };
    std::vector<Span> keyLines;
    qsizetype generalEnd = -1; // after the last non-blank line of [General]
    qsizetype topLevelEnd = 0; // after the last non-blank line before any section
    bool topLevel = true;
    bool general = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringView line = lines[i];
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        qsizetype count = 1;
        while (i + count - 1 < lines.size() - 1 &&
               QStringView(lines[i + count - 1]).trimmed().endsWith(QLatin1Char('\\')))
            ++count;
        if (IsSection(line)) {
            general = IsGeneral(line);
            topLevel = general;
            if (general) generalEnd = i + 1;
        } else if (topLevel && !line.trimmed().isEmpty()) {
            (general ? generalEnd : topLevelEnd) = i + count;
            if (KeyOf(line) == key) keyLines.push_back({i, count});
        }
        i += count - 1;
    }

    // A repeated key would override the first, so only the first may stay;
    // later lines go first, so the first's place holds.
    const bool replace = value && !keyLines.empty();
    for (auto span = keyLines.rbegin(); span != keyLines.rend(); ++span)
        if (!replace || span->first != keyLines.front().first)
            lines.remove(span->first, span->count);
    if (value) {
        const QString setting =
            SettingLine(key, *value) + (crlf ? QStringLiteral("\r") : QString());
        if (replace) {
            lines[keyLines.front().first] = setting;
            lines.remove(keyLines.front().first + 1, keyLines.front().count - 1);
        } else if (generalEnd >= 0) {
            lines.insert(generalEnd, setting);
        } else if (lines.isEmpty()) {
            lines = QStringList{QStringLiteral("[General]"), setting};
        } else {
            lines.insert(topLevelEnd, setting);
        }
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString SaveSettingsFile(const QString& path, const QString& text) {
    const QString folder = QFileInfo(path).absolutePath();
    const auto failed = [&](const QString& reason) {
        return QStringLiteral("Súbor nastavení %1 sa nedá uložiť: %2").arg(path, reason);
    };
    if (!QDir().mkpath(folder))
        return failed(QStringLiteral("priečinok %1 sa nedá vytvoriť.").arg(folder));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return failed(file.errorString());
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.commit()) return failed(file.errorString());
    return {};
}
