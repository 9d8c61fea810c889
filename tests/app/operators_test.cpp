#include "app/data/tdata.h"
#include "app/login/dataoperators.h"
#include "app/login/login.h"
#include "app/login/operators.h"
#include "app/windows/tform6.h"
#include "tests/app/datafixture.h"
#include "tests/support/recording_ui.h"
#include "tests/support/qt_application.h"

#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

using namespace pemvora;
namespace fixture = pemvora::data::testing;

namespace {

class NoShortcuts : public desktop::ShortcutWriter {
public:
    bool write(const desktop::ShortcutSpec&) noexcept override { return true; }
};

std::vector<std::string> storedOperators(const std::string& path)
{
    data::TData reopened(path);
    std::vector<std::string> names;
    for (reopened.users.first(); !reopened.users.eof(); reopened.users.next())
        names.push_back(reopened.users.text("user_name"));
    return names;
}

} // namespace

TEST(OperatorList, TheLastOperatorCannotBeDeleted)
{
    fixture::TempDir dir;
    const std::string path = fixture::makeDatabase(dir, {"INSERT INTO admin (user_name, password) VALUES ('王出纳', '1')"});
    {
        data::TData data(path);
        data.users.last();
        app::deleteOperatorRow(data.users);
        EXPECT_EQ(data.users.recordCount(), 1);
        app::deleteOperatorRow(data.users);   // one left: nothing happens
        EXPECT_EQ(data.users.recordCount(), 1);
        data.users.checkBrowseMode();
    }
    EXPECT_EQ(storedOperators(path), std::vector<std::string>{"admin"});
}

TEST(OperatorList, LoginListRunsFromTheCurrentRow)
{
    fixture::TempDir dir;
    const std::string path = fixture::makeDatabase(dir, {"INSERT INTO admin (user_name, password) VALUES ('王出纳', 'a''b')"});
    data::TData data(path);
    app::DataOperators operators(data);
    EXPECT_EQ(operators.loginNames(), (std::vector<std::string>{"admin", "王出纳"}));
    EXPECT_TRUE(operators.loginNames().empty()) << "the list is not re-read from the start";
}

// The login on the real operator table: the typed name and password are
// compared as values, so quotes, comment marks, wildcards and the classic
// injection texts match only a row that holds exactly them.
TEST(LoginLookUp, TypedNamesAndPasswordsAreComparedAsValuesInTheDatabase)
{
    fixture::TempDir dir;
    const std::string path = fixture::makeDatabase(dir, {
        "INSERT INTO admin (user_name, password) VALUES ('o''brien', 'x'' OR ''1''=''1')",
        "INSERT INTO admin (user_name, password) VALUES ('王出纳', 'a''b')",
    });
    data::TData data(path);
    // A name with both kinds of quote, stored as the operator window stores rows.
    data.users.last();
    data.users.append();
    data.users.setValue("user_name", Value("O'Brien \"x\""));
    data.users.setValue("password", Value("%"));
    data.users.post();
    app::DataOperators operators(data);

    struct Case { const char* name; const char* password; bool logsIn; };
    const Case cases[] = {
        {"admin", "579", true},
        {"admin", "5790", false},
        {"Admin", "579", false},
        {"admin", "579 ", false},
        {"admin", "", false},
        {"", "", false},
        {"' OR '1'='1", "' OR '1'='1", false},
        {"admin' --", "", false},
        {"%", "%", false},
        {"o'brien", "x' OR '1'='1", true},
        {"o'brien", "x", false},
        {"王出纳", "a'b", true},
        {"O'Brien \"x\"", "%", true},
        {"O'Brien \"x\"", "anything", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " / " + c.password);
        testsupport::RecordingUi dialogs;
        NoShortcuts shortcuts;
        app::LoginController login(operators, dialogs, shortcuts, desktop::ShortcutSpec{});
        EXPECT_EQ(login.logIn(c.name, c.password),
                  c.logsIn ? app::LoginController::Result::LoggedIn : app::LoginController::Result::TryAgain);
        EXPECT_EQ(dialogs.shown.size(), c.logsIn ? 0u : 1u);
        EXPECT_TRUE(dialogs.errors.empty());
    }
    // An operator stored by another program since the start logs in: each
    // attempt looks again.
    fixture::runSql(path, {"INSERT INTO admin (user_name, password) VALUES ('新会计', '1')"});
    EXPECT_TRUE(operators.hasOperator("新会计", "1"));
}

TEST(OperatorWindow, RowsAddedInTheGridAreStoredWhenTheWindowCloses)
{
    testsupport::testApplication();
    testsupport::ScopedRecordingUi dialogs;
    fixture::TempDir dir;
    const std::string path = fixture::makeDatabase(dir);
    {
        data::TData data(path);
        app::TForm6 window(data);
        window.show();
        EXPECT_EQ(window.windowTitle(), QString::fromUtf8("用户管理"));
        QAbstractItemModel* model = window.grid->model();
        EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("用户名"));
        EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QString::fromUtf8("密码"));
        ASSERT_EQ(model->rowCount(), 1);
        EXPECT_EQ(model->data(model->index(0, 1)).toString(), "579");   // passwords in plain text

        window.BitBtn1->click();
        ASSERT_EQ(model->rowCount(), 2);
        EXPECT_EQ(window.grid->currentIndex().row(), 1);
        EXPECT_TRUE(model->setData(model->index(1, 0), QString::fromUtf8("李会计")));
        EXPECT_TRUE(model->setData(model->index(1, 1), "k8"));
        // Moving back to the first row writes the new one.
        window.grid->setCurrentIndex(model->index(0, 0));
        EXPECT_EQ(data.users.recordCount(), 2);

        window.BitBtn1->click();
        EXPECT_TRUE(model->setData(model->index(2, 0), QString::fromUtf8("张三")));
        window.BitBtn3->click();   // closing writes the row being edited
        EXPECT_FALSE(window.isVisible());
    }
    EXPECT_EQ(storedOperators(path), (std::vector<std::string>{"admin", "李会计", "张三"}));
    EXPECT_TRUE(dialogs.errors.empty());
}
