#include "app/BatchPrint.h"
#include "app/BrowserStart.h"
#include "app/CommandLine.h"
#include "app/DisplayCheck.h"
#include "app/ErrorGuard.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>

namespace {

QtMessageHandler qtHandler = nullptr;

void OnlyQtErrors(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) qtHandler(type, context, message);
}

// A run from cron or over ssh reports on standard error, and only what the
// tool has to say: Qt's notes about the session it runs in ("XDG_RUNTIME_DIR
// not set" ...) mean nothing to its reader. Qt's errors still go through, and
// so does everything once QT_LOGGING_RULES asks for Qt's messages.
void KeepQtNotesOffStandardError() {
    if (!qEnvironmentVariableIsSet("QT_LOGGING_RULES"))
        qtHandler = qInstallMessageHandler(OnlyQtErrors);
}

} // namespace

int main(int argc, char* argv[]) {
    // The command line decides what kind of application is needed, so it is
    // read before any application object exists.
    const CommandLine commandLine = ParseCommandLine(ArgumentList(argc, argv));
    if (commandLine.exitCode) {
        std::fputs(commandLine.output.toLocal8Bit().constData(), stdout);
        std::fputs(commandLine.errors.toLocal8Bit().constData(), stderr);
        return *commandLine.exitCode;
    }

    if (commandLine.batch) {
        KeepQtNotesOffStandardError();
        // No window: fonts and PDF rendering need no display, whatever the
        // session has, so Qt's options for a display (-platform xcb, -display
        // ...) are not handed on.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        int batchArgc = 1;
        char* batchArgv[] = {argv[0], nullptr};
        QGuiApplication application(batchArgc, batchArgv);
        return RunBatchCommand(commandLine.options, *commandLine.batch);
    }

    if (!DisplayAvailable(ArgumentList(argc, argv))) {
        // Never a dialog nobody can see, and never Qt's abort: the tool says why.
        KeepQtNotesOffStandardError();
        QCoreApplication application(argc, argv);
        return ReportNoDisplay(commandLine.options);
    }

    GuardedApplication application(argc, argv);
    return RunBrowser(commandLine.options);
}
