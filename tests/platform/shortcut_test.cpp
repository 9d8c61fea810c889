#include "platform/desktop/shortcut.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using namespace pemvora::desktop;

namespace {

std::string readFile(const fs::path& p)
{
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A HOME of its own for each test.
class TempHome : public ::testing::Test {
protected:
    void SetUp() override
    {
        home = fs::temp_directory_path() / ("pemvora-home-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(home);
        fs::create_directories(home);
        if (const char* h = std::getenv("HOME")) oldHome = h;
        setenv("HOME", home.c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
    }
    void TearDown() override
    {
        setenv("HOME", oldHome.c_str(), 1);
        fs::remove_all(home);
    }
    fs::path home;
    std::string oldHome;
};

ShortcutSpec sampleSpec()
{
    ShortcutSpec spec;
    spec.target = "/opt/pemvora dir/pemvora";
    spec.workingFolder = "/opt/pemvora dir";
    spec.icon = "/opt/pemvora dir/pemvora.png";
    return spec;
}

} // namespace

TEST_F(TempHome, WritesAnExecutableLauncherIntoTheDesktopFolder)
{
    fs::create_directories(home / "Desktop");
    FreedesktopShortcutWriter writer;
    ASSERT_TRUE(writer.write(sampleSpec()));
    const fs::path file = home / "Desktop" / "Pemvora.desktop";
    const std::string text = readFile(file);
    EXPECT_NE(text.find("[Desktop Entry]\n"), std::string::npos);
    EXPECT_NE(text.find("Exec=\"/opt/pemvora dir/pemvora\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Path=/opt/pemvora dir\n"), std::string::npos);
    EXPECT_NE(text.find("Comment=Pemvora\n"), std::string::npos);
    EXPECT_NE(text.find("Icon=/opt/pemvora dir/pemvora.png\n"), std::string::npos);
    EXPECT_NE(fs::status(file).permissions() & fs::perms::owner_exec, fs::perms::none);

    // Rewritten, not appended to.
    ASSERT_TRUE(writer.write(sampleSpec()));
    EXPECT_EQ(readFile(file), text);
}

TEST_F(TempHome, FollowsTheUserDirsConfiguration)
{
    fs::create_directories(home / ".config");
    fs::create_directories(home / "桌面");
    std::ofstream(home / ".config" / "user-dirs.dirs") << "# comment\nXDG_DESKTOP_DIR=\"$HOME/桌面\"\n";
    EXPECT_EQ(desktopFolder(), home / "桌面");
    ASSERT_TRUE(FreedesktopShortcutWriter().write(sampleSpec()));
    EXPECT_TRUE(fs::exists(home / "桌面" / "Pemvora.desktop"));
}

TEST_F(TempHome, CreatesNoFolderAndReportsFailureQuietly)
{
    EXPECT_FALSE(FreedesktopShortcutWriter().write(sampleSpec()));
    EXPECT_FALSE(fs::exists(home / "Desktop"));
}

TEST_F(TempHome, QuotesSpecialCharactersInExec)
{
    fs::create_directories(home / "Desktop");
    ShortcutSpec spec = sampleSpec();
    spec.target = "/opt/a\"b$c";
    ASSERT_TRUE(FreedesktopShortcutWriter().write(spec));
    // The quote and dollar are escaped for Exec, then the backslash for the string.
    EXPECT_NE(readFile(home / "Desktop" / "Pemvora.desktop").find("Exec=\"/opt/a\\\\\"b\\\\$c\"\n"), std::string::npos);
}
