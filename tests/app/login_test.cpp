#include "app/login/login.h"
#include "app/windows/tadmin.h"
#include "app/windows/tform1.h"
#include "tests/support/recording_ui.h"
#include "tests/support/screenshot.h"
#include "tests/support/qt_application.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

using namespace pemvora;
using namespace pemvora::app;

namespace {

class FakeOperators : public OperatorDirectory {
public:
    std::vector<std::pair<std::string, std::string>> rows{{"admin", "579"}, {"李会计", "k8"}};
    bool failing = false;

    std::vector<std::string> loginNames() override
    {
        std::vector<std::string> names;
        for (const auto& r : rows) names.push_back(r.first);
        return names;
    }
    bool hasOperator(const std::string& name, const std::string& password) override
    {
        if (failing) throw std::runtime_error("database is locked");
        for (const auto& r : rows)
            if (r.first == name && r.second == password) return true;
        return false;
    }
};

class CountingShortcuts : public desktop::ShortcutWriter {
public:
    int writes = 0;
    bool write(const desktop::ShortcutSpec&) noexcept override
    {
        ++writes;
        return false;   // a failing shortcut must not matter
    }
};

struct LoginFixture : ::testing::Test {
    FakeOperators operators;
    testsupport::RecordingUi dialogs;
    CountingShortcuts shortcuts;
    LoginController controller{operators, dialogs, shortcuts, desktop::ShortcutSpec{}};
};


} // namespace

TEST_F(LoginFixture, ThreeClicksAtMostWithTheMessageTwice)
{
    struct Case {
        std::vector<std::pair<std::string, std::string>> attempts;
        LoginController::Result last;
        std::size_t messages;
    };
    const Case cases[] = {
        {{{"admin", "579"}}, LoginController::Result::LoggedIn, 0},
        {{{"admin", "x"}, {"admin", "y"}, {"李会计", "k8"}}, LoginController::Result::LoggedIn, 2},
        {{{"admin", "x"}, {"admin", "y"}, {"admin", "z"}}, LoginController::Result::EndApplication, 2},
        {{{"admin", ""}}, LoginController::Result::TryAgain, 1},
    };
    for (const Case& c : cases) {
        testsupport::RecordingUi caseUi;
        CountingShortcuts caseShortcuts;
        LoginController login(operators, caseUi, caseShortcuts, desktop::ShortcutSpec{});
        LoginController::Result r{};
        for (const auto& [name, password] : c.attempts) r = login.logIn(name, password);
        EXPECT_EQ(r, c.last) << c.attempts.size() << " attempts";
        ASSERT_EQ(caseUi.shown.size(), c.messages);
        for (const auto& m : caseUi.shown) {
            EXPECT_EQ(m.text, "口令有误，请重新输入");
            EXPECT_EQ(m.caption, "登录提示");
            EXPECT_EQ(m.icon, ui::Icon::None);
        }
        EXPECT_EQ(caseShortcuts.writes, static_cast<int>(c.attempts.size()));
    }
}

TEST_F(LoginFixture, DatabaseErrorCountsTheClickButShowsOnlyTheError)
{
    operators.failing = true;
    EXPECT_EQ(controller.logIn("admin", "579"), LoginController::Result::Error);
    EXPECT_EQ(controller.attempts(), 1);
    EXPECT_TRUE(dialogs.shown.empty());
    ASSERT_EQ(dialogs.errors.size(), 1u);
    operators.failing = false;
    EXPECT_EQ(controller.logIn("admin", "bad"), LoginController::Result::TryAgain);
    EXPECT_EQ(controller.logIn("admin", "bad"), LoginController::Result::EndApplication);
}

TEST_F(LoginFixture, DialogClearsThePasswordAndFocusesTheUserName)
{
    testsupport::testApplication();
    Tadmin dialog(controller);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Pemvora－登录"));
    EXPECT_EQ(dialog.Label22->text(), QString::fromUtf8("原始系统管理员登陆密码：579"));
    ASSERT_EQ(dialog.name1->count(), 2);
    EXPECT_EQ(dialog.name1->itemText(1), QString::fromUtf8("李会计"));

    dialog.name1->setCurrentIndex(0);
    dialog.pass1->setText("wrong");
    testsupport::saveScreenshot(dialog, "login");
    dialog.pass1->setFocus();
    dialog.BitBtn1->click();
    EXPECT_TRUE(dialog.pass1->text().isEmpty());
    EXPECT_TRUE(dialog.name1->hasFocus());
    EXPECT_EQ(dialog.name1->currentText(), "admin");
    EXPECT_TRUE(dialog.isVisible());

    dialog.pass1->setText("579");
    dialog.BitBtn1->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.endRequested());
}

TEST_F(LoginFixture, ExitAndThirdFailureRequestTheEnd)
{
    testsupport::testApplication();
    {
        Tadmin dialog(controller);
        dialog.show();
        dialog.BitBtn2->click();
        EXPECT_TRUE(dialog.endRequested());
        EXPECT_EQ(controller.attempts(), 0);
    }
    Tadmin dialog(controller);
    dialog.show();
    for (int i = 0; i < 3; ++i) {
        dialog.pass1->setText("nope");
        dialog.BitBtn1->click();
    }
    EXPECT_TRUE(dialog.endRequested());
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

TEST(QuitQuestion, NoKeepsTheChequeWindowYesClosesIt)
{
    testsupport::testApplication();
    testsupport::ScopedRecordingUi dialogs;
    TForm1 window;
    window.show();
    dialogs.answers = {ui::Answer::No};
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "您确定要退出管理系统吗？     ");
    EXPECT_EQ(dialogs.shown[0].caption, "确认");
    EXPECT_EQ(dialogs.shown[0].icon, ui::Icon::Question);
    EXPECT_EQ(dialogs.shown[0].buttons, ui::Buttons::YesNo);

    dialogs.answers = {ui::Answer::Yes};
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
}

TEST(LoginShortcut, EveryClickRewritesTheLauncherInTheDesktopFolder)
{
    namespace fs = std::filesystem;
    const fs::path home = fs::temp_directory_path() / ("pemvora-login-home-" + std::to_string(::getpid()));
    fs::remove_all(home);
    fs::create_directories(home / "Desktop");
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");

    FakeOperators operators;
    testsupport::RecordingUi dialogs;
    desktop::FreedesktopShortcutWriter writer;
    LoginController login(operators, dialogs, writer, desktop::shortcutForThisProgram("/opt/pemvora/pemvora.png"));
    const fs::path launcher = home / "Desktop" / "Pemvora.desktop";
    for (const char* password : {"wrong", "579"}) {
        fs::remove(launcher);
        login.logIn("admin", password);
        ASSERT_TRUE(fs::exists(launcher)) << "after the click with " << password;
        std::ifstream in(launcher);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_NE(text.find("Exec=\"" + fs::read_symlink("/proc/self/exe").string() + "\""), std::string::npos) << text;
        EXPECT_NE(text.find("Path=" + fs::read_symlink("/proc/self/exe").parent_path().string() + "\n"),
                  std::string::npos);
    }
    setenv("HOME", oldHome.c_str(), 1);
    fs::remove_all(home);
}
