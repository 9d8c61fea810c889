// pemvora-cli prepare, run as a user would: a template with a page header and
// a master band over a CSV file of 120 rows, prepared into a .frp file and
// read back with frp-dump; runs that fail say why on stderr with exit 1.

#include "tests/support/cli_process.h"
#include "tests/report/engine/run_fixture.h"

#include "report/script/displayformat.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>

namespace pemvora::report::enginetest {
namespace {

using pemvora::clitest::cli;
using pemvora::clitest::CliRun;

class PrepareCli : public RunFixture {
protected:
    // A list: "Page N of M" in a 30-pixel page header, then a row of 18 pixels
    // per record (number, name and amount) in the band area 40..1000.
    void SetUp() override
    {
        RunFixture::SetUp();
        setBandArea(*page, 40, 1000);
        report.TwoPass = true;
        band(bandkind::PageHeader, 0, 30, "PageHeader1").Flags = flag::OnFirstPage;
        text("Header", 20, 0, {"Page [PAGE#] of [TOTALPAGES]"});
        TfrBandView& rows = band(bandkind::MasterData, 50, 18, "MasterData1");
        rows.SetProperty("DataSource", "Data");
        text("Number", 20, 50, {"[Data.n]"});
        text("Name", 130, 50, {"[Data.name]"});
        TfrMemoView& amount = text("Amount", 300, 50, {"[Data.amount]"});
        amount.DisplayFormat = DisplayFormat{category::Number, kCustomKind, 0, 0}.pack();
        amount.DisplayFormatText = "#,##0.00";
    }

    QString write(const char* name, const std::string& bytes)
    {
        const QString path = dir.path() + "/" + name;
        std::ofstream(path.toStdString(), std::ios::binary) << bytes;
        return path;
    }
    QString saveTemplate(const char* name)
    {
        const QString path = dir.path() + "/" + name;
        report.SaveToFile(path.toStdString());
        return path;
    }
    static std::string rowsCsv(int count)
    {
        std::string csv = "n,name,amount\n";
        for (int n = 1; n <= count; ++n) csv += std::to_string(n) + ",\"付款人 " + std::to_string(n) + "\"," + std::to_string(n * 1000) + ".5\n";
        return csv;
    }

    QTemporaryDir dir;
};

TEST_F(PrepareCli, AListOf120RowsFillsThreePagesOf51Rows)
{
    const QString frf = saveTemplate("list.frf");
    const QString csv = write("rows.csv", rowsCsv(120));
    const QString frp = dir.path() + "/list.frp";
    const CliRun prepared = cli({"prepare", frf, "-o", frp, "--data", "Data=" + csv});
    ASSERT_EQ(prepared.exitCode, 0) << prepared.err;
    EXPECT_EQ(prepared.out, "");

    const CliRun dump = cli({"frp-dump", frp});
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    const auto pages = nlohmann::json::parse(dump.out)["pages"];
    ASSERT_EQ(pages.size(), 3u);
    const int rowsPerPage[] = {51, 51, 18};
    int n = 0;
    for (int p = 0; p < 3; ++p) {
        const auto& objects = pages[p]["objects"];
        ASSERT_EQ(objects.size(), 1u + 3u * static_cast<std::size_t>(rowsPerPage[p]));
        EXPECT_EQ(objects[0]["memo"][0], "Page " + std::to_string(p + 1) + " of 3");
        EXPECT_EQ(objects[0]["top"], 40);
        for (int r = 0; r < rowsPerPage[p]; ++r) {
            ++n;
            const auto& number = objects[1 + 3 * r];
            ASSERT_EQ(number["memo"][0], std::to_string(n));
            EXPECT_EQ(number["top"], 70 + 18 * r) << "row " << n;
            EXPECT_EQ(objects[2 + 3 * r]["memo"][0], "付款人 " + std::to_string(n));
        }
    }
    EXPECT_EQ(pages[2]["objects"][3 + 3 * 17]["memo"][0], "120,000.50");
}

TEST_F(PrepareCli, VariablesFromTheCommandLineReachTheTexts)
{
    page->FindObject("Header")->Memo = {"[title] [count]"};
    const CliRun prepared = cli({"prepare", saveTemplate("list.frf"), "-o", dir.path() + "/list.frp", "--data",
                                 "Data=" + write("rows.csv", rowsCsv(2)), "title=支票清单", "count=2"});
    ASSERT_EQ(prepared.exitCode, 0) << prepared.err;
    const CliRun dump = cli({"frp-dump", dir.path() + "/list.frp"});
    EXPECT_EQ(nlohmann::json::parse(dump.out)["pages"][0]["objects"][0]["memo"][0], "支票清单 2");
}

TEST_F(PrepareCli, AFailingRunPrintsTheErrorTextAndWritesNothing)
{
    page->FindObject("Name")->Memo = {"[1 + ]"};
    const QString frp = dir.path() + "/bad.frp";
    const CliRun run = cli({"prepare", saveTemplate("bad.frf"), "-o", frp, "--data", "Data=" + write("rows.csv", rowsCsv(3))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.rfind("An error occured during calculating\n[1 + ]\n\nReport: bad.frf\nObject: Name\n\n", 0), 0u)
        << run.err;
    EXPECT_FALSE(QFile::exists(frp));
}

TEST_F(PrepareCli, BadDataIsRefused)
{
    const QString frf = saveTemplate("list.frf");
    const QString frp = dir.path() + "/list.frp";
    const CliRun badCsv = cli({"prepare", frf, "-o", frp, "--data", "Data=" + write("bad.csv", "n,name\n1\n")});
    EXPECT_EQ(badCsv.exitCode, 1);
    EXPECT_EQ(badCsv.err, "CSV line 2: 1 fields, but the first line names 2 columns\n");
    const CliRun missing = cli({"prepare", frf, "-o", frp, "--data", "Data=" + dir.path() + "/none.csv"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("Cannot open the CSV file"), std::string::npos) << missing.err;
    const CliRun noName = cli({"prepare", frf, "-o", frp, "--data", "rows.csv"});
    EXPECT_EQ(noName.exitCode, 2);
    EXPECT_FALSE(QFile::exists(frp));
}

} // namespace
} // namespace pemvora::report::enginetest
