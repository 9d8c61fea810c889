// The reference lists: numbering of new rows, the checks before posting,
// moves that never write an unchecked row, deletion, and the payee picker.

#include "app/lists/referencelists.h"
#include "tests/app/datafixture.h"
#include "tests/support/recording_ui.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace pemvora;
using namespace pemvora::app;
using namespace pemvora::data::testing;
using pemvora::testsupport::RecordingUi;
using data::DatasetState;

namespace {

struct ListsFixture : ::testing::Test {
    TempDir dir;
    RecordingUi ui;
    std::unique_ptr<data::TData> data;
    std::unique_ptr<ReferenceLists> lists;

    void open(bool demo, std::initializer_list<std::string> statements = {})
    {
        const std::string path = dir.file("banck.mdb");
        data::writeChequeDatabase(path, {.demo = demo});
        runSql(path, statements);
        data = std::make_unique<data::TData>(path);
        lists = std::make_unique<ReferenceLists>(*data, ui);
    }
    std::vector<std::string> messages() const
    {
        std::vector<std::string> texts;
        for (const auto& m : ui.shown) texts.push_back(m.text);
        return texts;
    }
};

TEST_F(ListsFixture, CursorsOpenOnTheirLastRow)
{
    open(true);
    EXPECT_EQ(lists->AD_bank.text("bank_name"), "招商银行北京分行营业部");
    EXPECT_EQ(lists->ad_yt.text("ytmc"), "水电费");
    EXPECT_EQ(lists->adskdw.recNo(), 1);
}

TEST_F(ListsFixture, FirstPurposeInAnEmptyTableGetsIdOne)
{
    open(false);
    ASSERT_TRUE(lists->purposes.insert());
    EXPECT_EQ(lists->ad_yt.integer("ytdh"), 1);
    lists->ad_yt.setValue("ytmc", Value("货款"));
    ASSERT_TRUE(lists->purposes.post());
    ASSERT_TRUE(lists->purposes.insert());
    EXPECT_EQ(lists->ad_yt.integer("ytdh"), 2);
}

TEST_F(ListsFixture, NewBankAndPayeeAreNumbered)
{
    open(true);
    ASSERT_TRUE(lists->banks.insert());
    EXPECT_EQ(lists->AD_bank.integer("bank_dh"), 6);
    ASSERT_TRUE(lists->payees.insert());
    EXPECT_EQ(lists->adskdw.integer("dw_dh"), 8);
}

TEST_F(ListsFixture, FirstPayeeOfAnEmptyTableIsAnErrorNotARow)
{
    open(false);
    EXPECT_FALSE(lists->payees.insert());
    EXPECT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(lists->adskdw.state(), DatasetState::Browse);
}

// The checks before a reference row is posted, in their order: a name is
// required (before any duplicate check, even where an empty name is stored),
// and purpose and payee names must not be stored already, counting rows stored
// by another program since the start and rows just posted here. A refused row
// stays pending, also when the cursor tries to move away.
TEST_F(ListsFixture, PostsAreCheckedAndRefusedWithTheirMessages)
{
    open(true, {"INSERT INTO YT (ytmc, ytdh) VALUES ('', 7)"});
    struct Case {
        ListController ReferenceLists::*list;
        const char* column;
        Value name;
        const char* message;   // nullptr: the row is stored, with the id
        int id;
    };
    // Ids of stored rows: purposes and banks by count, payees after the last id.
    const Case cases[] = {
        {&ReferenceLists::purposes, "ytmc", Value::null(), "请输入用途名称!", 0},
        {&ReferenceLists::purposes, "ytmc", "", "请输入用途名称!", 0},
        {&ReferenceLists::purposes, "ytmc", "货款", "用途名称重复!", 0},
        {&ReferenceLists::purposes, "ytmc", "货款 ", nullptr, 9},
        {&ReferenceLists::purposes, "ytmc", "货款 ", "用途名称重复!", 0},   // just posted
        {&ReferenceLists::purposes, "ytmc", "印花税", nullptr, 10},
        {&ReferenceLists::purposes, "ytmc", "会议费", "用途名称重复!", 0},   // stored elsewhere
        {&ReferenceLists::payees, "skdw", Value::null(), "请输入单位名称!", 0},
        {&ReferenceLists::payees, "skdw", "", "请输入单位名称!", 0},
        {&ReferenceLists::payees, "skdw", "国网北京市电力公司", "单位名称重复,请重新输入!", 0},
        {&ReferenceLists::payees, "skdw", "北京新华书店", nullptr, 9},
        {&ReferenceLists::payees, "skdw", "北京新华书店", "单位名称重复,请重新输入!", 0},
        {&ReferenceLists::payees, "skdw", "北京燕山出版社", "单位名称重复,请重新输入!", 0},   // stored elsewhere
        {&ReferenceLists::banks, "bank_name", "", "请输入银行名称和帐号!", 0},
        {&ReferenceLists::banks, "bank_name", "工商银行海淀支行", nullptr, 6},
        {&ReferenceLists::banks, "bank_name", "工商银行海淀支行", nullptr, 7},   // bank names may repeat
    };
    runSql(data->path(), {"INSERT INTO YT (ytmc, ytdh) VALUES ('会议费', 8)",
                          "INSERT INTO skdw (skdw, dw_dh, dwjm) VALUES ('北京燕山出版社', 8, 'ysc')"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toText() + " -> " + (c.message ? c.message : "stored"));
        ui.shown.clear();
        ListController& list = (*lists).*(c.list);
        ASSERT_TRUE(list.insert());
        list.cursor().setValue(c.column, c.name);
        if (&list == &lists->banks) list.cursor().setValue("bank_zh", Value("0200001"));
        const int rows = list.cursor().recordCount();
        if (!c.message) {
            const char* idColumn = &list == &lists->purposes ? "ytdh" : &list == &lists->payees ? "dw_dh" : "bank_dh";
            EXPECT_EQ(list.cursor().value(idColumn), Value(c.id));
            EXPECT_TRUE(list.post());
            EXPECT_TRUE(ui.shown.empty());
            EXPECT_EQ(list.cursor().state(), DatasetState::Browse);
            EXPECT_EQ(list.cursor().recordCount(), rows + 1);
            continue;
        }
        EXPECT_FALSE(list.post());
        EXPECT_FALSE(list.first());   // moving away does not write it either
        EXPECT_EQ(messages(), (std::vector<std::string>{c.message, c.message}));
        EXPECT_EQ(ui.shown[0].caption, "提示");
        EXPECT_EQ(ui.shown[0].icon, ui::Icon::Information);
        EXPECT_EQ(list.cursor().state(), DatasetState::Insert);
        EXPECT_EQ(list.cursor().recordCount(), rows);
        list.cursor().cancel();
    }
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(ListsFixture, EditedPurposeWithItsOwnNameIsItsOwnDuplicate)
{
    open(true);
    lists->ad_yt.edit();
    lists->ad_yt.setValue("ytmc", Value("水电费"));
    EXPECT_FALSE(lists->purposes.post());
    EXPECT_EQ(messages(), std::vector<std::string>{"用途名称重复!"});
    // Renamed, it is stored.
    lists->ad_yt.setValue("ytmc", Value("水电燃气费"));
    EXPECT_TRUE(lists->purposes.post());
    EXPECT_EQ(messages(), std::vector<std::string>{"用途名称重复!"});
}

// A bank needs its name only: with a name and no account number it is stored,
// numbered by the count of banks, and the cheque window's bank list finds it
// once the list is read again.
TEST_F(ListsFixture, BankWithNameAndNoAccountIsStored)
{
    struct Case { bool demo; const char* name; int id; };
    const Case cases[] = {
        {false, "工商银行海淀支行", 1},   // the first bank of an empty table
        {true, "交通银行", 6},            // after the five of the demo
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.shown.clear();
        lists.reset();
        data.reset();
        std::filesystem::remove(dir.file("banck.mdb"));
        open(c.demo);
        ASSERT_TRUE(lists->banks.insert());
        EXPECT_EQ(lists->AD_bank.value("bank_dh"), Value(c.id));
        lists->AD_bank.setValue("bank_mb", Value("工商银行"));
        EXPECT_FALSE(lists->banks.post());   // no name yet
        EXPECT_EQ(messages(), std::vector<std::string>{"请输入银行名称和帐号!"});
        lists->AD_bank.setValue("bank_name", Value(c.name));
        ASSERT_TRUE(lists->banks.post());
        data->rereadBanks();
        ASSERT_TRUE(data->BANCK.locate("bank_name", Value(c.name)));
        EXPECT_EQ(data->BANCK.integer("bank_dh"), c.id);
        EXPECT_TRUE(data->BANCK.value("bank_zh").isNull());
    }
}

TEST_F(ListsFixture, UnmodifiedNewRowIsGivenUpWhenMovingAway)
{
    open(true);
    ASSERT_TRUE(lists->payees.insert());
    ASSERT_TRUE(lists->payees.first());
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(lists->adskdw.recordCount(), 7);
}

TEST_F(ListsFixture, DeleteAsksFirst)
{
    open(true);
    ui.answers = {ui::Answer::Cancel, ui::Answer::Ok};
    EXPECT_FALSE(lists->purposes.remove());
    EXPECT_EQ(lists->ad_yt.recordCount(), 6);
    EXPECT_TRUE(lists->purposes.remove());
    EXPECT_EQ(lists->ad_yt.recordCount(), 5);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].icon, ui::Icon::Question);
}

