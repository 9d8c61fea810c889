// The preview's state without a window: it holds the report's pages while it
// shows them, the zoom the user picks is the engine's, only pages in view are
// drawn (and the others hold no objects), find walks the drawn texts in order
// and brings the hit into view, page links move between pages, pages are
// removed and added, and files open and save without losing the pages shown.

#include "tests/report/engine/prepared_fixture.h"
#include "tests/support/recording_ui.h"

#include "report/preview/preview_session.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace pemvora::report {
namespace {

class PreviewSessionTest : public enginetest::PreparedFixture {
protected:
    void SetUp() override
    {
        PreparedFixture::SetUp();
        report.Pages.Add();
        // Three A4 pages with a few texts each; page 2 holds "Total" twice.
        for (int i = 0; i < 3; ++i) pages.Add(*templatePage());
        append(0, "Memo1", 40, 40, {"Cheque 1"});
        append(1, "Memo2", 40, 40, {"Sub-total"});
        append(1, "Memo3", 40, 600, {"TOTAL due"});
        append(1, "URLBack", 300, 40, {"back"}, "@1");
        append(2, "Memo4", 40, 40, {"Last page"});
        append(2, "URLNext", 300, 40, {"to 2"}, "@2");
        append(0, "URLFar", 300, 40, {"far"}, "@9");
        append(0, "URLZero", 300, 100, {"zero"}, "@0");
    }

    void append(int page, const char* name, int left, int top, StringList lines, std::string tag = {})
    {
        auto text = printedText(name, left, top, 120, 24, std::move(lines));
        text->Tag = std::move(tag);
        pages.AppendObject(page, *text);
    }

    // A session showing the report's pages in a box of the given size.
    std::unique_ptr<PreviewSession> show(Size box = {800, 600})
    {
        auto session = std::make_unique<PreviewSession>(report);
        session->TakePages();
        session->ResetView(true);
        session->SetBoxSize(box);
        return session;
    }

    QImage paint(PreviewSession& session)
    {
        const Size box = session.BoxSize();
        QImage image(box.width, box.height, QImage::Format_RGB32);
        QPainter painter(&image);
        session.Paint(painter, {0, 0, box.width, box.height});
        return image;
    }

