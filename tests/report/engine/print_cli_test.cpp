// pemvora-cli print, run as a user would: a three-page list on a paper of
// its own written as PDF, read back with pdfinfo and pdftotext -bbox: the
// pages have the template's paper size, every text is text and lies where
// the run placed it; pages, copies and collation choose the PDF's pages; bad
// usage and failures end with their exit codes.

#include "tests/report/engine/run_fixture.h"

#include "report/engine/run_control.h"
#include "tests/support/test_pictures.h"

#include <QFile>

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace pemvora::report::enginetest {
namespace {

using namespace bandkind;

struct ToolRun {
    int exitCode = -1;
    std::string out, err;
};

std::optional<ToolRun> runTool(const QString& program, const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PEMVORA_PRINTERS", "none");
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForStarted(10000)) return std::nullopt;
    p.waitForFinished(120000);
    return ToolRun{p.exitCode(), p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}

ToolRun cli(const QStringList& args) { return runTool(QStringLiteral(PEMVORA_CLI), args).value(); }

// A word as pdftotext -bbox gives it, in points from the top-left corner.
struct Word {
    int page;
    std::string text;
    double xMin, yMin;
};

std::vector<Word> words(const QString& pdf)
{
    const auto run = runTool("pdftotext", {"-bbox", pdf, "-"});
    if (!run) return {};
    std::vector<Word> out;
    int page = -1;
    static const QRegularExpression tag(
        R"re(<page |<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="[0-9.]+">([^<]*)</word>)re");
    auto it = tag.globalMatch(QString::fromStdString(run->out));
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.captured(0).startsWith("<page")) {
            ++page;
            continue;
        }
        out.push_back({page, m.captured(3).toStdString(), m.captured(1).toDouble(), m.captured(2).toDouble()});
    }
    return out;
}

std::string withoutMarks(std::string line)
{
    std::erase(line, kEndOfParagraph);
    return line;
}

constexpr double kPointsPerDesignPixel = 72.0 / kDesignPixelsPerInch;
constexpr double kPointsPerMillimetre = 72.0 / 25.4;

// A list on a paper of 180 x 120 mm: page header "H<page>", a row "R<line>"
// per record, page footer "F<page>"; 40 records fill three pages.
class PrintCli : public RunFixture {
protected:
    void SetUp() override
    {
        RunFixture::SetUp();
        page->ApplyPaper({kCustomPaper, 1800, 1200, 0, kDefaultBin});
        setBandArea(*page, 10, 400);
        band(PageHeader, 0, 20, "PageHeader1").Flags = flag::OnFirstPage;
        text("Header", 30, 0, {"H[PAGE#]"}).FrameTyp = frame::All;
        band(PageFooter, 300, 20, "PageFooter1").Flags = flag::OnFirstPage | flag::OnLastPage;
        text("Footer", 250, 300, {"F[PAGE#]"});
        TfrBandView& rows = band(MasterData, 100, 20, "MasterData1");
        rows.SetProperty("DataSource", "40");
        text("Row", 60, 100, {"R[LINE#]"});
        frf = dir.path() + "/list.frf";
        report.SaveToFile(frf.toStdString());
    }
    QString path(const char* name) const { return dir.path() + "/" + name; }
    std::optional<std::string> pdfinfo(const QString& pdf)
    {
        const auto run = runTool("pdfinfo", {pdf});
        if (!run) return std::nullopt;
        return run->out;
    }

    QTemporaryDir dir;
    QString frf;
};

