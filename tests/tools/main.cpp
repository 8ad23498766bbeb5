// The demo is Slovak: catalogs are read on a machine with ANSI 1250 and OEM 852.

#include "platform/CodePages.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    platform::SetUserLocale("sk_SK");
    platform::SetMachineCodePages(1250, 852);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
