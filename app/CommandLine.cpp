#include "app/CommandLine.h"

#include "app/StartupSettings.h"
#include "tlacsub/Version.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>

namespace {

const QString kProgram = QStringLiteral("tlacsub");

// A code page is a positive number of at most five digits; whether it is
// installed is checked later, where a wrong one only costs a notice.
std::optional<int> CodePageNumber(const QString& text) {
    bool number = false;
    const int value = text.toInt(&number);
    if (!number || value <= 0 || value > 65535) return std::nullopt;
    return value;
}

QString SettingsHelp() {
    const SettingsFiles files = DefaultSettingsFiles();
    return QStringLiteral(
               "\nSettings files (INI; keys HostFolder, AnsiCodePage, OemCodePage; the command\n"
               "line overrides the user's file, which overrides the system's):\n"
               "  user:   %1\n"
               "  system: %2\n"
               "A relative HostFolder is taken from the folder of the file that names it.\n"
               "Without any, the host folder is the executable's folder and the code pages\n"
               "follow the locale (sk_SK: 1250 and 852).\n")
        .arg(files.user, files.system);
}

CommandLine Failure(const QString& message, const QString& help) {
    CommandLine result;
    result.exitCode = 2;
    result.errors = kProgram + QStringLiteral(": ") + message + QLatin1Char('\n') + help;
    return result;
}

} // namespace

QStringList ArgumentList(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral(
        "Lists, previews and prints the print files of a DOS-era host system: the\n"
        "catalog Cis/ZOZTLS.DBF of the current month, the archived months under Zal\n"
        "and the meal calculations named by oposcis.dbf."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and end."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and end."));
    const QCommandLineOption hostFolder(
        QStringLiteral("host-folder"),
        QStringLiteral("The host system's folder (holding Cis, Tla, Zal and oposcis.dbf)."),
        QStringLiteral("DIR"));
    const QCommandLineOption ansi(
        QStringLiteral("ansi-codepage"),
        QStringLiteral("The host's ANSI code page, of the catalog's texts (such as 1250)."),
        QStringLiteral("N"));
    const QCommandLineOption oem(
        QStringLiteral("oem-codepage"),
        QStringLiteral("The host's OEM (DOS) code page, of the print files (such as 852)."),
        QStringLiteral("N"));
    parser.addOptions({help, version, hostFolder, ansi, oem});

    // The usage line names the program as installed, not the path it was started by.
    QString helpText = parser.helpText();
    const qsizetype firstLineEnd = helpText.indexOf(QLatin1Char('\n'));
    helpText = QStringLiteral("Usage: %1 [options]").arg(kProgram) + helpText.mid(firstLineEnd) +
               SettingsHelp();

    if (!parser.parse(arguments)) return Failure(parser.errorText(), helpText);
    if (!parser.positionalArguments().isEmpty())
        return Failure(
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().front()),
            helpText);

    CommandLine result;
    if (parser.isSet(help)) {
        result.exitCode = 0;
        result.output = helpText;
        return result;
    }
    if (parser.isSet(version)) {
        result.exitCode = 0;
        result.output =
            kProgram + QLatin1Char(' ') + QString::fromLatin1(kTlacsubVersion) + QLatin1Char('\n');
        return result;
    }
    if (parser.isSet(hostFolder)) {
        if (parser.value(hostFolder).isEmpty())
            return Failure(QStringLiteral("--host-folder needs a folder."), helpText);
        result.options.hostFolder = parser.value(hostFolder);
    }
    for (const auto& [option, target] :
         {std::pair{&ansi, &result.options.ansiCodePage}, {&oem, &result.options.oemCodePage}}) {
        if (!parser.isSet(*option)) continue;
        *target = CodePageNumber(parser.value(*option));
        if (!*target)
            return Failure(QStringLiteral("Invalid value '%1' for --%2: a code page number such "
                                          "as 852 or 1250 is expected.")
                               .arg(parser.value(*option), option->names().front()),
                           helpText);
    }
    return result;
}
