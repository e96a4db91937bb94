// Entry point of the test programs of the windows: one QApplication for the
// tests that open dialogs (run with QT_QPA_PLATFORM=offscreen), then GoogleTest.
#include <QApplication>
#include <gtest/gtest.h>

#include "platform/Locale.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QvFixNumericLocale();
    return RUN_ALL_TESTS();
}
