// Start-up tests run under GoogleTest with one application for the whole run;
// unlike the window tests, the code pages are left to the locale and settings.
#include "app/ErrorGuard.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // An English desktop, whatever the machine running the tests uses.
    qputenv("LANG", "en_US.UTF-8");
    qunsetenv("LC_ALL");
    qunsetenv("LC_COLLATE");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    GuardedApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