TEST_F(PrintCli, ThreePagesAtThePaperSizeWithTheTextsWhereTheRunPlacedThem)
{
    const QString pdf = path("list.pdf");
    const ToolRun run = cli({"print", frf, "--pdf", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "") << "no progress line when stderr is not a terminal";
    if (const auto keep = testsupport::testPicturePath("print_cli_list.pdf")) {
        QFile::remove(*keep);
        QFile::copy(pdf, *keep);
    }

    const auto info = pdfinfo(pdf);
    if (!info) GTEST_SKIP() << "pdfinfo is not installed (poppler-utils)";
    static const QRegularExpression pages(R"re(\nPages:\s+3\n)re");
    EXPECT_TRUE(pages.match(QString::fromStdString(*info)).hasMatch()) << *info;
    static const QRegularExpression sizes(R"re(Page size:\s+([0-9.]+) x ([0-9.]+) pts)re");
    const auto m = sizes.match(QString::fromStdString(*info));
    ASSERT_TRUE(m.hasMatch()) << *info;
    EXPECT_NEAR(m.captured(1).toDouble(), 180 * kPointsPerMillimetre, 0.5);
    EXPECT_NEAR(m.captured(2).toDouble(), 120 * kPointsPerMillimetre, 0.5);

    // Where the run put every text: the same template prepared here.
    ASSERT_TRUE(PrepareReport(report));
    ASSERT_EQ(pageCount(), 3);
    struct Expected {
        int page;
        std::string text;
        double x, y;   // points
    };
    std::vector<Expected> expected;
    for (int i = 0; i < pageCount(); ++i)
        for (const auto& v : ReadPreparedObjects(PreparedPages(report).Page(i).Stream.data()))
            expected.push_back({i, withoutMarks(v->Memo.at(0)), (v->Left + v->GapX) * kPointsPerDesignPixel,
                                (v->Top + v->GapY) * kPointsPerDesignPixel});
    ASSERT_EQ(expected.size(), 46u);   // 40 rows, 3 headers, 3 footers

    const std::vector<Word> found = words(pdf);
    ASSERT_EQ(found.size(), expected.size());
    const double tolerance = 0.5 * kPointsPerMillimetre;
    for (std::size_t k = 0; k < expected.size(); ++k) {
        const Expected& e = expected[k];
        const Word& w = found[k];
        EXPECT_EQ(w.page, e.page) << e.text;
        EXPECT_EQ(w.text, e.text);
        EXPECT_NEAR(w.xMin, e.x, tolerance) << e.text;
        EXPECT_NEAR(w.yMin, e.y, tolerance) << e.text;
    }
    // Every font is embedded: the "emb" column of pdffonts reads "yes".
    if (const auto fonts = runTool("pdffonts", {pdf})) {
        const QStringList lines = QString::fromStdString(fonts->out).split('\n', Qt::SkipEmptyParts);
        ASSERT_GE(lines.size(), 3) << fonts->out;
        const qsizetype emb = lines[0].indexOf("emb");
        for (qsizetype i = 2; i < lines.size(); ++i) EXPECT_EQ(lines[i].mid(emb, 3), "yes") << fonts->out;
    }
}

// The first word of every PDF page.
std::vector<std::string> firstWords(const QString& pdf)
{
    std::vector<std::string> out;
    int page = -1;
    for (const Word& w : words(pdf)) {
        if (w.page == page) continue;
        page = w.page;
        out.push_back(w.text);
    }
    return out;
}

TEST_F(PrintCli, PagesCopiesAndCollationChooseThePdfsPages)
{
    if (!runTool("pdftotext", {"-v"})) GTEST_SKIP() << "pdftotext is not installed (poppler-utils)";
    struct Case {
        QStringList options;
        std::vector<std::string> pages;
    };
    const Case cases[] = {
        {{"--pages", "2-"}, {"H2", "H3"}},
        {{"--pages", "1,3", "--copies", "2"}, {"H1", "H1", "H3", "H3"}},
        {{"--pages", "1,3", "--copies", "2", "--collate"}, {"H1", "H3", "H1", "H3"}},
        {{"--copies", "2", "--collate"}, {"H1", "H2", "H3", "H1", "H2", "H3"}},
    };
    for (const Case& c : cases) {
        const QString pdf = path("choice.pdf");
        const ToolRun run = cli(QStringList{"print", frf, "--pdf", pdf} + c.options);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(firstWords(pdf), c.pages) << c.options.join(' ').toStdString();
    }
}

TEST_F(PrintCli, OnATerminalAProgressLineCountsThePages)
{
    // script(1) gives the command a terminal; its output is what the terminal showed.
    const QString pdf = path("tty.pdf");
    const QString command = QStringLiteral("'%1' print '%2' --pdf '%3'").arg(QStringLiteral(PEMVORA_CLI), frf, pdf);
    const auto run = runTool("script", {"-qec", command, "/dev/null"});
    if (!run) GTEST_SKIP() << "script (util-linux) is not installed";
    ASSERT_EQ(run->exitCode, 0) << run->out;
    EXPECT_NE(run->out.find("\rPage 1 "), std::string::npos) << run->out;
    EXPECT_NE(run->out.find("\rPage 3 "), std::string::npos) << run->out;
    EXPECT_TRUE(QFile::exists(pdf));
}

TEST_F(PrintCli, APreparedReportPrintsAsItWasPrepared)
{
    const QString frp = path("list.frp");
    ASSERT_EQ(cli({"prepare", frf, "-o", frp}).exitCode, 0);
    const QString pdf = path("frp.pdf");
    const ToolRun run = cli({"print", frp, "--pdf", pdf, "--pages", "3"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    if (!runTool("pdftotext", {"-v"})) GTEST_SKIP() << "pdftotext is not installed (poppler-utils)";
    EXPECT_EQ(firstWords(pdf), std::vector<std::string>{"H3"});
}

TEST_F(PrintCli, FailuresAndBadUsage)
{
    const QString pdf = path("out.pdf");
    struct Case {
        QStringList args;
        int exitCode;
        const char* says;
    };
    const Case cases[] = {
        {{"print", frf, "--pdf", pdf, "--pages", "1,x"}, 2, "'x' is not a valid page number"},
        {{"print", frf, "--pdf", pdf, "--copies", "0"}, 2, "--copies"},
        {{"print", frf, "--pdf", pdf, "--printer", "Office"}, 2, "excludes"},
        {{"print", frf, "--pdf", pdf, "--pages", "9"}, 1, "nothing was printed"},
        {{"print", path("missing.frf"), "--pdf", pdf}, 1, "File not found"},
        {{"print", frf, "--printer", "No such printer"}, 1, "No printer is named \"No such printer\""},
        // Without installed printers the virtual printer is selected: it prints nothing.
        {{"print", frf}, 1, "Virtual printer"},
    };
    for (const Case& c : cases) {
        const ToolRun run = cli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString() << "\n" << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.args.join(' ').toStdString() << "\n" << run.err;
    }
    EXPECT_FALSE(QFile::exists(pdf));
}

} // namespace
} // namespace pemvora::report::enginetest
