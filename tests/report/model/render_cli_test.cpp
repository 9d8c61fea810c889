// pemvora-cli render, run as a user would, on a small cheque-like template: a
// wrapped Chinese memo comes out one text run per line, a line step apart;
// the designer's view shows the brackets and the band titles; the PNG has the
// page's size at 96 pixels per inch times the scale.

#include "tests/support/cli_process.h"
#include "platform/text/gbk.h"
#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/model/report.h"

#include "tests/report/model/fixture.h"
#include "tests/support/test_pictures.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>

namespace pemvora::report::modeltest {
namespace {

using nlohmann::json;

std::string G(const std::string& utf8) { return text::utf8ToGbk(utf8); }

using pemvora::clitest::cli;
using pemvora::clitest::CliRun;

json readJson(const QString& path)
{
    std::ifstream in(path.toStdString());
    return json::parse(in);
}

class RenderCli : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        TfrReport rep;
        engine().CurrentReport = &rep;
        TfrPage& page = rep.Pages[rep.Pages.Add()];
        auto& band = page.Add<TfrBandView>();
        band.SetBandKind(bandkind::PageHeader);
        band.PlaceAt(0, 40, 700, 200);
        band.Name = "Band1";
        auto& memo = page.Add<TfrMemoView>();
        memo.Name = "Memo1";
        memo.Font.Name = G("宋体");
        memo.PlaceAt(50, 100, 4 * 13 + 4, 120);   // four characters of 13 pixels a line
        memo.Memo = {G("收款人：[dskdw]")};
        auto& line = page.Add<TfrLineView>();
        line.Name = "Line1";
        line.PlaceAt(50, 90, 300, 2);
        rep.SaveToFile(file().toStdString());
        if (const auto keep = testsupport::testPicturePath("render_sample.frf")) rep.SaveToFile(keep->toStdString());
        engine().CurrentReport = nullptr;
    }
    QString file() const { return dir.path() + "/cheque.frf"; }
    QString out(const char* name) const { return dir.path() + "/" + name; }
    QTemporaryDir dir;
};

std::vector<json> ofOp(const json& ops, const char* op)
{
    std::vector<json> found;
    for (const json& o : ops)
        if (o["op"] == op) found.push_back(o);
    return found;
}

TEST_F(RenderCli, WrappedChineseMemoIsOneRunPerLineAtLineSteps)
{
    const CliRun run = cli({"render", file(), "--record", out("run.json"), "--png", out("run.png"),
                            QString::fromUtf8("dskdw=北京市某某科技有限公司")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json ops = readJson(out("run.json"));
    const auto texts = ofOp(ops, "text");
    const std::vector<std::string> lines = {"收款人：", "北京市某", "某科技有", "限公司"};
    ASSERT_EQ(texts.size(), lines.size()) << ops.dump(1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(texts[i]["text"], lines[i]);
        EXPECT_EQ(texts[i]["x"], 52);
        EXPECT_EQ(texts[i]["y"], 101 + 15 * static_cast<int>(i));   // GapY 1, then 13 + 2 a line
        EXPECT_EQ(texts[i]["font"]["name"], "宋体");
        EXPECT_EQ(texts[i]["font"]["size"], 13);
    }
    // The line object along its top edge; no band in a run.
    const auto drawnLines = ofOp(ops, "line");
    ASSERT_EQ(drawnLines.size(), 1u);
    EXPECT_EQ(drawnLines[0]["y1"], 90);
    EXPECT_EQ(drawnLines[0]["y2"], 90);
    EXPECT_TRUE(ofOp(ops, "fill").empty());

    const QImage png(out("run.png"));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.width(), 758);     // A4 at 93/1.015 design pixels per inch
    EXPECT_EQ(png.height(), 1071);
    if (const auto keep = testsupport::testPicturePath("render_run.png")) png.save(*keep);
}

TEST_F(RenderCli, DesignViewShowsTheBracketsAndTheBandTitle)
{
    const CliRun run = cli({"render", file(), "--design", "--scale", "2", "--record", out("design.json"), "--png",
                            out("design.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json ops = readJson(out("design.json"));
    std::vector<std::string> texts;
    for (const json& t : ofOp(ops, "text")) texts.push_back(t["text"]);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Page header"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "[dskdw]"), texts.end()) << ops.dump(1);
    // Coordinates at the scale asked for: the band title at (0 + 4, 40 + 2) x 2.
    for (const json& t : ofOp(ops, "text"))
        if (t["text"] == "Page header") {
            EXPECT_EQ(t["x"], 8);
            EXPECT_EQ(t["y"], 84);
        }
    const QImage png(out("design.png"));
    EXPECT_EQ(png.width(), 2 * 758);
    if (const auto keep = testsupport::testPicturePath("render_design.png")) png.save(*keep);
}

TEST_F(RenderCli, Failures)
{
    EXPECT_EQ(cli({"render", file(), "--page", "2", "--record", out("x.json")}).exitCode, 1);
    EXPECT_EQ(cli({"render", out("missing.frf"), "--record", out("x.json")}).exitCode, 1);
    EXPECT_EQ(cli({"render", file()}).exitCode, 2);   // nothing to write
    EXPECT_EQ(cli({"render", file(), "--scale", "0", "--png", out("x.png")}).exitCode, 2);
    // An expression that fails ends the command with the evaluator's message.
    const CliRun bad = cli({"render", file(), "--record", out("x.json")});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.err.find("Undefined symbol \"DSKDW\""), std::string::npos) << bad.err;
}

} // namespace
} // namespace pemvora::report::modeltest
