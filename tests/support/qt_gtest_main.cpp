#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

// Widget tests run without a display: the offscreen platform unless the caller chose one
// (for example xcb under Xvfb for screenshots).
int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
