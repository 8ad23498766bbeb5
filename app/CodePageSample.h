#pragma once
// A sample of the shown catalog as other code pages would show it: the
// settings let the user see the letters come right before saving.

#include "app/Source.h"

#include <string>

struct CodePageSample {
    std::u16string popis; // the entry's description, as the list would show it
    std::u16string line;  // a line of its print file, as the preview would show it
};

// The first entry of the source's catalog whose print file is there (else
// the first entry), read with the given ANSI and OEM pages as the machine's:
// its Popis, and the first line of its print file that holds more than ASCII
// (else its first line that is not blank). Empty texts when the catalog cannot
// be read. The machine's pages are the same afterwards.
CodePageSample SampleWithCodePages(int ansi, int oem, const Source& source,
                                   const HostFolders& host);
