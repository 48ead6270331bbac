#include "cadsim/preferences.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

namespace fs = std::filesystem;
using cadsim::PreferenceStore;

class PreferenceFile : public ::testing::Test {
protected:
    const QTemporaryDir temporary;  // the process's own
    const fs::path folder = temporary.path().toStdString();
    const std::string path = (folder / "sub" / "preferences.json").string();
};

TEST_F(PreferenceFile, SettersRefuseUnknownNumbersAndValuesOutOfRangeAndChangeNothing)
{
    PreferenceStore store(path);
    const cadsim::TiffPreferences before = store.values();
    for (auto [id, value] :
         {std::pair{5, 1}, {6, 2}, {8, 3}, {9, 0}, {9, 70000}, {10, -1}, {10, 13}, {11, 0}})
        EXPECT_FALSE(store.setInteger(id, value)) << id << " = " << value;
    for (auto [id, value] :
         {std::pair{7, 0.3}, {8, 0.0}, {9, -0.2}, {9, std::numeric_limits<double>::quiet_NaN()}})
        EXPECT_FALSE(store.setReal(id, value)) << id << " = " << value;
    EXPECT_FALSE(store.setToggle(27, true));
    EXPECT_EQ(store.values(), before);
    EXPECT_FALSE(store.integer(12).has_value());
    EXPECT_FALSE(store.real(10).has_value());
}

TEST_F(PreferenceFile, AcceptedValuesSurviveARestartAndAFullDiskFailsTheSetterKeepingTheOldFile)
{
    PreferenceStore store(path);
    EXPECT_TRUE(fs::exists(path));          // the first start writes the file
    EXPECT_TRUE(store.setInteger(9, 150));  // outside the usual list, still a resolution
    EXPECT_TRUE(store.setInteger(10, 12));
    EXPECT_TRUE(store.setToggle(28, false));
    EXPECT_TRUE(store.setReal(9, 0.123));
    EXPECT_EQ(PreferenceStore(path).values(), store.values());
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no file size limit a process can set to stand for a full disk";
#else
    // Writes past 16 bytes fail (EFBIG), as on a full disk.
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    const rlimit full{16, old.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &full);
    const bool accepted = store.setInteger(9, 300) || store.setToggle(28, true) || store.setReal(9, 0.2);
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(accepted);
    EXPECT_EQ(store.integer(9), 150);
    const PreferenceStore again(path);
    EXPECT_EQ(again.values(), store.values());
    EXPECT_TRUE(again.loadWarning().empty()) << again.loadWarning();
#endif
}

TEST_F(PreferenceFile, ABrokenFileFallsBackToDefaultsAndSaysWhich)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << R"({"TiffPrintDPI": 0, "TiffImageType": 1, "TiffPrintScaleToFit": "ja"})";
    PreferenceStore store(path);
    EXPECT_EQ(store.integer(9), 200);
    EXPECT_EQ(store.integer(7), 1);  // the good value is kept
    EXPECT_EQ(store.toggle(28), true);
    EXPECT_NE(store.loadWarning().find("TiffPrintDPI"), std::string::npos);
    EXPECT_NE(store.loadWarning().find("TiffPrintScaleToFit"), std::string::npos);

    std::ofstream(path) << "not json";
    EXPECT_NE(PreferenceStore(path).loadWarning().find("keine gültigen Einstellungen"), std::string::npos);
}

}  // namespace
