// pemvora-cli resave and dump with the other file forms: resave writes what
// OUT's extension names, dump reads new-report templates and dictionary files,
// and wrong names or damaged files end with a message and exit code 2 or 1.

#include "tests/support/cli_process.h"
#include "tests/report/model/template_sample.h"
#include "tests/report/model/template_support.h"

#include "report/model/report_files.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace pemvora::report::test {
namespace {

using pemvora::clitest::cli;
using pemvora::clitest::CliRun;

class ReportFilesCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAll();
        ASSERT_TRUE(dir.isValid());
        buildSample(sample);
        sample.SaveToFile(path("in.frf"));
    }
    std::string path(const char* name) const { return (dir.path() + "/" + name).toStdString(); }
    QString qpath(const char* name) const { return dir.path() + "/" + name; }
    nlohmann::json dump(const char* name)
    {
        const CliRun run = cli({"dump", qpath(name)});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return nlohmann::json::parse(run.out);
    }
    QTemporaryDir dir;
    RecordingUi ui;
    TfrReport sample;
};

TEST_F(ReportFilesCli, ResaveWritesTheFormOutNamesAndDumpReadsThemBack)
{
    for (const char* out : {"out.frt", "out.fr3", "out.frd"}) {
        const CliRun run = cli({"resave", qpath("in.frf"), qpath(out)});
        ASSERT_EQ(run.exitCode, 0) << out << run.err;
    }
    EXPECT_EQ(LoadBytesFromFile(path("out.frd")), SaveDictionaryToBytes(sample.Dictionary));
    EXPECT_EQ(LoadBytesFromFile(path("out.fr3")).rfind("<?xml version=\"1.0\"?>\r\n<TfrReport ", 0), 0u);

    const nlohmann::json original = dump("in.frf");
    const nlohmann::json newReport = dump("out.frt");
    EXPECT_EQ(newReport["version"], 25);
    EXPECT_EQ(newReport["pages"], original["pages"]);
    EXPECT_EQ(newReport["dictionary"], original["dictionary"]);
    EXPECT_EQ(newReport["description"], nlohmann::json::array());
    EXPECT_TRUE(newReport["previewBitmap"].is_null());
    EXPECT_EQ(dump("out.frd"), (nlohmann::json{{"dictionary", original["dictionary"]}}));

    // Back from the new-report template and the dictionary file.
    ASSERT_EQ(cli({"resave", qpath("out.frt"), qpath("again.frf")}).exitCode, 0);
    EXPECT_EQ(dump("again.frf")["pages"], original["pages"]);
    ASSERT_EQ(cli({"resave", qpath("out.frd"), qpath("again.frd")}).exitCode, 0);
    EXPECT_EQ(LoadBytesFromFile(path("again.frd")), LoadBytesFromFile(path("out.frd")));

    // A new-report template keeps its description and picture through resave.
    const NewReportTemplateInfo info{{"Cheque", "\xD6\xA7\xC6\xB1"}, {}};
    SaveNewReportTemplateToFile(sample, info, path("described.frt"));
    ASSERT_EQ(cli({"resave", qpath("described.frt"), qpath("copy.frt")}).exitCode, 0);
    EXPECT_EQ(LoadBytesFromFile(path("copy.frt")), LoadBytesFromFile(path("described.frt")));
    EXPECT_EQ(dump("copy.frt")["description"], nlohmann::json::array({"Cheque", "\xE6\x94\xAF\xE7\xA5\xA8"}));
}

TEST_F(ReportFilesCli, WrongNamesAreBadUsageAndDamagedFilesFail)
{
    const CliRun wrongOut = cli({"resave", qpath("in.frf"), qpath("out.txt")});
    EXPECT_EQ(wrongOut.exitCode, 2);
    EXPECT_NE(wrongOut.err.find("OUT must end in .frf, .frt, .fr3 or .frd"), std::string::npos) << wrongOut.err;
    EXPECT_FALSE(QFile::exists(qpath("out.txt")));

    ASSERT_EQ(cli({"resave", qpath("in.frf"), qpath("x.fr3")}).exitCode, 0);
    const CliRun readXml = cli({"dump", qpath("x.fr3")});
    EXPECT_EQ(readXml.exitCode, 2);
    EXPECT_NE(readXml.err.find("cannot be read"), std::string::npos) << readXml.err;

    struct Case {
        const char* name;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"cut.frd", "\x19\xFE\xFF\x02", "The dictionary file is damaged"},
        {"cut.frt", std::string("\x00\x00\x00\x30\x00\x00\x00\x00", 8), "The new-report template is damaged"},
    };
    for (const Case& c : cases) {
        SaveBytesToFile(path(c.name), c.bytes);
        const CliRun run = cli({"dump", qpath(c.name)});
        EXPECT_EQ(run.exitCode, 1) << c.name;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(c.name), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
        EXPECT_EQ(cli({"resave", qpath(c.name), qpath("never.frf")}).exitCode, 1);
        EXPECT_FALSE(QFile::exists(qpath("never.frf")));
    }
}

} // namespace
} // namespace pemvora::report::test
