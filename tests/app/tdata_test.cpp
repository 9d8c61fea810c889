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

// Each query reads its own table: its columns, and a row that only that table
// holds. All but addy are open, on their first row, and can write back.
TEST(TData, OpensItsQueriesOnTheirTables)
{
    TempDir dir;
    const std::string path = makeDatabase(dir, {
        "INSERT INTO YT VALUES ('货款', 1)",
        "INSERT INTO YT VALUES ('工资', 2)",
        "INSERT INTO BANK VALUES ('工商银行海淀支行', '0200004909020112345', '工商银行', 1)",
        "INSERT INTO skdw VALUES ('国网北京市电力公司', 3, 'dlgs')",
        "INSERT INTO USE_DW (uses_dwmc) VALUES ('北京瑞丰科技有限公司')",
        "INSERT INTO ZPJE (ZPJE, zphm) VALUES (2045.67, '10203301')",
    });
    TData data(path);
    using Names = std::vector<std::string>;
    const Names cheques{"ZPJE", "date", "zphm", "lb", "yh_h", "yt_h", "dw_h"};
    const Names operators{"id", "user_name", "password"};
    const Names payees{"skdw", "dw_dh", "dwjm"};
    struct Query { const Dataset& q; const char* name; Names columns; int column; Value first; };
    const Query queries[] = {
        {data.ZPJE, "ZPJE", cheques, 2, "10203301"},
        {data.ZPYT, "ZPYT", {"ytmc", "ytdh"}, 0, "货款"},
        {data.SYDW, "SYDW", {"uses_dwmc", "uses_dwfr", "uses_dwdh", "uses_addrs", "uses_lxr", "uses_yb", "E_MAIL"},
         0, "北京瑞丰科技有限公司"},
        {data.BANCK, "BANCK", {"bank_name", "bank_zh", "bank_mb", "bank_dh"}, 1, "0200004909020112345"},
        {data.zphm, "zphm", {"zphm"}, 0, "10203301"},
        {data.users, "users", operators, 1, "admin"},
        {data.yh, "yh", operators, 2, "579"},
        {data.addw, "addw", payees, 2, "dlgs"},
        {data.dwh, "dwh", payees, 1, 3},
    };
    for (const Query& q : queries) {
        SCOPED_TRACE(q.name);
        EXPECT_EQ(q.q.name(), q.name);
        ASSERT_TRUE(q.q.isOpen());
        EXPECT_TRUE(q.q.canModify());
        EXPECT_EQ(q.q.fieldNames(), q.columns);
        EXPECT_EQ(q.q.recNo(), 1);
        EXPECT_EQ(q.q.value(q.column), q.first);
    }
    EXPECT_FALSE(data.addy.isOpen());
    EXPECT_EQ(data.ZPYT.recordCount(), 2);
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
    EXPECT_EQ(data.newPurposeId(), 1);   // an empty purpose table

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
                  "单位名称重复,请重新输入!");
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
