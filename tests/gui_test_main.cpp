#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

// GUI tests run without a display unless one is asked for: gtest_discover_tests runs this binary
// at build time, where no display may exist.
int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
