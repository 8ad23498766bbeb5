// The widget tests need one application object for the whole run, on Qt's
// offscreen platform unless a display is asked for explicitly.
#include "platform/CodePages.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    platform::SetMachineCodePages(1250, 852);
    return RUN_ALL_TESTS();
}
