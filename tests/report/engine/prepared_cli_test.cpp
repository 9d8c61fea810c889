// pemvora-cli frp-dump, run as a user would: the pages and objects of a
// prepared report as JSON, a damaged file refused on stderr with exit 1.

#include "tests/support/cli_process.h"
#include "tests/report/engine/prepared_fixture.h"

#include "platform/text/gbk.h"
#include "tests/support/test_pictures.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>

namespace pemvora::report::enginetest {
namespace {

using pemvora::clitest::cli;
using pemvora::clitest::CliRun;

class FrpDump : public PreparedFixture {
protected:
    QString write(const char* name, const std::string& bytes)
    {
        const QString path = dir.path() + "/" + name;
        std::ofstream(path.toStdString(), std::ios::binary) << bytes;
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(FrpDump, PrintsThePagesAndTheObjectsAsPrinted)
{
    pages.Add(*templatePage({kA4, 2100, 2970, 0, kDefaultBin}, {36, 40, 20, 30}));
    auto amount = printedText("Memo1", 30, 40, 200, 18, {text::utf8ToGbk("壹仟贰佰元整") + "\x01", "second"});
    amount->Font.Name = text::utf8ToGbk("宋体");
    amount->Font.Size = 12;
    amount->Alignment = 2;
    amount->Tag = "@2";
    pages.AppendObject(0, *amount);
    pages.Add(*templatePage({11, 1480, 2100, 1, 15}, {}, true));
    TfrPictureView picture;
    picture.Name = "Picture1";
    picture.PlaceAt(5, 6, 40, 30);
    picture.BlobType = 1;
    pages.AppendObject(1, picture);
    TfrLineView line;
    line.Name = "Line1";
    line.PlaceAt(0, 100, 300, 0);
    pages.AppendObject(1, line);

    const CliRun run = cli({"frp-dump", write("run.frp", pages.SaveToBytes())});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::json doc = nlohmann::json::parse(run.out);
    ASSERT_EQ(doc["pages"].size(), 2u);

    const nlohmann::json& first = doc["pages"][0];
    EXPECT_EQ(first["paperSize"], 9);
    EXPECT_EQ(first["paperWidth"], 2100);
    EXPECT_EQ(first["paperHeight"], 2970);
    EXPECT_EQ(first["orientation"], 0);
    EXPECT_EQ(first["bin"], -1);
    EXPECT_EQ(first["useMargins"], true);
    EXPECT_EQ(first["margins"], nlohmann::json({36, 40, 20, 30}));
    ASSERT_EQ(first["objects"].size(), 1u);
    const nlohmann::json& memo = first["objects"][0];
    EXPECT_EQ(memo["kind"], 0);
    EXPECT_EQ(memo["class"], "TfrMemoView");
    EXPECT_EQ(memo["name"], "Memo1");
    EXPECT_EQ(memo["left"], 30);
    EXPECT_EQ(memo["top"], 40);
    EXPECT_EQ(memo["width"], 200);
    EXPECT_EQ(memo["height"], 18);
    EXPECT_EQ(memo["memo"], nlohmann::json({"壹仟贰佰元整", "second"}));
    EXPECT_EQ(memo["font"]["name"], "宋体");
    EXPECT_EQ(memo["font"]["size"], 12);
    EXPECT_EQ(memo["alignment"], 2);
    EXPECT_EQ(memo["tag"], "@2");
    EXPECT_FALSE(memo.contains("highlight"));   // not kept in a prepared record

    const nlohmann::json& second = doc["pages"][1];
    EXPECT_EQ(second["paperSize"], 11);
    EXPECT_EQ(second["paperWidth"], 2100);   // landscape
    EXPECT_EQ(second["orientation"], 1);
    EXPECT_EQ(second["bin"], 15);
    EXPECT_EQ(second["useMargins"], false);
    ASSERT_EQ(second["objects"].size(), 2u);
    EXPECT_EQ(second["objects"][0]["class"], "TfrPictureView");
    EXPECT_EQ(second["objects"][0]["graphicKind"], 0);
    EXPECT_EQ(second["objects"][0]["blobType"], 1);
    EXPECT_EQ(second["objects"][1]["kind"], 4);
    EXPECT_EQ(second["objects"][1]["width"], 300);
}

TEST_F(FrpDump, ADamagedOrMissingFileFailsWithItsReason)
{
    pages.Add(*templatePage());
    const std::string good = pages.SaveToBytes();
    struct Case {
        const char* what;
        QString path;
        const char* message;
    };
    const std::vector<Case> cases{
        {"truncated", write("cut.frp", good.substr(0, good.size() - 1)),
         "The prepared report file is damaged: it ends too early"},
        {"missing", dir.path() + "/absent.frp", "Cannot open file"},
    };
    for (const Case& c : cases) {
        const CliRun run = cli({"frp-dump", c.path});
        EXPECT_EQ(run.exitCode, 1) << c.what;
        EXPECT_TRUE(run.out.empty()) << c.what;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.what << ": " << run.err;
    }
}

TEST_F(FrpDump, RenderDrawsAPageOfAPreparedReportAsPrinted)
{
    pages.Add(*templatePage());
    pages.Add(*templatePage({11, 1480, 2100, 0, kDefaultBin}));
    auto text = printedText("Memo1", 30, 40, 200, 30, {text::utf8ToGbk("支票")});
    text->FrameTyp = frame::All;
    pages.AppendObject(1, *text);
    const QString file = write("run.frp", pages.SaveToBytes());
    const QString png = dir.path() + "/page.png";
    const QString record = dir.path() + "/page.json";

    const CliRun run = cli({"render", file, "--page", "2", "--scale", "2", "--png", png, "--record", record});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const QImage image(png);
    if (const auto keep = testsupport::testPicturePath("frp_render_page2.png")) image.save(*keep);
    EXPECT_EQ(image.width(), 2 * 534);   // A5 on the virtual printer: 534 x 758 design pixels
    EXPECT_EQ(image.height(), 2 * 758);
    EXPECT_EQ(image.pixel(60, 100), qRgb(0, 0, 0));         // the frame's left line, twice as far in
    EXPECT_EQ(image.pixel(600, 600), qRgb(255, 255, 255));   // nothing elsewhere

    std::ifstream in(record.toStdString());
    const nlohmann::json ops = nlohmann::json::parse(in);
    bool found = false;
    for (const nlohmann::json& op : ops) {
        if (op["op"] != "text") continue;
        found = true;
        EXPECT_EQ(op["text"], "支票");
        EXPECT_GE(op["x"].get<int>(), 60);
        EXPECT_LT(op["x"].get<int>(), 460);
        EXPECT_GE(op["y"].get<int>(), 80);
        EXPECT_LT(op["y"].get<int>(), 140);
    }
    EXPECT_TRUE(found);

    const CliRun missing = cli({"render", file, "--page", "3", "--png", png});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("There is no page 3"), std::string::npos) << missing.err;
    EXPECT_EQ(cli({"render", file, "--design", "--png", png}).exitCode, 2);
}

} // namespace
} // namespace pemvora::report::enginetest
