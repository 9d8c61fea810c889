// The cheque query as a report data source: what a template reading the
// current cheque's columns gets, and walking it through TfrDBDataSet.

#include "app/binding/reportdataset.h"
#include "platform/text/gbk.h"
#include "report/data/datasource.h"
#include "tests/app/datafixture.h"

#include <gtest/gtest.h>

using namespace pemvora;
using namespace pemvora::app;
using namespace pemvora::data::testing;

namespace {

struct ReportDataSetFixture : ::testing::Test {
    TempDir dir;
    std::unique_ptr<data::TData> data;

    void SetUp() override
    {
        const std::string path = dir.file("banck.mdb");
        data::writeChequeDatabase(path, {.demo = true});
        data = std::make_unique<data::TData>(path);
    }
};

TEST_F(ReportDataSetFixture, FieldsHaveKindsAndEngineText)
{
    ReportDataSet zpje(data->ZPJE, "ZPJE");
    const struct {
        const char* name;
        report::FieldKind kind;
    } expected[] = {{"ZPJE", report::FieldKind::Float},   {"date", report::FieldKind::DateTime},
                    {"zphm", report::FieldKind::String},  {"lb", report::FieldKind::Integer},
                    {"yh_h", report::FieldKind::Integer}, {"yt_h", report::FieldKind::Integer},
                    {"dw_h", report::FieldKind::Integer}};
    ASSERT_EQ(zpje.fields().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(zpje.fields()[i].name, expected[i].name);
        EXPECT_EQ(zpje.fields()[i].kind, expected[i].kind) << expected[i].name;
    }

    ReportDataSet banks(data->BANCK, "BANCK");
    EXPECT_EQ(text::gbkToUtf8(banks.fieldValue(banks.fieldIndex("bank_name")).string()), "工商银行北京海淀支行");
    EXPECT_DOUBLE_EQ(zpje.fieldValue(0).toNumber(), 2045.67);
    EXPECT_EQ(zpje.fieldValue(1).dateTime(), encodeDateTime({2008, 3, 5}, {9, 12, 0, 0}));

    // A text column without a value reads as an empty text in a report.
    runSql(data->path(), {"UPDATE BANK SET bank_mb = NULL WHERE bank_dh = 1"});
    data->rereadBanks();
    EXPECT_EQ(report::reportFieldValue(banks, banks.fieldIndex("bank_mb")), Value(std::string()));
}

TEST_F(ReportDataSetFixture, AReportWalksTheChequesAndComesBackToTheCurrentOne)
{
    ReportDataSet zpje(data->ZPJE, "ZPJE");
    data->ZPJE.locate("zphm", Value("20451120"));
    report::TfrDBDataSet source("frDBDataSet1");
    source.SetDataSet(&zpje);
    source.RangeBegin = report::rbFirst;
    source.RangeEnd = report::reCurrent;   // remembers the current row for the end of the run
    source.Prepare();
    std::vector<std::string> walked;
    for (source.First(); !source.Eof(); source.Next()) walked.push_back(zpje.fieldValue(2).string());
    EXPECT_EQ(walked, (std::vector<std::string>{"10203301", "10203302", "20451120"}));
    data->ZPJE.last();
    source.Release();
    EXPECT_EQ(data->ZPJE.text("zphm"), "20451120");
}

TEST_F(ReportDataSetFixture, ADatasetThatIsGoneIsAnErrorNotACrash)
{
    auto zpje = std::make_unique<ReportDataSet>(data->ZPJE, "ZPJE");
    data.reset();
    EXPECT_FALSE(zpje->isOpen());
    EXPECT_TRUE(zpje->eof());
    EXPECT_THROW(zpje->first(), report::DataError);
    EXPECT_THROW(zpje->gotoBookmark("1"), report::DataError);
}

} // namespace
