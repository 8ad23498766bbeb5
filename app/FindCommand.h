#pragma once
// `tlacsub --find TEXT`: the print files of a source, or of all of them,
// searched without a window, one line per match on standard output,
// period<TAB>Nazov<TAB>FilName<TAB>line<TAB>text in UTF-8, sorted by source,
// catalog order, line and column. What cannot be read is named on standard
// error and searched past.

#include "app/BatchOptions.h"

#include <cstdio>
#include <string>

// The exit status: 0 when something was found, 1 when nothing was, 2 when the
// source cannot be searched at all (no meal-calculation folder is set).
int RunFind(const std::string& appFolder, const BatchOptions& options, std::FILE* out,
            std::FILE* err);