// The purpose on screen was removed by another program in the meantime: the
// delete is an error naming the table, not a success, and the list keeps it.
TEST_F(ListsFixture, DeletingARowRemovedElsewhereIsAnError)
{
    open(true);
    runSql(data->path(), {"DELETE FROM YT WHERE ytmc = '水电费'"});
    ui.answers = {ui::Answer::Ok};
    EXPECT_FALSE(lists->purposes.remove());
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("table yt"), std::string::npos) << ui.errors[0];
    EXPECT_EQ(lists->ad_yt.recordCount(), 6);
    EXPECT_EQ(lists->ad_yt.text("ytmc"), "水电费");
    EXPECT_EQ(lists->ad_yt.state(), DatasetState::Browse);
}

TEST_F(ListsFixture, UserUnitIsSavedAndStartedWhenMissing)
{
    open(false);
    data->SYDW.edit();   // the window's boxes start the row
    data->SYDW.setValue("uses_dwmc", Value("测试单位"));
    ASSERT_TRUE(lists->saveUserUnit());
    data::TData again(data->path());
    EXPECT_EQ(again.SYDW.text("uses_dwmc"), "测试单位");
}

struct PickerFixture : ListsFixture {
    std::vector<std::string> chosen;
    std::unique_ptr<PayeePicker> picker;
    void SetUp() override
    {
        open(true, {"UPDATE skdw SET dwjm = NULL WHERE dw_dh = 3"});
        picker = std::make_unique<PayeePicker>(*lists, ui,
                                               [this](const std::string& name) { chosen.push_back(name); });
    }
};

TEST_F(PickerFixture, ShortCodeFoundChoosesThePayee)
{
    EXPECT_TRUE(picker->shortCodeLeft("hdbg"));
    EXPECT_EQ(messages(), std::vector<std::string>{"是该单位吗!"});
    EXPECT_EQ(ui.shown[0].buttons, ui::Buttons::Ok);
    EXPECT_EQ(chosen, std::vector<std::string>{"北京宏达办公设备有限公司"});
}

TEST_F(PickerFixture, ShortCodeNotFoundKeepsThePickerOpen)
{
    for (const char* code : {"nope", "", "HDBG", "hdb"}) {
        SCOPED_TRACE(code);
        ui.shown.clear();
        EXPECT_FALSE(picker->shortCodeLeft(code));
        EXPECT_EQ(messages(), std::vector<std::string>{"请增加新单位!"});
    }
    EXPECT_TRUE(chosen.empty());
}

TEST_F(PickerFixture, ConfirmTakesTheCurrentRow)
{
    lists->adskdw.setRecNo(5);
    EXPECT_TRUE(picker->confirm());
    EXPECT_EQ(chosen, std::vector<std::string>{"中关村科技园物业管理有限公司"});
    EXPECT_TRUE(ui.shown.empty());
}

} // namespace
