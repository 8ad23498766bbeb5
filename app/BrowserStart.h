#pragma once
// Starting the window: the settings are resolved and reported, the machine's
// code pages set, and the window opened on the host's folder.

#include "app/CommandLine.h"
#include "app/StartupSettings.h"

#include <optional>

// Resolves the settings from the default settings files, shows each notice on
// standard error and in a message box, and sets the machine's code pages.
// Nothing when the host folder cannot be used: its message has been shown.
std::optional<StartupSettings> PrepareBrowser(const CommandLineOptions& options);

// Without a display the window cannot open: the settings' problems and that
// are told on standard error, and the exit status is 1. Needs a core
// application object only.
int ReportNoDisplay(const CommandLineOptions& options);

// Opens the window and runs until it is closed; the tool's exit status.
// Needs the application object.
int RunBrowser(const CommandLineOptions& options);
