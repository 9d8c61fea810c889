// The cheque window's logic on a demo database: showing, capitals, linkage,
// new cheque, the checks of the save in their order, and storage.

#include "app/cheque/chequecontroller.h"
#include "app/capitals/capitals.h"
#include "app/data/chequelist.h"
#include "app/lists/referencelists.h"
#include "tests/app/datafixture.h"
#include "tests/support/recording_ui.h"

#include <gtest/gtest.h>

#include <memory>

using namespace pemvora;
using namespace pemvora::app;
using namespace pemvora::data::testing;
using pemvora::testsupport::RecordingUi;

namespace {

const DateTime kNow = encodeDateTime({2026, 12, 10}, {9, 30, 0, 0});

// The demo database, its data module and a shown cheque window.
struct ChequeFixture : ::testing::Test {
    TempDir dir;
    std::string path;
    RecordingUi ui;
    std::unique_ptr<data::TData> data;
    std::unique_ptr<ChequeController> form;

    void SetUp() override
    {
        path = dir.file("banck.mdb");
        data::writeChequeDatabase(path, {.demo = true});
        start();
    }
    void start()
    {
        form = std::make_unique<ChequeController>(ui, [] { return kNow; });
        data = std::make_unique<data::TData>(path);
        form->attachData(*data);
        form->show();
    }
    void restart()
    {
        form.reset();
        data.reset();
        start();
    }
    // A new cheque with every box filled in, ready to be saved.
    void fillNewCheque(const std::string& number)
    {
        form->newCheque();
        form->typeTyped("现金");
        form->purposeTyped("工资");
        form->bankTyped("建设银行北京朝阳支行");
        form->amountTyped(3200.5);
        form->setPayee("北京瑞丰科技有限公司");
        form->chequeNumberTyped(number);
    }
    std::vector<std::string> messages() const
    {
        std::vector<std::string> texts;
        for (const auto& m : ui.shown) texts.push_back(m.text);
        return texts;
    }
};

TEST_F(ChequeFixture, StartsOnTheLastStoredChequeWithItsReferences)
{
    EXPECT_EQ(form->chequeNumber(), "50336019");
    EXPECT_EQ(form->chequeType(), "转帐");
    EXPECT_EQ(form->purpose(), "货款");
    EXPECT_EQ(form->bank(), "招商银行北京分行营业部");
    EXPECT_EQ(form->account(), "110902345610801");
    EXPECT_EQ(form->payee(), "北京顺通货运有限公司");
    EXPECT_EQ(form->capitalAmount(), "壹万玖仟捌佰伍拾元整");
    EXPECT_EQ(form->capitalDate(), "贰零零捌 年 零陆 月 零叁 日");
    EXPECT_EQ(form->capitalMonth(), "零陆");
    EXPECT_DOUBLE_EQ(form->hiddenAmount(), 19850);
    EXPECT_EQ(form->bankItems().size(), 5u);
    EXPECT_EQ(form->accountItems().at(1), "11001028600056012345");
    EXPECT_EQ(form->purposeItems().size(), 6u);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(ChequeFixture, CreationShowsTodayAsCapitalDateBeforeAnyData)
{
    RecordingUi quiet;
    ChequeController fresh(quiet, [] { return encodeDate(2008, 3, 5); });
    EXPECT_EQ(fresh.capitalDate(), "贰零零捌 年 零叁 月 零伍 日");
    EXPECT_EQ(fresh.capitalYear(), "贰零零捌");
    EXPECT_EQ(fresh.capitalDay(), "零伍");
    EXPECT_EQ(fresh.hiddenAmount(), 0);
}

TEST_F(ChequeFixture, NavigatorShowsEachRowsReferences)
{
    form->navigate(ChequeController::Move::Prior);
    EXPECT_EQ(form->chequeNumber(), "40120086");
    EXPECT_EQ(form->chequeType(), "现金");
    EXPECT_EQ(form->bank(), "北京市清河农村信用合作社");
    EXPECT_EQ(form->account(), "0701012012345678");
    EXPECT_EQ(form->purpose(), "差旅费");
    EXPECT_EQ(form->payee(), "北京瑞丰科技有限公司");
    EXPECT_EQ(form->capitalAmount(), "肆仟柒佰元整");

    form->navigate(ChequeController::Move::First);
    EXPECT_EQ(form->chequeNumber(), "10203301");
    EXPECT_EQ(form->capitalAmount(), "贰仟零肆拾伍元陆角柒分");
    EXPECT_EQ(form->capitalDate(), "贰零零捌 年 零叁 月 零伍 日");
}

TEST_F(ChequeFixture, MissingIdsShowEmptyBoxesAndUnknownIdsKeepTheText)
{
    runSql(path, {"UPDATE ZPJE SET yh_h = NULL, dw_h = 99 WHERE zphm = '50336019'"});
    restart();
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(form->bank(), "");
    EXPECT_EQ(form->account(), "");
    EXPECT_EQ(form->purpose(), "货款");
    EXPECT_EQ(form->payee(), "");   // unknown id: the box keeps its (empty) text

    form->navigate(ChequeController::Move::Prior);
    EXPECT_EQ(form->payee(), "北京瑞丰科技有限公司");
    form->navigate(ChequeController::Move::Next);
    EXPECT_EQ(form->payee(), "北京瑞丰科技有限公司");   // still the previous row's payee
    EXPECT_EQ(form->bank(), "");
}

// A stored date that is no date (text another program wrote) shows no capital
// date, without an error; the next row with a good date shows its own.
TEST_F(ChequeFixture, MalformedStoredDateShowsNoCapitalDate)
{
    runSql(path, {"UPDATE ZPJE SET date = '2008-02-30 09:00:00' WHERE zphm = '50336019'"});
    restart();
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(form->capitalDate(), "");
    EXPECT_EQ(form->capitalYear(), "");
    EXPECT_EQ(form->capitalMonth(), "");
    EXPECT_EQ(form->capitalDay(), "");
    EXPECT_EQ(form->capitalAmount(), "壹万玖仟捌佰伍拾元整");
    form->navigate(ChequeController::Move::Prior);
    EXPECT_EQ(form->capitalDate(), "贰零零捌 年 零伍 月 零贰拾 日");
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(ChequeFixture, EmptyChequeTableShowsAnEmptyWindow)
{
    runSql(path, {"DELETE FROM ZPJE"});
    restart();
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(form->chequeType(), "转帐");
    EXPECT_EQ(form->bank(), "");
    EXPECT_EQ(form->capitalDate(), "");
}

TEST_F(ChequeFixture, AmountChangesCapitalsExceptForZero)
{
    form->newCheque();
    EXPECT_EQ(form->capitalAmount(), "");
    form->amountTyped(0.5);
    EXPECT_EQ(form->capitalAmount(), "伍角整");
    form->amountTyped(120034.56);
    EXPECT_EQ(form->capitalAmount(), "壹拾贰万零叁拾肆元伍角陆分");
    EXPECT_DOUBLE_EQ(form->hiddenAmount(), 120034.56);
    form->amountTyped(0);
    EXPECT_EQ(form->capitalAmount(), "壹拾贰万零叁拾肆元伍角陆分");
    EXPECT_EQ(form->hiddenAmount(), 0);

    // A negative amount cannot be written in capitals: an error, the label stays.
    form->amountTyped(-5);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0], "'-' is not a valid integer value");
    EXPECT_EQ(form->capitalAmount(), "壹拾贰万零叁拾肆元伍角陆分");
}

// The capital amount comes from the value itself, in its shortest form: digits
// after the second decimal are dropped, never rounded into the fen.
TEST_F(ChequeFixture, CapitalAmountTakesTheValueNotATwoDecimalText)
{
    struct Case { double value; const char* capitals; };
    const Case cases[] = {
        {0.005, "整"},                                          // .005: no yuan, 零 角 零 分
        {1.005, "壹元整"},
        {2045.675, "贰仟零肆拾伍元陆角柒分"},
        {99999999.995, "玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分"},
    };
    form->newCheque();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        form->amountTyped(c.value);
        EXPECT_EQ(form->capitalAmount(), c.capitals);
    }
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(ChequeFixture, HalfAYuanIsShownButCannotBeSaved)
{
    fillNewCheque("90000001");
    form->amountTyped(0.5);
    EXPECT_EQ(form->capitalAmount(), "伍角整");
    EXPECT_FALSE(form->save());
    EXPECT_EQ(messages(), std::vector<std::string>{"请输入数字金额!"});
    EXPECT_EQ(ui.shown[0].caption, "提示");
    EXPECT_EQ(ui.shown[0].icon, ui::Icon::Information);
    EXPECT_EQ(data->ZPJE.state(), data::DatasetState::Insert);
    EXPECT_TRUE(form->adding());
}

TEST_F(ChequeFixture, DateChangeWritesTheCapitalDate)
{
    form->newCheque();
    EXPECT_EQ(form->capitalDate(), "贰零贰陆 年 壹拾贰 月 零壹拾 日");   // dated now
    form->dateTyped(encodeDate(2008, 3, 5));
    EXPECT_EQ(form->capitalDate(), "贰零零捌 年 零叁 月 零伍 日");
    EXPECT_EQ(form->capitalYear(), "贰零零捌");
    EXPECT_EQ(form->capitalMonth(), "零叁");
    EXPECT_EQ(form->capitalDay(), "零伍");
}

TEST_F(ChequeFixture, ChecksRunInOrderAndReportOnlyTheFirstMissingField)
{
    struct Case {
        const char* type;
        const char* purpose;
        const char* bank;
        double amount;
        const char* payee;
        const char* number;
        const char* message;
    };
    const Case cases[] = {
        {"", "", "", 0, "", "", "请选择支票类型!"},
        {"转帐", "", "", 0, "", "", "请选择支票用途!"},
        {"转帐", "货款", "", 0, "", "", "请选择开户银行!"},
        {"转帐", "货款", "工商银行北京海淀支行", 0.99, "", "", "请输入数字金额!"},
        {"转帐", "货款", "工商银行北京海淀支行", 1, "", "", "请输入收款单位!"},
        {"转帐", "货款", "工商银行北京海淀支行", 1, "某单位", "", "请输入支票号码!"},
        {"转帐", "货款", "工商银行北京海淀支行", 1, "某单位", "20451121", "支票号码重复,请重新输入!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        restart();
        ui.shown.clear();
        form->newCheque();
        form->typeTyped(c.type);
        form->purposeTyped(c.purpose);
        form->bankTyped(c.bank);
        form->amountTyped(c.amount);
        form->payeeTyped(c.payee);
        form->chequeNumberTyped(c.number);
        EXPECT_FALSE(form->save());
        EXPECT_EQ(messages(), std::vector<std::string>{c.message});
        EXPECT_TRUE(form->adding());
    }
}

TEST_F(ChequeFixture, SavedChequeStoresItsTypeAndReferenceIds)
{
    fillNewCheque("90000001");
    ASSERT_TRUE(form->save());
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_FALSE(form->adding());
    data::Dataset& z = data->ZPJE;
    EXPECT_EQ(z.state(), data::DatasetState::Browse);
    EXPECT_EQ(z.integer("lb"), 1);
    EXPECT_EQ(z.integer("yt_h"), 4);   // 工资
    EXPECT_EQ(z.integer("yh_h"), 2);   // 建设银行北京朝阳支行
    EXPECT_EQ(z.integer("dw_h"), 7);   // 北京瑞丰科技有限公司
    EXPECT_DOUBLE_EQ(z.value("ZPJE").toNumber(), 3200.5);
    EXPECT_EQ(z.value("date").dateTime(), kNow);
}

TEST_F(ChequeFixture, UnknownPayeeIsSavedWithoutPayeeId)
{
    fillNewCheque("90000002");
    form->setPayee("不在列表里的单位");
    ASSERT_TRUE(form->save());
    EXPECT_TRUE(data->ZPJE.value("dw_h").isNull());
}

TEST_F(ChequeFixture, StoredNumberIsRefusedAlsoWhenSavingTwice)
{
    fillNewCheque("10203302");   // number of the second demo cheque
    EXPECT_FALSE(form->save());
    EXPECT_EQ(messages(), std::vector<std::string>{"支票号码重复,请重新输入!"});

    ui.shown.clear();
    form->chequeNumberTyped("90000003");
    ASSERT_TRUE(form->save());
    EXPECT_FALSE(form->save());
    EXPECT_EQ(messages(), std::vector<std::string>{"支票号码重复,请重新输入!"});
    EXPECT_EQ(data::listCheques(*data).size(), 8u);
}

TEST_F(ChequeFixture, BankAndAccountFollowEachOther)
{
    form->bankTyped("农业银行北京丰台支行");
    EXPECT_EQ(form->account(), "11250101040012345");
    form->accountTyped("0200004909020112345");
    EXPECT_EQ(form->bank(), "工商银行北京海淀支行");
    // Text that matches nothing changes nothing else.
    form->bankTyped("工商");
    EXPECT_EQ(form->account(), "0200004909020112345");
    form->accountTyped("123");
    EXPECT_EQ(form->bank(), "工商");
}

TEST_F(ChequeFixture, ChangingThePurposeRefillsTheAccountFromTheBank)
{
    form->bankTyped("建设银行北京朝阳支行");
    form->accountTyped("typed by hand");
    EXPECT_EQ(form->bank(), "建设银行北京朝阳支行");
    form->purposeTyped("房租");
    EXPECT_EQ(form->account(), "11001028600056012345");
}

TEST_F(ChequeFixture, NewChequeDisablesBrowsingUntilSaved)
{
    form->newCheque();
    EXPECT_FALSE(form->newEnabled());
    EXPECT_FALSE(form->navigatorEnabled());
    EXPECT_EQ(form->bank(), "");
    EXPECT_EQ(form->payee(), "");
    EXPECT_EQ(form->chequeType(), "转帐");   // the type keeps its value
    EXPECT_EQ(form->chequeNumber(), "");

    form->navigate(ChequeController::Move::First);   // the navigator is off
    EXPECT_EQ(data->ZPJE.state(), data::DatasetState::Insert);
    form->newCheque();
    EXPECT_EQ(data->ZPJE.recordCount(), 7);

    EXPECT_FALSE(form->save());   // refused: still adding
    EXPECT_FALSE(form->navigatorEnabled());
    form->typeTyped("转帐");
    form->purposeTyped("货款");
    form->bankTyped("工商银行北京海淀支行");
    form->amountTyped(10);
    form->setPayee("国网北京市电力公司");
    form->chequeNumberTyped("90000004");
    ASSERT_TRUE(form->save());
    EXPECT_TRUE(form->newEnabled());
    EXPECT_TRUE(form->navigatorEnabled());
}

TEST_F(ChequeFixture, PrintSavesAnUnstoredChequeOnly)
{
    fillNewCheque("90000005");
    form->typeTyped("");
    form->print();
    EXPECT_EQ(messages(), std::vector<std::string>{"请选择支票类型!"});
    EXPECT_TRUE(form->adding());

    ui.shown.clear();
    form->typeTyped("转帐");
    form->print();
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_FALSE(form->adding());
    EXPECT_EQ(data::listCheques(*data).back().number, "90000005");

    form->print();   // stored now: nothing is saved, nothing is said
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(data->ZPJE.state(), data::DatasetState::Browse);
}

TEST_F(ChequeFixture, PurposeListIsRefilledFromThePurposeWindow)
{
    ReferenceLists lists(*data, ui);
    ASSERT_TRUE(lists.purposes.insert());
    lists.ad_yt.setValue("ytmc", Value("培训费"));
    form->refreshPurposes(lists.purposes);   // posts the new row after its checks
    ASSERT_EQ(form->purposeItems().size(), 7u);
    EXPECT_EQ(form->purposeItems().back(), "培训费");

    // A pending duplicate is refused and the list stays as it was.
    ASSERT_TRUE(lists.purposes.insert());
    lists.ad_yt.setValue("ytmc", Value("货款"));
    form->refreshPurposes(lists.purposes);
    EXPECT_EQ(messages(), std::vector<std::string>{"用途名称重复!"});
    EXPECT_EQ(form->purposeItems().size(), 7u);
}

TEST_F(ChequeFixture, SavedChequeOutlivesTheProgramAndUnsavedOneIsDropped)
{
    fillNewCheque("90000006");
    ASSERT_TRUE(form->save());
    form->newCheque();   // started, never saved
    form->chequeNumberTyped("90000007");
    form->amountTyped(99);
    restart();

    const auto cheques = data::listCheques(*data);
    ASSERT_EQ(cheques.size(), 8u);
    const data::ChequeLine& c = cheques.back();
    EXPECT_EQ(c.number, "90000006");
    EXPECT_EQ(c.amount, "3200.50");
    EXPECT_EQ(c.type, "现金");
    EXPECT_EQ(c.bank, "建设银行北京朝阳支行");
    EXPECT_EQ(c.purpose, "工资");
    EXPECT_EQ(c.payee, "北京瑞丰科技有限公司");
    EXPECT_EQ(c.date, "2026-12-10");
    // The window starts on it.
    EXPECT_EQ(form->chequeNumber(), "90000006");
    EXPECT_EQ(form->capitalAmount(), "叁仟贰佰元伍角整");
}

} // namespace
