// The reference lists: numbering of new rows, the checks before posting,
// moves that never write an unchecked row, deletion, and the payee picker.

#include "app/lists/referencelists.h"
#include "tests/app/datafixture.h"
#include "tests/support/recording_ui.h"

#include <gtest/gtest.h>

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

TEST_F(ListsFixture, PostsAreRefusedWithTheirMessages)
{
    open(true);
    struct Case {
        ListController ReferenceLists::*list;
        const char* column;
        const char* name;
        const char* message;
    };
    const Case cases[] = {
        {&ReferenceLists::purposes, "ytmc", "", "请输入用途名称!"},
        {&ReferenceLists::purposes, "ytmc", "货款", "用途名称重复!"},
        {&ReferenceLists::payees, "skdw", "", "请输入单位名称!"},
        {&ReferenceLists::payees, "skdw", "国网北京市电力公司", "单位名称重复,请重新输入!"},
        {&ReferenceLists::banks, "bank_name", "", "请输入银行名称和帐号!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        ui.shown.clear();
        ListController& list = (*lists).*(c.list);
        ASSERT_TRUE(list.insert());
        list.cursor().setValue(c.column, Value(std::string(c.name)));
        if (&list == &lists->banks) list.cursor().setValue("bank_zh", Value("0200001"));
        const int rows = list.cursor().recordCount();
        EXPECT_FALSE(list.post());
        EXPECT_FALSE(list.first());   // moving away does not write it either
        EXPECT_EQ(messages(), (std::vector<std::string>{c.message, c.message}));
        EXPECT_EQ(ui.shown[0].caption, "提示");
        EXPECT_EQ(list.cursor().state(), DatasetState::Insert);
        EXPECT_EQ(list.cursor().recordCount(), rows);
        list.cursor().cancel();
    }
}

TEST_F(ListsFixture, EditedPurposeWithItsOwnNameIsItsOwnDuplicate)
{
    open(true);
    lists->ad_yt.edit();
    lists->ad_yt.setValue("ytmc", Value("水电费"));
    EXPECT_FALSE(lists->purposes.post());
    EXPECT_EQ(messages(), std::vector<std::string>{"用途名称重复!"});
}

TEST_F(ListsFixture, BankWithNameAndNoAccountIsStored)
{
    open(true);
    ASSERT_TRUE(lists->banks.insert());
    lists->AD_bank.setValue("bank_name", Value("交通银行"));
    ASSERT_TRUE(lists->banks.post());
    data->rereadBanks();
    EXPECT_TRUE(data->BANCK.locate("bank_name", Value("交通银行")));
    EXPECT_EQ(data->BANCK.integer("bank_dh"), 6);
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
