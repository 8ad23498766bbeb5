#include "platform/CodePages.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Slovak collation ("ch" after "h") and Central European code pages, whatever the machine has.
    platform::SetUserLocale("sk_SK");
    platform::SetMachineCodePages(1250, 852);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
