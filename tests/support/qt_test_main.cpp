// main() of every window test program: one QApplication on the offscreen
// platform, so the tests need no display and see the same screen everywhere.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    // Before the first Qt call: the platform is chosen when QApplication starts.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    // The tests quit the event loop themselves; a closed window must not do it behind their back.
    QApplication::setQuitOnLastWindowClosed(false);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
