// Printing from the cheque window's logic: the template each bank, type and
// print mode choose, the nine variables, what is saved before a print, and
// what stops a print (amounts beyond the form, missing templates, accounts
// without a template bank). The report component is a recording stand-in
// that finds templates on disk.

#include "app/cheque/chequecontroller.h"
#include "app/templates/chequeform.h"
#include "report/model/engine_context.h"
#include "report/model/report.h"
#include "tests/app/datafixture.h"
#include "tests/support/recording_ui.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

using namespace pemvora;
using namespace pemvora::app;
using namespace pemvora::data::testing;
using pemvora::testsupport::RecordingUi;

namespace {

const DateTime kNow = encodeDateTime({2026, 12, 10}, {9, 30, 0, 0});

// Records what the window asks of its report component. A template "loads"
// when a file of that name exists; a file holding "damaged" fails to load.
class RecordingRunner : public ReportRunner {
public:
    std::vector<std::pair<std::string, std::string>> variables;
    std::vector<std::string> calls;   // "load NAME", "show", "design"
    bool designer = true;

    void SetVariable(const std::string& name, const std::string& value) override
    {
        variables.emplace_back(name, value);
    }
    Load LoadFromFile(const std::string& fileName) override
    {
        calls.push_back("load " + std::filesystem::path(fileName).filename().string());
        if (!std::filesystem::exists(fileName)) return Load::Missing;
        return readFile(fileName) == "damaged" ? Load::Failed : Load::Loaded;
    }
    void ShowReport() override { calls.push_back("show"); }
    bool CanDesign() const override { return designer; }
    void DesignReport() override { calls.push_back("design"); }
};

struct PrintFixture : ::testing::Test {
    TempDir dir;
    std::filesystem::path templates;
    std::string path;
    RecordingUi ui;
    RecordingRunner runner;
    std::unique_ptr<data::TData> data;
    std::unique_ptr<ChequeController> form;

