// Runs the widget tests inside one application object, headless unless a platform is chosen.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/qt/accessibility.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    fernwick::qt::installAccessibility();
    return RUN_ALL_TESTS();
}
