#include "app/CommandLine.h"

#include "app/QtOptions.h"
#include "app/StartupSettings.h"
#include "tlacsub/Version.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

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

// --source: "current", "meal", or an archived period as YYMM, of whose year
// the host keeps the last digit.
std::optional<Source> SourceNamed(const QString& text) {
    if (text == QLatin1String("current")) return Source::CurrentMonth();
    if (text == QLatin1String("meal")) return Source::MealCalculations();
    static const QRegularExpression period(QStringLiteral("^[0-9]([0-9])(0[1-9]|1[0-2])$"));
    const QRegularExpressionMatch match = period.match(text);
    if (!match.hasMatch()) return std::nullopt;
    return Source::ArchivedPeriod(2000 + match.captured(1).toInt(), match.captured(2).toInt());
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
        "and the meal calculations named by oposcis.dbf.\n"
        "Qt's standard options (-platform, -style, -display ...) are taken as well."));
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
        QStringLiteral("The host's OEM (DOS) code page, of the print files (such as 852, "
                       "or 895 for Kamenický and 620 for Mazovia)."),
        QStringLiteral("N"));
    const QCommandLineOption print(
        QStringLiteral("print"),
        QStringLiteral("Print the catalog entry of that name (the first by name when several "
                       "share it) without a window, on the default printer."),
        QStringLiteral("NAZOV"));
    const QCommandLineOption exportPdf(
        QStringLiteral("export-pdf"),
        QStringLiteral("Write every entry of the source as DIR/<Nazov>.pdf without a window "
                       "(entries sharing a name get _2, _3 ... in catalog order)."),
        QStringLiteral("DIR"));
    const QCommandLineOption find(
        QStringLiteral("find"),
        QStringLiteral("Find the text in the source's print files without a window, as the "
                       "preview's find does; print one line per match: "
                       "period<TAB>Nazov<TAB>FilName<TAB>line<TAB>text. Exit status 0 when "
                       "found, 1 when not."),
        QStringLiteral("TEXT"));
    const QCommandLineOption matchCase(
        QStringLiteral("match-case"),
        QStringLiteral("With --find: letter case counts (accents always do)."));
    const QCommandLineOption source(
        QStringLiteral("source"),
        QStringLiteral("With --print, --export-pdf or --find: current (the default), meal (the "
                       "meal calculations) or YYMM (the archived period in Zal/ObdYMM); with "
                       "--find also all (every source)."),
        QStringLiteral("SOURCE"));
    const QCommandLineOption pages(QStringLiteral("pages"),
                                   QStringLiteral("With --print: the pages to print."),
                                   QStringLiteral("FROM-TO"));
    const QCommandLineOption landscape(QStringLiteral("landscape"),
                                       QStringLiteral("With --print: print in landscape."));
    const QCommandLineOption printer(QStringLiteral("printer"),
                                     QStringLiteral("With --print: this printer (queue), once."),
                                     QStringLiteral("QUEUE"));
    const QCommandLineOption pdf(QStringLiteral("pdf"),
                                 QStringLiteral("With --print: write a PDF file instead."),
                                 QStringLiteral("FILE"));
    parser.addOptions({help, version, hostFolder, ansi, oem, print, exportPdf, find, matchCase,
                       source, pages, landscape, printer, pdf});

    // The usage line names the program as installed, not the path it was started by.
    QString helpText = parser.helpText();
    const qsizetype firstLineEnd = helpText.indexOf(QLatin1Char('\n'));
    helpText = QStringLiteral("Usage: %1 [options]").arg(kProgram) + helpText.mid(firstLineEnd) +
               SettingsHelp();

    if (!parser.parse(WithoutQtOptions(arguments))) return Failure(parser.errorText(), helpText);
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

    // Printing without a window.
    const bool printing = parser.isSet(print);
    const bool exporting = parser.isSet(exportPdf);
    const bool finding = parser.isSet(find);
    if (int(printing) + int(exporting) + int(finding) > 1)
        return Failure(QStringLiteral("--print, --export-pdf and --find exclude each other."),
                       helpText);
    for (const QCommandLineOption* option : {&pages, &landscape, &printer, &pdf})
        if (parser.isSet(*option) && !printing)
            return Failure(QStringLiteral("--%1 belongs to --print.").arg(option->names().front()),
                           helpText);
    if (parser.isSet(matchCase) && !finding)
        return Failure(QStringLiteral("--match-case belongs to --find."), helpText);
    if (parser.isSet(source) && !printing && !exporting && !finding)
        return Failure(QStringLiteral("--source belongs to --print, --export-pdf or --find."),
                       helpText);
    if (!printing && !exporting && !finding) return result;

    BatchOptions batch;
    if (finding) {
        batch.mode = BatchOptions::Mode::Find;
        batch.findText = parser.value(find);
        batch.matchCase = parser.isSet(matchCase);
        if (batch.findText.isEmpty())
            return Failure(QStringLiteral("--find needs a text."), helpText);
        if (parser.isSet(source)) {
            const QString named = parser.value(source);
            const std::optional<Source> chosen = SourceNamed(named);
            batch.allSources = named == QLatin1String("all");
            if (!chosen && !batch.allSources)
                return Failure(QStringLiteral("Invalid value '%1' for --source: current, meal, "
                                              "YYMM or all is expected.")
                                   .arg(named),
                               helpText);
            if (chosen) batch.source = *chosen;
        }
        result.batch = batch;
        return result;
    }
    batch.mode = printing ? BatchOptions::Mode::Print : BatchOptions::Mode::ExportPdf;
    batch.nazov = parser.value(print);
    batch.exportFolder = parser.value(exportPdf);
    if ((printing && batch.nazov.trimmed().isEmpty()) ||
        (exporting && batch.exportFolder.isEmpty()))
        return Failure(QStringLiteral("--%1 needs a value.").arg(printing ? "print" : "export-pdf"),
                       helpText);
    if (parser.isSet(source)) {
        const std::optional<Source> chosen = SourceNamed(parser.value(source));
        if (!chosen)
            return Failure(QStringLiteral("Invalid value '%1' for --source: current, meal or "
                                          "YYMM is expected.")
                               .arg(parser.value(source)),
                           helpText);
        batch.source = *chosen;
    }
    if (parser.isSet(pages)) {
        static const QRegularExpression range(QStringLiteral("^([0-9]{1,4})-([0-9]{1,4})$"));
        const QRegularExpressionMatch match = range.match(parser.value(pages));
        if (!match.hasMatch())
            return Failure(QStringLiteral("Invalid value '%1' for --pages: FROM-TO such as 2-5 "
                                          "is expected.")
                               .arg(parser.value(pages)),
                           helpText);
        // The window raises a last page below the first to it; typed on a
        // command line such a range is more likely a slip than a wish for one page.
        if (match.captured(2).toInt() < match.captured(1).toInt())
            return Failure(QStringLiteral("Invalid value '%1' for --pages: the last page comes "
                                          "before the first.")
                               .arg(parser.value(pages)),
                           helpText);
        batch.firstPage = match.captured(1);
        batch.lastPage = match.captured(2);
    }
    batch.landscape = parser.isSet(landscape);
    if (parser.isSet(printer) && parser.isSet(pdf))
        return Failure(QStringLiteral("--printer and --pdf exclude each other."), helpText);
    if (parser.isSet(printer)) batch.printer = parser.value(printer);
    if (parser.isSet(pdf)) batch.pdfFile = parser.value(pdf);
    if ((batch.printer && batch.printer->isEmpty()) || (batch.pdfFile && batch.pdfFile->isEmpty()))
        return Failure(QStringLiteral("--printer and --pdf need a value."), helpText);
    result.batch = batch;
    return result;
}