    void SetUp() override
    {
        path = dir.file("banck.mdb");
        data::writeChequeDatabase(path, {.demo = true});
        templates = dir.path() / "templates";
        std::filesystem::create_directory(templates);
        for (const char* bank : kTemplateBanks)
            for (TemplateFamily family : kTemplateFamilies) touch(*templateFileName(bank, family));
        start();
    }
    void start()
    {
        form = std::make_unique<ChequeController>(ui, [] { return kNow; });
        data = std::make_unique<data::TData>(path);
        form->attachData(*data);
        form->setReportRunner(&runner);
        form->setTemplateFolder(templates);
        form->show();
    }
    void restart()
    {
        form.reset();
        data.reset();
        start();
    }
    void touch(const std::string& name, const std::string& content = "template")
    {
        std::ofstream(templates / name) << content;
    }
    void fillNewCheque(const std::string& number, double amount)
    {
        form->newCheque();
        form->typeTyped("转帐");
        form->purposeTyped("房租");
        form->bankTyped("建设银行北京朝阳支行");
        form->amountTyped(amount);
        form->setPayee("中关村科技园物业管理有限公司");
        form->chequeNumberTyped(number);
    }
    std::vector<std::string> messages() const
    {
        std::vector<std::string> texts;
        for (const auto& m : ui.shown) texts.push_back(m.text);
        return texts;
    }
    std::size_t storedCheques()
    {
        data::TData fresh(path);
        fresh.ZPJE.open();
        std::size_t rows = 0;
        for (fresh.ZPJE.first(); !fresh.ZPJE.eof(); fresh.ZPJE.next()) ++rows;
        return rows;
    }
    void printAndForget()
    {
        runner.calls.clear();
        runner.variables.clear();
        ui.shown.clear();
        form->print();
    }
};

using Calls = std::vector<std::string>;

TEST_F(PrintFixture, EachBankTypeAndModePicksItsTemplate)
{
    struct Case {
        const char* bank;
        const char* transferOrdinary;
        const char* transferSpecial;
        const char* cash;
    };
    const Case cases[] = {
        {"工商银行北京海淀支行", "carry.frf", "acarry.frf", "cash.frf"},
        {"建设银行北京朝阳支行", "carry1.frf", "acarry1.frf", "cash1.frf"},
        {"农业银行北京丰台支行", "carry2.frf", "acarry2.frf", "cash2.frf"},
        {"北京市清河农村信用合作社", "carry3.frf", "acarry3.frf", "cash3.frf"},
        {"招商银行北京分行营业部", "carry4.frf", "acarry4.frf", "cash4.frf"},
    };
    // A stored cheque: printing neither saves nor needs the boxes to be valid.
    for (const Case& c : cases) {
        form->bankTyped(c.bank);
        const struct {
            const char* type;
            int mode;
            const char* file;
        } combos[] = {{"转帐", 0, c.transferOrdinary}, {"转帐", 1, c.transferSpecial}, {"现金", 0, c.cash}, {"现金", 1, c.cash}};
        for (const auto& combo : combos) {
            SCOPED_TRACE(std::string(c.bank) + " " + combo.type + " " + std::to_string(combo.mode));
            form->typeTyped(combo.type);
            form->setPrintMode(combo.mode);
            printAndForget();
            EXPECT_EQ(runner.calls, (Calls{std::string("load ") + combo.file, "show"}));
            EXPECT_TRUE(ui.shown.empty());
        }
    }
    EXPECT_EQ(storedCheques(), 7u);
}

TEST_F(PrintFixture, AnEmptyOrOtherTypePrintsATransferTemplate)
{
    form->bankTyped("农业银行北京丰台支行");
    form->setPrintMode(1);
    for (const char* type : {"", "支票"}) {
        form->typeTyped(type);
        printAndForget();
        EXPECT_EQ(runner.calls, (Calls{"load acarry2.frf", "show"})) << type;
    }
}

TEST_F(PrintFixture, ABankNameNotInTheListKeepsTheLastTemplateBank)
{
    form->bankTyped("建设银行北京朝阳支行");
    form->setPrintMode(1);
    printAndForget();
    EXPECT_EQ(form->lastBankMb(), "建设银行");

    form->bankTyped("交通银行北京分行");
    printAndForget();
    EXPECT_EQ(form->lastBankMb(), "建设银行");
    EXPECT_EQ(runner.calls, (Calls{"load acarry1.frf", "show"}));
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(PrintFixture, AnAccountWithoutTemplateBankIsToldAndNothingPrints)
{
    // Unknown at start: no earlier look-up found a template bank.
    form->bankTyped("交通银行北京分行");
    printAndForget();
    EXPECT_EQ(messages(), std::vector<std::string>{chequetext::kNoTemplateBank});
    EXPECT_EQ(ui.shown.at(0).caption, "提示");
    EXPECT_TRUE(runner.calls.empty());

    // A bank row whose template bank is empty, or not one of the five.
    for (const char* form_bank : {"", "交通银行"}) {
        SCOPED_TRACE(form_bank);
        runSql(path, {std::string("UPDATE BANK SET bank_mb = '") + form_bank + "' WHERE bank_dh = 2"});
        restart();
        form->bankTyped("建设银行北京朝阳支行");
        printAndForget();
        EXPECT_EQ(form->lastBankMb(), form_bank);
        EXPECT_EQ(messages(), std::vector<std::string>{chequetext::kNoTemplateBank});
        EXPECT_TRUE(runner.calls.empty());
    }
}

TEST_F(PrintFixture, TheNineVariablesInTheirOrder)
{
    form->navigate(ChequeController::Move::First);   // 10203301: 2045.67 on 5 March 2008
    form->setPayee("北京华联商厦有限公司采购部");       // shown, not saved: printed as shown
    printAndForget();
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"dskyt", "货款"},
        {"dkhh", "工商银行北京海淀支行"},
        {"dyhzh", "0200004909020112345"},
        {"dskdw", "北京华联商厦有限公司采购部"},
        {"dx", "贰仟零肆拾伍元陆角柒分"},
        {"year", "贰零零捌"},
        {"month", "零叁"},
        {"day", "零伍"},
        {"mm", "￥204567"},
    };
    EXPECT_EQ(runner.variables, expected);
    EXPECT_EQ(runner.calls, (Calls{"load carry.frf", "show"}));
}

