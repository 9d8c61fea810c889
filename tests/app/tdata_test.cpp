// The data module: its queries, opening, re-reads, id numbering, the checks
// before posting reference rows, the login look-up and the cheque listing.

#include "app/data/chequelist.h"
#include "app/data/tdata.h"
#include "datafixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace pemvora;
using namespace pemvora::data;
using namespace pemvora::data::testing;
using ::testing::Optional;

namespace {

// A window's own table cursor (the bank, purpose and payee windows hold one each).
std::unique_ptr<Dataset> cursorOver(TData& data, const std::string& table)
{
    auto cursor = std::make_unique<Dataset>(data.ADO1, table);
    cursor->setSql({"select * from " + table});
    cursor->open();
    return cursor;
}

} // namespace

TEST(TData, OpensItsQueriesWithTheirStatements)
{
    TempDir dir;
    const std::string path = makeDatabase(dir, {
        "INSERT INTO YT VALUES ('货款', 1)",
        "INSERT INTO YT VALUES ('工资', 2)",
        "INSERT INTO BANK VALUES ('工商银行海淀支行', '0200004909020112345', '工商银行', 1)",
    });
    TData data(path);
    struct Query { const Dataset& q; const char* name; const char* sql; bool open; };
    const Query queries[] = {
        {data.ZPJE, "ZPJE", "SELECT * FROM  ZPJE", true},
        {data.ZPYT, "ZPYT", "SELECT * FROM YT", true},
        {data.SYDW, "SYDW", "SELECT * FROM  USE_DW", true},
        {data.BANCK, "BANCK", "SELECT * FROM BANK", true},
        {data.zphm, "zphm", "select zphm from zpje", true},
        {data.addy, "addy", "select * from zpje", false},
        {data.users, "users", "select * from admin", true},
        {data.yh, "yh", "select * from admin", true},
        {data.addw, "addw", "select * from skdw", true},
        {data.dwh, "dwh", "select * from skdw", true},
    };
    for (const Query& q : queries) {
        SCOPED_TRACE(q.name);
        EXPECT_EQ(q.q.name(), q.name);
        EXPECT_EQ(q.q.sqlText(), q.sql);
        EXPECT_EQ(q.q.isOpen(), q.open);
        if (q.open) {
            EXPECT_TRUE(q.q.canModify());
        }
    }
    // Cursors stand on the first row; lists read columns by position.
    EXPECT_EQ(data.ZPYT.text(0), "货款");
    EXPECT_EQ(data.BANCK.text(0), "工商银行海淀支行");
    EXPECT_EQ(data.BANCK.text(1), "0200004909020112345");
    EXPECT_EQ(data.users.text(1), "admin");
    EXPECT_TRUE(data.ZPJE.eof());
}

TEST(TData, LockedFileIsReportedAndNothingOpens)
{
    TempDir dir;
    const std::string path = makeDatabase(dir);
    Connection holder;
    holder.open(path, kDatabasePassword);
    holder.execute("BEGIN EXCLUSIVE");
    holder.execute("DELETE FROM admin");
    try {
        TData data(path, 50);
        FAIL() << "opened a locked database";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.kind(), DbErrorKind::Locked);
    }
    holder.execute("ROLLBACK");
    TData data(path, 50);
    EXPECT_EQ(data.users.recordCount(), 1);
}

TEST(TData, NumbersBanksAndPurposesByCount)
{
    TempDir dir;
    const std::string path = makeDatabase(dir, {
        "INSERT INTO BANK VALUES ('工商银行海淀支行', '0200004909020112345', '工商银行', 1)",
        "INSERT INTO BANK VALUES ('建设银行朝阳支行', '11001028600056012345', '建设银行', 2)",
    });
    TData data(path);
    EXPECT_EQ(data.newBankId(), 3);
    EXPECT_EQ(data.BANCK.sqlText(), "select * from bank ");
    EXPECT_EQ(data.newPurposeId(), 1);   // an empty purpose table
    EXPECT_EQ(data.ZPYT.sqlText(), "select * from yt");

    // The count is re-read: rows stored elsewhere since opening count too.
    runSql(path, {"INSERT INTO BANK (bank_name, bank_dh) VALUES ('农业银行', 3)",
                  "INSERT INTO YT VALUES ('差旅费', 1)"});
    EXPECT_EQ(data.newBankId(), 4);
    EXPECT_EQ(data.newPurposeId(), 2);

    // After a deletion the count would repeat a stored id: the next free one is used.
    runSql(path, {"DELETE FROM BANK WHERE bank_dh = 1", "DELETE FROM YT"});
    EXPECT_EQ(data.newBankId(), 4);
    EXPECT_EQ(data.BANCK.recNo(), 1);   // the re-read list stands on its first row
    runSql(path, {"INSERT INTO YT VALUES ('货款', 1)", "INSERT INTO YT VALUES ('工资', 3)"});
    EXPECT_EQ(data.newPurposeId(), 4);

}

