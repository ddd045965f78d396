// Test programs run with a QApplication, as the program does.
#include "platform/Signals.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // As in the program: a dead office or browser must not take the test process with it.
    zk::ignoreBrokenPipes();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
