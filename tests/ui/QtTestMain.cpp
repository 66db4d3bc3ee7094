#include <QApplication>

#include <gtest/gtest.h>

#include "PageFetch.h"

int main(int argc, char* argv[])
{
    // The window tests need no screen, also when ctest lists them at build time.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    InitPageFetch();
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