TEST(TData, NumbersPayeesFromTheLastRow)
{
    TempDir dir;
    const std::string path = makeDatabase(dir, {
        "INSERT INTO skdw VALUES ('北京华联商厦有限公司', 9, 'hlsx')",
        "INSERT INTO skdw VALUES ('国网北京市电力公司', 7, 'dlgs')",
    });
    TData data(path);
    EXPECT_EQ(data.newPayeeId(), 8);   // two rows, last id 7
    EXPECT_EQ(data.dwh.sqlText(), "select * from skdw ");

    // The window's new row carries the id but counts as unmodified: leaving it
    // stores nothing.
    auto cursor = cursorOver(data, "skdw");
    data.startPayeeRow(*cursor);
    EXPECT_EQ(cursor->state(), DatasetState::Insert);
    EXPECT_EQ(cursor->value("dw_dh"), Value(8));
    cursor->first();
    EXPECT_EQ(cursor->recordCount(), 2);

    // Last id 7 again, but 8 and 9 are taken by earlier rows.
    runSql(path, {"INSERT INTO skdw VALUES ('北京宏达办公设备有限公司', 8, 'hdbg')",
                  "INSERT INTO skdw VALUES ('北京顺通货运有限公司', 7, 'sthy')"});
    EXPECT_EQ(data.newPayeeId(), 10);

    // No id on the last row, or no rows at all: the Null cannot be an integer.
    runSql(path, {"INSERT INTO skdw (skdw) VALUES ('无编号单位')"});
    EXPECT_THROW(data.newPayeeId(), ConversionError);
    runSql(path, {"DELETE FROM skdw"});
    EXPECT_THROW(data.newPayeeId(), ConversionError);
    cursor->rerun({"select * from skdw"});
    EXPECT_THROW(data.startPayeeRow(*cursor), ConversionError);
    EXPECT_EQ(cursor->state(), DatasetState::Browse);   // no row was started
}

TEST(TData, ChecksBeforePostingReferenceRows)
{
    TempDir dir;
    const std::string path = makeDatabase(dir, {
        "INSERT INTO YT VALUES ('货款', 1)",
        "INSERT INTO YT VALUES ('', 2)",
        "INSERT INTO skdw VALUES ('国网北京市电力公司', 1, 'dlgs')",
    });
    TData data(path);
    using Check = std::optional<std::string>;
    struct Case { const char* table; Value name; Check expected; };
    const Case cases[] = {
        {"YT", Value::null(), message::kPurposeNameRequired},
        // Empty is refused before the duplicate check, although an empty name is stored.
        {"YT", "", message::kPurposeNameRequired},
        {"YT", "货款", message::kPurposeNameDuplicate},
        {"YT", "货款 ", std::nullopt},
        {"YT", "办公用品", std::nullopt},
        {"skdw", Value::null(), message::kPayeeNameRequired},
        {"skdw", "", message::kPayeeNameRequired},
        {"skdw", "国网北京市电力公司", message::kPayeeNameDuplicate},
        {"skdw", "北京华联商厦有限公司", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.table) + " " + c.name.toText());
        const Check got = std::string(c.table) == "YT" ? data.checkPurposeBeforePost(c.name)
                                                       : data.checkPayeeBeforePost(c.name);
        EXPECT_EQ(got, c.expected);
    }
    EXPECT_EQ(data.dwh.sqlText(), "select * from skdw");
    EXPECT_EQ(data.checkBankBeforePost(""), Check(message::kBankNameRequired));
    EXPECT_EQ(data.checkBankBeforePost("工商银行海淀支行"), std::nullopt);
    EXPECT_STREQ(message::kPayeeNameDuplicate, "单位名称重复,请重新输入!");

    // An edited purpose whose name is unchanged meets its own stored row.
    auto purposes = cursorOver(data, "yt");
    purposes->edit();
    EXPECT_EQ(data.checkPurposeBeforePost(purposes->value("ytmc")), Check(message::kPurposeNameDuplicate));
    purposes->setValue("ytmc", "货款及运费");
    EXPECT_EQ(data.checkPurposeBeforePost(purposes->value("ytmc")), std::nullopt);
    purposes->post();

    // A purpose posted through the window is a duplicate at once (ZPYT is re-read).
    data.startPurposeRow(*purposes);
    EXPECT_EQ(purposes->value("ytdh"), Value(3));
    purposes->setValue("ytmc", "房租");
    EXPECT_EQ(data.checkPurposeBeforePost(purposes->value("ytmc")), std::nullopt);
    purposes->post();
    EXPECT_EQ(data.checkPurposeBeforePost(Value("房租")), Check(message::kPurposeNameDuplicate));
}

TEST(TData, BankWithNameButNoAccountPosts)
{
    TempDir dir;
    TData data(makeDatabase(dir));
    auto banks = cursorOver(data, "bank");
    data.startBankRow(*banks);
    EXPECT_EQ(banks->value("bank_dh"), Value(1));
    EXPECT_EQ(data.checkBankBeforePost(banks->text("bank_name")), message::kBankNameRequired);
    banks->setValue("bank_name", "工商银行海淀支行");
    banks->setValue("bank_mb", "工商银行");
    EXPECT_EQ(data.checkBankBeforePost(banks->text("bank_name")), std::nullopt);
    banks->post();
    data.rereadBanks();
    ASSERT_EQ(data.BANCK.recordCount(), 1);
    EXPECT_EQ(data.BANCK.text("bank_name"), "工商银行海淀支行");
    EXPECT_TRUE(data.BANCK.value("bank_zh").isNull());
}

