// The PDF export filter on its own: every prepared page becomes a PDF page of
// its own paper (portrait and landscape in one file), and a page prepared
// stretched to the printable area is drawn stretched between its margins.

#include "tests/report/engine/prepared_fixture.h"

#include "report/engine/pdf_export_qt.h"
#include "report/engine/run_control.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace pemvora::report::enginetest {
namespace {

std::optional<std::string> tool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000)) return std::nullopt;
    p.waitForFinished(60000);
    return p.readAllStandardOutput().toStdString();
}

class PdfExport : public PreparedFixture {
protected:
    void addPage(const PaperRequest& paper, PageMargins margins, bool stretch, const std::string& text)
    {
        templates.push_back(templatePage(paper, margins, stretch));
        const int index = pages.Count();
        pages.Add(*templates.back());
        pages.AppendObject(index, *printedText("Memo1", 0, 0, 200, 20, {text}));
    }
    std::string exportPdf()
    {
        const std::string file = dir.path().toStdString() + "/pages.pdf";
        TfrPdfExportFilter pdf;
        EXPECT_TRUE(ExportPreparedPages(report, pdf, file));
        return file;
    }

    QTemporaryDir dir;
    std::vector<std::unique_ptr<TfrPage>> templates;
};

TEST_F(PdfExport, EveryPageHasItsPaperAndAStretchedPageLiesBetweenItsMargins)
{
    addPage({}, {}, false, "Edge");
    addPage({kA4, 2970, 2100, 1, kDefaultBin}, {}, false, "Landscape");
    addPage({}, {40, 60, 40, 60}, true, "Stretched");
    const std::string file = exportPdf();

    const auto info = tool("pdfinfo", {QString::fromStdString(file), "-f", "1", "-l", "3"});
    if (!info) GTEST_SKIP() << "pdfinfo is not installed (poppler-utils)";
    std::vector<std::pair<double, double>> sizes;
    static const QRegularExpression size(R"re(Page\s+\d+ size:\s+([0-9.]+) x ([0-9.]+) pts)re");
    for (auto it = size.globalMatch(QString::fromStdString(*info)); it.hasNext();) {
        const auto m = it.next();
        sizes.emplace_back(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    ASSERT_EQ(sizes.size(), 3u) << *info;
    const double a4w = 210 * 72 / 25.4, a4h = 297 * 72 / 25.4;
    EXPECT_NEAR(sizes[0].first, a4w, 0.5);
    EXPECT_NEAR(sizes[0].second, a4h, 0.5);
    EXPECT_NEAR(sizes[1].first, a4h, 0.5);
    EXPECT_NEAR(sizes[1].second, a4w, 0.5);

    const auto bbox = tool("pdftotext", {"-bbox", QString::fromStdString(file), "-"});
    ASSERT_TRUE(bbox);
    std::map<std::string, std::pair<double, double>> at;
    static const QRegularExpression word(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)"[^>]*>([^<]*)</word>)re");
    for (auto it = word.globalMatch(QString::fromStdString(*bbox)); it.hasNext();) {
        const auto m = it.next();
        at[m.captured(3).toStdString()] = {m.captured(1).toDouble(), m.captured(2).toDouble()};
    }
    ASSERT_EQ(at.count("Edge"), 1u) << *bbox;
    ASSERT_EQ(at.count("Stretched"), 1u) << *bbox;
    // Design (0, 0) is the paper's corner; the text starts after the gaps (2, 1).
    const TfrPageMetrics& m = pages.Page(2).Paper.metrics;
    const double ptX = a4w / m.PaperWidth, ptY = a4h / m.PaperHeight;
    const double tolerance = 0.5 * 72 / 25.4;
    EXPECT_NEAR(at["Edge"].first, 2 * ptX, tolerance);
    EXPECT_NEAR(at["Edge"].second, 1 * ptY, tolerance);
    // Stretched: the paper maps onto the area inside the margins.
    const double sx = double(m.PaperWidth - 80) / m.PaperWidth, sy = double(m.PaperHeight - 120) / m.PaperHeight;
    EXPECT_NEAR(at["Stretched"].first, (40 + 2 * sx) * ptX, tolerance);
    EXPECT_NEAR(at["Stretched"].second, (60 + 1 * sy) * ptY, tolerance);
}

} // namespace
} // namespace pemvora::report::enginetest