    Size a4() const
    {
        const TfrPageMetrics& m = pages.Page(0).Paper.metrics;
        return {m.PaperWidth, m.PaperHeight};
    }
};

TEST_F(PreviewSessionTest, TheReportKeepsThePagesShownAndClosingThePreviewClearsThem)
{
    TfrEMFPages* list = report.EMFPages.get();
    {
        auto session = show();
        EXPECT_EQ(session->PageCount(), 3);
        EXPECT_EQ(session->Pages(), list);
        EXPECT_EQ(PreparedPages(report).Count(), 3);

        // What runs on the report's pages may replace them, also failing half way.
        session->GoToPage(2);
        EXPECT_THROW(session->RunOnReportPages([&] {
            report.EMFPages = std::make_shared<TfrEMFPages>(&report);
            for (int i = 0; i < 2; ++i) report.EMFPages->Add(*templatePage());
            throw PreparedReportError("failed");
        }),
                     PreparedReportError);
        EXPECT_EQ(session->PageCount(), 2);
        EXPECT_EQ(session->Pages(), report.EMFPages.get());
        EXPECT_EQ(session->CurrentPage(), 2);
    }
    EXPECT_EQ(PreparedPages(report).Count(), 0);
}

TEST_F(PreviewSessionTest, TheZoomPickedIsTheEngineWideZoomOfTheNextPreview)
{
    auto first = show({800, 600});
    EXPECT_DOUBLE_EQ(first->CurrentZoom().factor, 1.0);
    first->PickZoom(3);
    const double twoPages = (800 - 30) / (2.0 * a4().width);
    EXPECT_DOUBLE_EQ(first->CurrentZoom().factor, twoPages);
    EXPECT_EQ(first->Layout().pages[1].top, first->Layout().pages[0].top);
    EXPECT_EQ(first->Layout().pages[2].left, first->Layout().pages[0].left);
    EXPECT_GT(first->Layout().pages[2].top, first->Layout().pages[0].bottom);
    EXPECT_DOUBLE_EQ(engine().PreviewZoom, twoPages);
    EXPECT_EQ(engine().PreviewZoomMode, 3);

    first->PickZoom(75);
    first.reset();
    for (int i = 0; i < 3; ++i) pages.Add(*templatePage());
    auto second = show({800, 600});
    EXPECT_EQ(second->CurrentZoom(), (Zoom{0.75, ZoomMode::Percent}));
    // Halves round to the even neighbour (758 design pixels give 568.5).
    EXPECT_EQ(second->Layout().pages[0].width(), static_cast<int>(std::nearbyint(a4().width * 0.75)));
}

TEST_F(PreviewSessionTest, ScrollingMakesThePageUnderTheTopLineCurrentAndGoToPageScrollsToIt)
{
    auto session = show({900, 600});
    std::vector<int> told;
    session->OnPageChanged = [&](int page) { told.push_back(page); };
    const Rect second = session->Layout().pages[1];
    session->SetVerticalPosition(second.top - 11);
    EXPECT_EQ(session->CurrentPage(), 1);
    session->SetVerticalPosition(second.top - 10);
    EXPECT_EQ(session->CurrentPage(), 2);
    EXPECT_EQ(session->PageLabel(), "Page 2/3");
    session->GoToPage(3);
    EXPECT_EQ(session->ScrollPosition().y,
              std::min(session->Layout().pages[2].top - 10, session->Layout().verticalRange));
    session->GoToPage(99);
    EXPECT_EQ(session->CurrentPage(), 3);
    EXPECT_EQ(told, (std::vector<int>{2, 3}));
}

TEST_F(PreviewSessionTest, OnlyPagesInViewAreDrawnAndPagesOutOfViewHoldNoObjects)
{
    auto session = show({900, 600});
    paint(*session);
    EXPECT_EQ(session->PagesInUse(), (std::vector<int>{0}));
    EXPECT_NE(pages.Page(0).PageObjects, nullptr);

    // Down to page 3 at 10 %: every page in view.
    session->PickZoom(10);
    paint(*session);
    EXPECT_EQ(session->PagesInUse(), (std::vector<int>{0, 1, 2}));

    // At 200 % on page 3 only page 3 is drawn; pages 1 and 2 gave their objects back.
    session->PickZoom(200);
    session->GoToPage(3);
    const QImage image = paint(*session);
    EXPECT_EQ(session->PagesInUse(), (std::vector<int>{2}));
    EXPECT_EQ(pages.Page(0).PageObjects, nullptr);
    EXPECT_EQ(pages.Page(1).PageObjects, nullptr);

    // Grey around the sheet, white sheet, black border.
    const Rect sheet = session->ScreenRect(2);
    EXPECT_EQ(image.pixel(sheet.left - 5 > 0 ? sheet.left - 5 : 2, 2), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(sheet.left, std::max(sheet.top, 0) + 5), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(sheet.left + 2, std::max(sheet.top, 0) + 5), qRgb(255, 255, 255));
}

TEST_F(PreviewSessionTest, FindWalksTheDrawnTextsInOrderIgnoringCaseAndRepeatsOnTheSamePageFirst)
{
    auto session = show({900, 600});
    ASSERT_TRUE(session->Find("total", false, true));
    EXPECT_EQ(session->Found()->page, 1);
    EXPECT_EQ(session->Found()->text, "Sub-total");
    EXPECT_EQ(session->CurrentPage(), 2);

    ASSERT_TRUE(session->FindNext());
    EXPECT_EQ(session->Found()->page, 1);
    EXPECT_EQ(session->Found()->text, "TOTAL due");
    // The hit is in view, its box where the object was placed.
    const Rect box = *session->FoundBox();
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.bottom, 600);
    EXPECT_NEAR(box.top - session->ScreenRect(1).top, 600, 4);

    EXPECT_FALSE(session->FindNext());
    EXPECT_FALSE(session->FoundBox().has_value());

    // Case sensitive: "total" is only in "Sub-total"; from the current page.
    session->GoToPage(1);
    ASSERT_TRUE(session->Find("TOTAL", true, false));
    EXPECT_EQ(session->Found()->text, "TOTAL due");
    EXPECT_FALSE(session->Find("nowhere", false, true));

    // A page searched but not shown holds no objects afterwards.
    session->GoToPage(1);
    EXPECT_FALSE(session->Find("Last page!", false, true));
    EXPECT_EQ(pages.Page(2).PageObjects, nullptr);
}