TEST(TData, PayeeAddedIsFoundByTheChequeWindowOnlyAfterReopening)
{
    TempDir dir;
    const std::string path = makeDatabase(dir, {"INSERT INTO skdw VALUES ('国网北京市电力公司', 1, 'dlgs')"});
    {
        TData data(path);
        auto payees = cursorOver(data, "skdw");
        data.startPayeeRow(*payees);
        payees->setValue("skdw", "北京宏达办公设备有限公司");
        ASSERT_EQ(data.checkPayeeBeforePost(payees->value("skdw")), std::nullopt);
        payees->post();
        EXPECT_FALSE(data.addw.locate("skdw", "北京宏达办公设备有限公司"));
        EXPECT_EQ(data.addw.recordCount(), 1);
        // The payee window's own duplicate check sees it at once.
        EXPECT_EQ(data.checkPayeeBeforePost(Value("北京宏达办公设备有限公司")),
                  message::kPayeeNameDuplicate);
    }
    TData restarted(path);
    ASSERT_TRUE(restarted.addw.locate("skdw", "北京宏达办公设备有限公司"));
    EXPECT_EQ(restarted.addw.integer("dw_dh"), 2);
}

TEST(TData, ChequeNumberLookUpReadsTheNumbersAgain)
{
    TempDir dir;
    TData data(makeDatabase(dir, {"INSERT INTO ZPJE (zphm) VALUES ('10203301')"}));
    EXPECT_TRUE(data.chequeNumberStored("10203301"));
    EXPECT_FALSE(data.chequeNumberStored("1020330"));
    EXPECT_FALSE(data.chequeNumberStored("10203302"));

    data.ZPJE.append();
    data.ZPJE.setValue("zphm", "10203302");
    data.ZPJE.setValue("ZPJE", 2045.67);
    data.ZPJE.post();
    EXPECT_TRUE(data.chequeNumberStored("10203302"));
    EXPECT_EQ(data.zphm.recordCount(), 2);
}

TEST(TData, LoginComparesNameAndPasswordAsValues)
{
    TempDir dir;
    TData data(makeDatabase(dir, {"INSERT INTO admin (user_name, password) VALUES ('o''brien', 'x'' OR ''1''=''1')"}));
    struct Case { const char* name; const char* password; bool ok; };
    const Case cases[] = {
        {"admin", "579", true},
        {"admin", "5790", false},
        {"Admin", "579", false},
        {"admin", "", false},
        {"", "", false},
        {"' OR '1'='1", "' OR '1'='1", false},
        {"admin' --", "", false},
        {"o'brien", "x' OR '1'='1", true},
        {"o'brien", "x", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " / " + c.password);
        EXPECT_EQ(data.login(c.name, c.password), c.ok);
    }
    EXPECT_EQ(data.yh.sqlLines().front(), "select * from admin");
}

TEST(ChequeList, ShowsNamesAndLeavesUnknownReferencesEmpty)
{
    TempDir dir;
    TData data(makeDatabase(dir, {
        "INSERT INTO BANK VALUES ('建设银行朝阳支行', '11001028600056012345', '建设银行', 1)",
        "INSERT INTO YT VALUES ('货款', 1)",
        "INSERT INTO skdw VALUES ('国网北京市电力公司', 1, 'dlgs')",
        "INSERT INTO ZPJE VALUES (2045.67, '2008-03-05 09:12:00', '10203301', 2, 1, 1, 1)",
        "INSERT INTO ZPJE VALUES (8000, '2008-03-10 00:00:00', '10203302', 1, NULL, NULL, NULL)",
        "INSERT INTO ZPJE VALUES (NULL, NULL, NULL, NULL, 9, 1, 9)",
    }));
    data.ZPJE.last();
    const auto lines = listCheques(data);
    ASSERT_EQ(lines.size(), 3u);
    const auto row = [](const ChequeLine& l) {
        return std::vector<std::string>{l.number, l.date, l.amount, l.type, l.bank, l.purpose, l.payee};
    };
    using Row = std::vector<std::string>;
    EXPECT_EQ(row(lines[0]), (Row{"10203301", "2008-03-05", "2045.67", "转帐", "建设银行朝阳支行", "货款",
                                  "国网北京市电力公司"}));
    EXPECT_EQ(row(lines[1]), (Row{"10203302", "2008-03-10", "8000.00", "现金", "", "", ""}));
    EXPECT_EQ(row(lines[2]), (Row{"", "", "", "转帐", "", "货款", ""}));
    EXPECT_EQ(data.ZPJE.recNo(), 3);   // the cursor is back where it was
}
