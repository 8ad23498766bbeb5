// The reader's tests run on a Slovak machine: ANSI 1250, OEM 852, ',' as decimal separator.

#include "platform/CodePages.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    platform::SetUserLocale("sk_SK");
    platform::SetMachineCodePages(1250, 852);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
