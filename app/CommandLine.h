#pragma once
// The tool's command line. What it names overrides the settings files; --help,
// --version and a wrong option end the tool before any window or printer exists.

#include "app/BatchOptions.h"

#include <QString>
#include <QStringList>

#include <optional>

struct CommandLineOptions {
    std::optional<QString> hostFolder;
    std::optional<int> ansiCodePage;
    std::optional<int> oemCodePage;
};

struct CommandLine {
    CommandLineOptions options;
    // Set when the tool is to print or export without a window.
    std::optional<BatchOptions> batch;
    // Set when the tool ends right after parsing: 0 after --help or --version,
    // 2 after a wrong option or value.
    std::optional<int> exitCode;
    QString output; // for standard output
    QString errors; // for standard error
};

// Parses the arguments, the program's name first.
CommandLine ParseCommandLine(const QStringList& arguments);

// The arguments of main as text in the locale's encoding.
QStringList ArgumentList(int argc, char** argv);
