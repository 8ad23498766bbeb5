#include "app/BrowserStart.h"
#include "app/CommandLine.h"
#include "app/ErrorGuard.h"

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

    GuardedApplication application(argc, argv);
    return RunBrowser(commandLine.options);
}