TEST_F(PrintFixture, AmountInFenForTheDigitBoxes)
{
    const struct {
        double amount;
        const char* mm;
    } cases[] = {{2045.67, "￥204567"}, {100, "￥10000"}, {8, "￥800"}, {1.15, "￥115"}, {99999999.99, "￥9999999999"}};
    for (const auto& c : cases) {
        form->amountTyped(c.amount);
        EXPECT_EQ(form->reportVariables().back(), (std::pair<std::string, std::string>{"mm", c.mm})) << c.amount;
    }
}

TEST_F(PrintFixture, PrintingANewChequeSavesItFirst)
{
    fillNewCheque("60000001", 100);
    form->setPrintMode(1);
    printAndForget();
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_FALSE(form->adding());
    EXPECT_TRUE(form->navigatorEnabled());
    EXPECT_EQ(storedCheques(), 8u);
    EXPECT_EQ(runner.variables.back().second, "￥10000");
    EXPECT_EQ(runner.variables.at(4).second, "壹佰元整");
    EXPECT_EQ(runner.calls, (Calls{"load acarry1.frf", "show"}));

    // Now stored: printing again saves nothing and prints the same cheque.
    printAndForget();
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(storedCheques(), 8u);
    EXPECT_EQ(runner.calls, (Calls{"load acarry1.frf", "show"}));
}

TEST_F(PrintFixture, AStoredChequeIsPrintedAsShownWithoutSaving)
{
    form->navigate(ChequeController::Move::First);
    form->setPayee("别的单位");
    form->purposeTyped("");   // would fail a save
    printAndForget();
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(runner.calls, (Calls{"load carry.frf", "show"}));
    restart();
    form->navigate(ChequeController::Move::First);
    EXPECT_EQ(form->payee(), "北京华联商厦有限公司");
    EXPECT_EQ(form->purpose(), "货款");
}

TEST_F(PrintFixture, ASaveThatStopsPrintsNothing)
{
    fillNewCheque("60000002", 500);
    form->purposeTyped("");
    printAndForget();
    EXPECT_EQ(messages(), std::vector<std::string>{chequetext::kPurposeRequired});
    EXPECT_TRUE(runner.calls.empty());
    EXPECT_TRUE(runner.variables.empty());
    EXPECT_TRUE(form->adding());
}

TEST_F(PrintFixture, AmountsTheFormCannotHoldAreRefused)
{
    // At the save, by "保存" and by "打印": "￥" and ten digits fill the eleven boxes.
    fillNewCheque("60000003", 100000000);
    EXPECT_FALSE(form->save());
    printAndForget();
    EXPECT_EQ(messages(), std::vector<std::string>{chequetext::kAmountTooLarge});
    EXPECT_TRUE(runner.calls.empty());
    EXPECT_EQ(storedCheques(), 7u);

    form->amountTyped(99999999.99);
    printAndForget();
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(storedCheques(), 8u);
    EXPECT_EQ(runner.variables.back().second, "￥9999999999");

    // A cheque stored with such an amount (an older register) does not print.
    runSql(path, {"UPDATE ZPJE SET ZPJE = 123456789 WHERE zphm = '10203301'"});
    restart();
    form->navigate(ChequeController::Move::First);
    printAndForget();
    EXPECT_EQ(messages(), std::vector<std::string>{chequetext::kAmountTooLarge});
    EXPECT_TRUE(runner.calls.empty());
    EXPECT_TRUE(runner.variables.empty());
}

