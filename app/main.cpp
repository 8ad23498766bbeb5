#include "app/BatchPrint.h"
#include "app/BrowserStart.h"
#include "app/CommandLine.h"
#include "app/ErrorGuard.h"

#include <QGuiApplication>

#include <cstdio>

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
        // No window: fonts and PDF rendering need no display, whatever the session has.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication application(argc, argv);
        return RunBatchCommand(commandLine.options, *commandLine.batch);
    }

    GuardedApplication application(argc, argv);
    return RunBrowser(commandLine.options);
}
