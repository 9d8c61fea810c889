// pemvora-cli resave and dump, run as a user would: a template keeps its bytes
// through resave (all but the modified date-time) and dumps the same; the
// loader's failures reach stderr with exit code 1.

#include "tests/support/cli_process.h"
#include "tests/report/model/template_old_sample.h"
#include "tests/report/model/template_sample.h"
#include "tests/report/model/template_support.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>

namespace pemvora::report::test {
namespace {

using pemvora::clitest::cli;
using pemvora::clitest::CliRun;

std::string readAll(const QString& p)
{
    std::ifstream in(p.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const QString& p, const std::string& bytes)
{
    std::ofstream(p.toStdString(), std::ios::binary) << bytes;
}

class TemplateCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAll();
        ASSERT_TRUE(dir.isValid());
    }
    QString path(const char* name) const { return dir.path() + "/" + name; }
    QTemporaryDir dir;
    RecordingUi ui;
};

TEST_F(TemplateCli, ResaveKeepsEveryByteButTheModifiedTimeAndDumpsTheSame)
{
    TfrReport sample;
    buildSample(sample);
    sample.Created = DateTime{45000.5};
    sample.SaveToFile(path("in.frf").toStdString());

    const CliRun resave = cli({"resave", path("in.frf"), path("out.frf")});
    ASSERT_EQ(resave.exitCode, 0) << resave.err;
    const std::string in = readAll(path("in.frf")), out = readAll(path("out.frf"));
    ASSERT_EQ(in.size(), out.size());
    EXPECT_EQ(in.substr(0, in.size() - 8), out.substr(0, out.size() - 8));

    const CliRun first = cli({"dump", path("in.frf")});
    const CliRun second = cli({"dump", path("out.frf")});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.out, second.out);

    const nlohmann::json doc = nlohmann::json::parse(first.out);
    EXPECT_EQ(doc["version"], 25);
    EXPECT_EQ(doc["printer"], "Virtual printer");
    EXPECT_EQ(doc["info"]["comment"], "\xE6\x94\xAF\xE7\xA5\xA8");   // GBK turned into UTF-8
    EXPECT_EQ(doc["info"]["author"], "Pemvora");
    const auto& objects = doc["pages"][0]["objects"];
    ASSERT_EQ(objects.size(), 24u + 23u + 2u);
    EXPECT_EQ(objects[0]["font"]["name"], "\xE5\xAE\x8B\xE4\xBD\x93");
    EXPECT_EQ(objects[1]["frameWidth"], 0.5);
    EXPECT_EQ(objects[23]["alignment"], 16 + 3 + 4);
    EXPECT_EQ(objects[24 + 16]["frameTyp"], bandkind::GroupHeader);
    EXPECT_EQ(objects[47]["graphicKind"], 4);
    EXPECT_EQ(objects[47]["graphicBytes"].get<std::string>().substr(0, 6), "FFD8FF");
    EXPECT_EQ(objects[48]["class"], "TfrLineView");
    EXPECT_EQ(objects[48]["visible"], true);
    EXPECT_EQ(doc["pages"][1]["type"], 1);
    EXPECT_EQ(doc["dictionary"]["variables"][1], nlohmann::json::array({"Amount", "[dx]"}));
}

TEST_F(TemplateCli, DumpTellsTheVersionTheFileWasWrittenIn)
{
    for (int version : {22, 21}) {
        SCOPED_TRACE(version);
        writeAll(path("old.frf"), oldTemplate(version));
        const CliRun dump = cli({"dump", path("old.frf")});
        ASSERT_EQ(dump.exitCode, 0) << dump.err;
        EXPECT_EQ(nlohmann::json::parse(dump.out)["version"], version);
    }
    // Saved again, the same report is of the current version.
    ASSERT_EQ(cli({"resave", path("old.frf"), path("new.frf")}).exitCode, 0);
    EXPECT_EQ(nlohmann::json::parse(cli({"dump", path("new.frf")}).out)["version"], 25);
}

TEST_F(TemplateCli, LoaderFailuresGoToStderrWithExitCode1)
{
    Bytes newer;
    newer.u8(26).u16(0).u16(0).str("").u8(0xFC);
    writeAll(path("new.frf"), newer.s);
    const CliRun dump = cli({"dump", path("new.frf")});
    EXPECT_EQ(dump.exitCode, 1);
    EXPECT_NE(dump.err.find("Unsupported FRF format"), std::string::npos);
    EXPECT_TRUE(dump.out.empty());

    const CliRun resave = cli({"resave", path("new.frf"), path("never.frf")});
    EXPECT_EQ(resave.exitCode, 1);
    EXPECT_FALSE(QFile::exists(path("never.frf")));

    EXPECT_EQ(cli({"dump", path("missing.frf")}).exitCode, 1);
}

TEST_F(TemplateCli, PasswordComesFromTheOption)
{
    TfrReport report;
    report.Pages.Add();
    report.Pages.Items(0).Add<TfrLineView>().Name = "Line1";
    report.PasswordProtected = true;
    report.ReportPassword = "pw";
    report.SaveToFile(path("p.frf").toStdString());

    const CliRun right = cli({"dump", path("p.frf"), "--password", "pw"});
    ASSERT_EQ(right.exitCode, 0) << right.err;
    const nlohmann::json doc = nlohmann::json::parse(right.out);
    EXPECT_EQ(doc["info"]["passwordProtected"], true);
    EXPECT_EQ(doc["pages"][0]["objects"].size(), 1u);

    // Without it, or with a wrong one, the template is not read: nothing is
    // printed but the reason, and the command fails.
    for (const QStringList& args : {QStringList{"dump", path("p.frf")},
                                    QStringList{"dump", path("p.frf"), "--password", "wrong"}}) {
        const CliRun refused = cli(args);
        EXPECT_EQ(refused.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(refused.out.empty());
        EXPECT_NE(refused.err.find("Wrong or missing password"), std::string::npos);
    }
    EXPECT_EQ(cli({"resave", path("p.frf"), path("q.frf")}).exitCode, 1);
    EXPECT_EQ(cli({"resave", path("p.frf"), path("q.frf"), "--password", "pw"}).exitCode, 0);
}

} // namespace
} // namespace pemvora::report::test