TEST_F(PrintFixture, AMissingTemplateIsNamedAndNothingPrints)
{
    std::filesystem::remove(templates / "acarry1.frf");
    fillNewCheque("60000004", 356.8);
    form->setPrintMode(1);
    printAndForget();
    // The cheque is saved; the print stops at the missing file.
    EXPECT_EQ(storedCheques(), 8u);
    EXPECT_EQ(messages(), std::vector<std::string>{"找不到建设银行的支票模板文件“acarry1.frf”,未打印!"});
    EXPECT_EQ(runner.calls, (Calls{"load acarry1.frf"}));

    // A damaged file: the loader has said why; nothing is shown either.
    touch("acarry1.frf", "damaged");
    printAndForget();
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(runner.calls, (Calls{"load acarry1.frf"}));
}

TEST_F(PrintFixture, WithoutAReportComponentPrintOnlySaves)
{
    form->setReportRunner(nullptr);
    fillNewCheque("60000005", 42);
    form->print();
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(storedCheques(), 8u);
    EXPECT_FALSE(form->adding());
}

TEST_F(PrintFixture, PrintModifyOpensTheTemplateThatPrintWouldUse)
{
    const struct {
        const char* type;
        int mode;
        Calls calls;
    } cases[] = {
        {"转帐", 0, {"load carry1.frf", "design"}},
        {"转帐", 1, {"load acarry1.frf", "design"}},
        {"现金", 1, {"load cash1.frf", "design"}},
        {"", 0, {}},
        {"支票", 1, {}},
    };
    form->bankTyped("建设银行北京朝阳支行");
    for (const auto& c : cases) {
        form->typeTyped(c.type);
        form->setPrintMode(c.mode);
        runner.calls.clear();
        form->printModify();
        EXPECT_EQ(runner.calls, c.calls) << c.type << c.mode;
    }
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_TRUE(runner.variables.empty());
    EXPECT_EQ(storedCheques(), 7u);
}

TEST_F(PrintFixture, PrintModifyWithoutDesignerSaysSoAndNothingElse)
{
    form->bankTyped("建设银行北京朝阳支行");
    runner.designer = false;
    form->printModify();
    form->setReportRunner(nullptr);
    form->printModify();
    EXPECT_EQ(messages(), (std::vector<std::string>{chequetext::kDesignerUnavailable, chequetext::kDesignerUnavailable}));
    EXPECT_TRUE(runner.calls.empty());
}

TEST_F(PrintFixture, PrintModifyOffersToMakeAMissingTemplate)
{
    report::resetEngine();   // the made template takes its paper through the engine's printer
    std::filesystem::remove(templates / "cash1.frf");
    form->bankTyped("建设银行北京朝阳支行");
    form->typeTyped("现金");

    ui.answers = {ui::Answer::No};
    form->printModify();
    EXPECT_EQ(messages(), std::vector<std::string>{"建设银行的支票模板文件“cash1.frf”不存在,是否按标准支票版式创建?"});
    EXPECT_EQ(ui.shown.at(0).icon, ui::Icon::Question);
    EXPECT_EQ(runner.calls, (Calls{"load cash1.frf"}));
    EXPECT_FALSE(std::filesystem::exists(templates / "cash1.frf"));

    ui.shown.clear();
    runner.calls.clear();
    ui.answers = {ui::Answer::Yes};
    form->printModify();
    EXPECT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(runner.calls, (Calls{"load cash1.frf", "load cash1.frf", "design"}));
    // What was made is the reference cash template: body and stub.
    report::TfrReport made;
    ASSERT_TRUE(made.LoadFromFile((templates / "cash1.frf").string()));
    ASSERT_EQ(made.Pages.Count(), 1);
    EXPECT_NE(made.FindObject("StubPayee"), nullptr);
    EXPECT_NE(made.FindObject("Digit11"), nullptr);
    report::resetEngine();
}

TEST_F(PrintFixture, ShowChequeFindsAStoredNumber)
{
    EXPECT_TRUE(form->showCheque("20451121"));
    EXPECT_EQ(form->chequeNumber(), "20451121");
    EXPECT_EQ(form->payee(), "北京宏达办公设备有限公司");
    EXPECT_EQ(form->capitalAmount(), "叁佰伍拾陆元捌角整");
    EXPECT_FALSE(form->showCheque("99999999"));
    EXPECT_EQ(form->chequeNumber(), "20451121");
}

} // namespace
