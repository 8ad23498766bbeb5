#include "app/MachineCodePages.h"

#include "dbf/Dbf_Lang.h"
#include "platform/CodePages.h"

void UseMachineCodePages(int ansi, int oem) {
    platform::SetMachineCodePages(ansi, oem);
    // The table reader keeps the pages it found at its first table.
    dbf::RetakeMachineCodePages();
}
