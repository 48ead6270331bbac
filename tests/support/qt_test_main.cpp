// main() of every window test program: one QApplication on the offscreen
// platform, so the tests need no display and see the same screen everywhere.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>

int main(int argc, char** argv)
{
    // Before the first Qt call: the platform is chosen when QApplication starts.
    // KUP_TEST_DPI=144 gives the offscreen screen that logical resolution (unscaled),
    // for the tests of what must fit at any resolution; KUP_TEST_DPI=144@1024x768 also its
    // size (1280x1024 otherwise). Under wine, tools/wine_tests.sh sets both for the desktop.
    // KUP_TEST_PLATFORM chooses another platform: under wine "windows" on a virtual display,
    // because the offscreen platform of Qt for Windows knows no fonts at all.
    std::string platform = "offscreen", config;
    if (const char* chosen = std::getenv("KUP_TEST_PLATFORM"))
        platform = chosen;
    if (const char* dpi = std::getenv("KUP_TEST_DPI")) {
        if (platform == "offscreen") {
            // One file per process: programs run side by side would read each other's half-written file.
            config = testing::TempDir() + "kup_offscreen_" + dpi + "_" +
                     std::to_string(std::random_device()()) + ".json";
            int width = 1280, height = 1024;
            if (const char* size = std::strchr(dpi, '@'))
                std::sscanf(size, "@%dx%d", &width, &height);
            std::ofstream(config) << R"({"screens": [{"name": "kup", "width": )" << width << R"(, "height": )"
                                  << height << R"(, "logicalDpi": )" << std::atoi(dpi) << "}]}";
            platform += ":configfile=" + config;
        }
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    }
    qputenv("QT_QPA_PLATFORM", platform.c_str());
    QApplication app(argc, argv);
    if (!config.empty())
        std::remove(config.c_str());  // read by now
    // The tests quit the event loop themselves; a closed window must not do it behind their back.
    QApplication::setQuitOnLastWindowClosed(false);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
