// Test programs of the widget-free layers run with a QCoreApplication: they cannot load the
// display, the widgets or the office bridge even by mistake.
#include "platform/Signals.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    zk::ignoreBrokenPipes();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
