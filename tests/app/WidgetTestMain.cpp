// Widget tests run under GoogleTest with one application for the whole run.
#include "app/ErrorGuard.h"
#include "platform/CodePages.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Also when the tests are listed at build time, where no display may exist.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // A Slovak office machine: catalogs in 1250, print files in 852.
    platform::SetUserLocale("sk_SK");
    platform::SetMachineCodePages(1250, 852);
    GuardedApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