TEST_F(PreviewSessionTest, TheFoundTextIsShownInverted)
{
    auto session = show({900, 600});
    ASSERT_TRUE(session->Find("due", false, true));
    const QImage image = paint(*session);
    const Rect box = *session->FoundBox();
    // White paper inside the text's box that no glyph covers turns black.
    int inverted = 0, total = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x, ++total)
            if (image.pixel(x, y) == qRgb(0, 0, 0)) ++inverted;
    EXPECT_GT(inverted, total / 2);
    EXPECT_EQ(image.pixel(box.right + 3, box.top), qRgb(255, 255, 255));
}

TEST_F(PreviewSessionTest, PageLinksMoveBetweenPagesAndShowThePageWhenPointedAt)
{
    auto session = show({900, 600});
    const auto at = [&](int page, int x, int y) {
        const Rect r = session->ScreenRect(page);
        const double z = session->CurrentZoom().factor;
        return Point{r.left + static_cast<int>(x * z), r.top + static_cast<int>(y * z)};
    };
    session->GoToPage(3);
    EXPECT_EQ(session->Hover(at(2, 310, 50)).status, "Page 2");
    EXPECT_EQ(session->Hover(at(2, 310, 50)).cursor, Qt::PointingHandCursor);
    EXPECT_TRUE(session->Click(at(2, 310, 50)).taken);
    EXPECT_EQ(session->CurrentPage(), 2);

    session->GoToPage(1);
    EXPECT_TRUE(session->Click(at(0, 310, 50)).taken);   // "@9": beyond the pages, ignored
    EXPECT_EQ(session->CurrentPage(), 1);
    session->GoToPage(2);
    session->SetVerticalPosition(0);
    EXPECT_TRUE(session->Click(at(0, 310, 110)).taken);  // "@0": the first page
    EXPECT_EQ(session->CurrentPage(), 1);

    // A click on plain paper makes that page current.
    session->PickZoom(10);
    const PreviewSession::Pointed plain = session->Click(at(2, 600, 900));
    EXPECT_FALSE(plain.taken);
    EXPECT_EQ(plain.page, 2);
    EXPECT_EQ(session->CurrentPage(), 3);
    EXPECT_FALSE(session->Click({1, 1}).page.has_value());
}

TEST_F(PreviewSessionTest, DeletingAndAddingPages)
{
    auto session = show();
    session->GoToPage(2);
    session->DeletePage();
    EXPECT_EQ(session->PageCount(), 2);
    EXPECT_EQ(session->CurrentPage(), 1);
    ASSERT_TRUE(session->Find("last page", false, true));
    EXPECT_EQ(session->Found()->page, 1);

    session->GoToPage(2);
    ASSERT_TRUE(session->AddPage());
    EXPECT_EQ(session->PageCount(), 3);
    EXPECT_EQ(session->CurrentPage(), 2);
    ASSERT_TRUE(session->Find("last page", false, true));
    EXPECT_EQ(session->Found()->page, 2);

    session->DeletePage();
    session->DeletePage();
    EXPECT_FALSE(session->CanDeletePage());
    session->DeletePage();
    EXPECT_EQ(session->PageCount(), 1);
}

TEST_F(PreviewSessionTest, SavedFilesOpenAgainAndADamagedFileLeavesThePagesShown)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "pemvora-preview-session";
    std::filesystem::create_directories(dir);
    auto session = show();
    const std::string saved = session->Save((dir / "out.pdf").string());
    EXPECT_EQ(saved, (dir / "out.frp").string());
    EXPECT_EQ(session->PageCount(), 3);

    session->DeletePage();
    EXPECT_EQ(session->PageCount(), 2);
    session->Open(saved);
    EXPECT_EQ(session->PageCount(), 3);
    EXPECT_FALSE(report.CanRebuild);
    ASSERT_TRUE(session->Find("TOTAL", true, true));
    EXPECT_EQ(session->Found()->page, 1);

    const std::filesystem::path damaged = dir / "damaged.frp";
    {
        std::ifstream in(saved, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), {});
        std::ofstream(damaged, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    }
    EXPECT_THROW(session->Open(damaged.string()), PreparedReportError);
    EXPECT_THROW(session->Open((dir / "missing.frp").string()), PreparedReportError);
    EXPECT_EQ(session->PageCount(), 3);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace pemvora::report
