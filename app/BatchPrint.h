#pragma once
// Printing from the command line, without a window and without a display: one
// entry on a printer or into a PDF file, or every entry of a source as PDF
// files. Reasons for a failure go to standard error.

#include "app/BatchOptions.h"
#include "app/CommandLine.h"

#include <filesystem>
#include <string>

// The file name an entry's Nazov (UTF-8) gets: blanks at its ends dropped,
// characters a file name cannot hold replaced by '_', never empty or a dot name.
std::string PdfFileStem(const std::string& nazov);

// Runs the batch on the host folder (ending in the separator). The exit status:
// 0 when the spooler accepted every job or every PDF file was written
// completely, 1 otherwise. Needs a QGuiApplication; the machine's code pages
// must be set.
int RunBatch(const std::string& appFolder, const BatchOptions& options);

// The whole run for a command line that names a batch: the settings resolved
// as for the window (notices on standard error), then RunBatch.
int RunBatchCommand(const CommandLineOptions& options, const BatchOptions& batch);
