// Objects of a report: defaults of each kind, creation by kind code, Ids,
// names, copying, pages and the engine context.

#include "report/model/engine_context.h"
#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/model/report.h"

#include "tests/report/model/fixture.h"

#include <gtest/gtest.h>

using namespace pemvora;
using namespace pemvora::report;

namespace {

using ModelTest = modeltest::ModelFixture;

TEST_F(ModelTest, NewTextObjectHasTheDocumentedDefaults)
{
    TfrMemoView memo;
    EXPECT_EQ(memo.FrameWidth, 1.0f);
    EXPECT_EQ(memo.FrameColor, kBlack);
    EXPECT_EQ(memo.FrameTyp, 0);
    EXPECT_EQ(memo.FrameStyle, 0);
    EXPECT_EQ(memo.FillColor, 0x1FFFFFFFu);
    EXPECT_EQ(memo.GapX, 2);
    EXPECT_EQ(memo.GapY, 1);
    EXPECT_EQ(memo.Flags, 3);
    EXPECT_TRUE(memo.Visible);
    EXPECT_EQ(memo.DisplayFormat, std::uint32_t('.') + 0x200);   // 2 decimals, "." separator
    EXPECT_EQ(memo.ObjectKind, 0);
    EXPECT_EQ(memo.NamePrefix, "Memo");
    EXPECT_EQ(memo.Font, (TfrFont{"Arial", 10, 0, kBlack, 1}));
    EXPECT_EQ(memo.Highlight, (TfrHighlight{fontstyle::Bold, kBlack, kWhite}));
    EXPECT_EQ(memo.LineSpacing, 2);
    EXPECT_EQ(memo.CharSpacing, 0);
    EXPECT_EQ(memo.Alignment, 0u);
    EXPECT_EQ(memo.DeviceScaleX, 1.0);
    EXPECT_EQ(memo.BandAlign, 0);
    EXPECT_EQ(memo.Restrictions, 0);
    EXPECT_TRUE(memo.Name.empty());
}

TEST_F(ModelTest, EachKindSetsItsOwnDefaults)
{
    struct Case {
        int kindCode;
        const char* className;
        const char* prefix;
        std::uint16_t flags;
        std::uint16_t frameTyp;
        Color fill;
        std::uint32_t displayFormat;
    };
    const std::uint32_t dflt = '.' + 0x200;
    const Case cases[] = {
        {kind::Memo, "TfrMemoView", "Memo", 3, 0, kNoColor, dflt},
        {kind::Picture, "TfrPictureView", "Picture", 5, 0, kNoColor, dflt},
        {kind::Band, "TfrBandView", "Band", 48, 0, kNoColor, 0},
        {kind::SubReport, "TfrSubReportView", "SubReport", 1, 0, kNoColor, dflt},
        {kind::Line, "TfrLineView", "Line", 1, frame::Left, kWhite, dflt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.className);
        std::unique_ptr<TfrView> view = CreateObject(c.kindCode);
        ASSERT_TRUE(view);
        EXPECT_EQ(view->ClassName(), c.className);
        EXPECT_EQ(view->ObjectKind, c.kindCode);
        EXPECT_EQ(view->NamePrefix, c.prefix);
        EXPECT_EQ(view->Flags, c.flags);
        EXPECT_EQ(view->FrameTyp, c.frameTyp);
        EXPECT_EQ(view->FillColor, c.fill);
        EXPECT_EQ(view->DisplayFormat, c.displayFormat);
    }
    TfrBandView band;
    EXPECT_EQ(band.Columns, 1);
    EXPECT_EQ(band.ColumnWidth, 200);
    EXPECT_EQ(band.ColumnGap, 20);
    EXPECT_EQ(band.NewColumnAfter, 1);
    TfrControl control;
    EXPECT_EQ(control.ObjectKind, kind::PlugIn);
    EXPECT_EQ(control.FillColor, 0xFF00000Fu);
}

TEST_F(ModelTest, StoredFontStylesBecomeTheCanvasStyles)
{
    EXPECT_EQ(canvasFontStyle(fontstyle::Italic), kFontItalic);
    EXPECT_EQ(canvasFontStyle(fontstyle::Bold), kFontBold);
    EXPECT_EQ(canvasFontStyle(fontstyle::Bold | fontstyle::Underline | fontstyle::StrikeOut),
              kFontBold | kFontUnderline | kFontStrikeOut);
    EXPECT_EQ(canvasFontStyle(0), 0);
}

TEST_F(ModelTest, CreateObjectByKindCodeAndTheIdCounter)
{
    auto first = CreateObject(kind::Memo);
    const std::int32_t next = engine().NextId;
    EXPECT_EQ(next, first->Id + 1);

    for (int code : {5, 6, 7, 8, 9, 11, 255}) {
        EXPECT_EQ(CreateObject(code), nullptr) << code;
        EXPECT_EQ(engine().NextId, next) << "kind " << code << " took an Id";
    }
    auto second = CreateObject(kind::Line);
    EXPECT_EQ(second->Id, next);
}

TEST_F(ModelTest, PlugInClassesAreFoundByExactNameAndMissingOnesAreRecorded)
{
    EXPECT_THROW(CreateObject(kind::PlugIn, "TfrCheckBoxControl"), EClassNotFound);
    EXPECT_THROW(CreateObject(kind::PlugIn, "TfrCheckBoxControl"), EClassNotFound);
    EXPECT_EQ(engine().MissingClasses, (std::vector<std::string>{"TfrCheckBoxControl", "TfrCheckBoxControl"}));

    ASSERT_TRUE(RegisterPlugInClass("TfrCheckBoxControl", [] { return std::make_unique<TfrControl>(); }));
    auto view = CreateObject(kind::PlugIn, "TfrCheckBoxControl");
    ASSERT_TRUE(view);
    EXPECT_EQ(view->ObjectKind, kind::PlugIn);
    EXPECT_THROW(CreateObject(kind::PlugIn, "TFRCHECKBOXCONTROL"), EClassNotFound);

    for (std::size_t i = engine().PlugIns.size(); i < kMaxPlugInClasses; ++i)
        EXPECT_TRUE(RegisterPlugInClass("C" + std::to_string(i), [] { return std::make_unique<TfrControl>(); }));
    EXPECT_FALSE(RegisterPlugInClass("OneTooMany", [] { return std::make_unique<TfrControl>(); }));
}

TEST_F(ModelTest, FindObjectIgnoresCaseAndSearchesPagesInOrder)
{
    TfrReport report;
    TfrPage& p1 = report.Pages.Items(report.Pages.Add());
    TfrPage& p2 = report.Pages.Items(report.Pages.Add());
    p1.Add<TfrMemoView>().Name = "Memo1";
    TfrView& onSecond = p2.Add<TfrMemoView>();
    onSecond.Name = "Total";
    p2.Add<TfrLineView>().Name = "MEMO1";

    // Only ASCII letters fold: a trail byte that looks like a letter does not.
    p2.Add<TfrMemoView>().Name = "\x81\x61";
    EXPECT_EQ(report.FindObject("\x81\x41"), nullptr);
    EXPECT_NE(report.FindObject("\x81\x61"), nullptr);

    ASSERT_NE(report.FindObject("memo1"), nullptr);
    EXPECT_EQ(report.FindObject("memo1"), p1.PageObjects[0].get());
    EXPECT_EQ(report.FindObject("TOTAL"), &onSecond);
    EXPECT_EQ(report.FindObject("nothing"), nullptr);
    EXPECT_EQ(p2.IndexOfId(onSecond.Id), 0);
    EXPECT_EQ(p2.IndexOfId(-5), -1);
}

TEST_F(ModelTest, UniqueNamesSkipTakenNamesIgnoringCase)
{
    TfrReport report;
    engine().CurrentReport = &report;
    TfrPage& page = report.Pages.Items(report.Pages.Add());
    page.Add<TfrMemoView>().Name = "memo1";
    page.Add<TfrMemoView>().Name = "Memo3";
    TfrView& fresh = page.Add<TfrMemoView>();
    fresh.CreateUniqueName();
    EXPECT_EQ(fresh.Name, "Memo2");
    TfrView& band = page.Add<TfrBandView>();
    band.CreateUniqueName();
    EXPECT_EQ(band.Name, "Band1");
}

TEST_F(ModelTest, UniqueNameStaysEmptyWhenAllTenThousandAreTaken)
{
    TfrReport report;
    engine().CurrentReport = &report;
    TfrPage& page = report.Pages.Items(report.Pages.Add());
    for (int n = 1; n <= 10000; ++n) page.Add<TfrLineView>().Name = "Line" + std::to_string(n);
    TfrView& fresh = page.Add<TfrLineView>();
    fresh.Name = "old";
    fresh.CreateUniqueName();
    EXPECT_EQ(fresh.Name, "");
}

TEST_F(ModelTest, PagesGetUniqueNamesAndCanBeMovedAndDeleted)
{
    TfrReport report;
    report.Pages.Add();
    report.Pages.Add();
    EXPECT_EQ(report.Pages[0].Name, "Page1");
    EXPECT_EQ(report.Pages[1].Name, "Page2");
    report.Pages.Delete(0);
    report.Pages.Add();
    EXPECT_EQ(report.Pages[1].Name, "Page1");
    report.Pages.Move(1, 0);
    EXPECT_EQ(report.Pages[0].Name, "Page1");
    EXPECT_EQ(report.Pages[1].Name, "Page2");
    report.Pages.Delete(7);   // out of range: nothing
    EXPECT_EQ(report.Pages.Count(), 2);
}

TEST_F(ModelTest, CopyFromTakesTheStoredRecordButNotTheIdOrRunState)
{
    TfrMemoView source;
    source.Name = "Amount";
    source.Selected = true;
    source.PlaceAt(10, 20, 300, 40);
    source.Flags = 0x0043;
    source.FrameTyp = frame::All;
    source.FrameWidth = 0.5f;
    source.FrameColor = 0xFF;
    source.FrameStyle = penstyle::Double;
    source.FillColor = kWhite;
    source.DisplayFormat = 0x01020200 + ',';
    source.DisplayFormatText = "#,##0.00";
    source.Memo = {"[dx]", "\xb4\xf3\xd0\xb4"};
    source.ScriptLines = {"begin", "end"};
    source.Visible = false;
    source.Restrictions = restrict::DontMove;
    source.Tag = "t";
    source.GapX = 5;
    source.GapY = 6;
    source.BandAlign = bandalign::Center;
    source.Font = {"\xcb\xce\xcc\xe5", 12, fontstyle::Bold | fontstyle::Italic, 0xFF0000, 134};
    source.Alignment = textalign::Center | textalign::Middle;
    source.Highlight = {fontstyle::Underline, 0xFF, 0xFFFF};
    source.HighlightCondition = "Value > 0";
    source.LineSpacing = 4;
    source.CharSpacing = 1;
    source.WorkLines = {"run time"};
    source.PaintPhase = 2;

    TfrMemoView copy;
    copy.CopyFrom(source);
    EXPECT_NE(copy.Id, source.Id);
    EXPECT_EQ(copy.Name, "Amount");
    EXPECT_TRUE(copy.Selected);
    EXPECT_EQ(copy.RecordVersionMajor, 2);
    EXPECT_EQ(copy.RecordVersionMinor, 0);
    EXPECT_EQ((std::array{copy.Left, copy.Top, copy.Width, copy.Height}), (std::array{10, 20, 300, 40}));
    EXPECT_EQ(copy.Flags, 0x0043);
    EXPECT_EQ(copy.FrameTyp, frame::All);
    EXPECT_EQ(copy.FrameWidth, 0.5f);
    EXPECT_EQ(copy.FrameColor, 0xFFu);
    EXPECT_EQ(copy.FrameStyle, penstyle::Double);
    EXPECT_EQ(copy.FillColor, kWhite);
    EXPECT_EQ(copy.DisplayFormat, source.DisplayFormat);
    EXPECT_EQ(copy.DisplayFormatText, "#,##0.00");
    EXPECT_EQ(copy.Memo, source.Memo);
    EXPECT_EQ(copy.ScriptLines, source.ScriptLines);
    EXPECT_FALSE(copy.Visible);
    EXPECT_EQ(copy.Restrictions, restrict::DontMove);
    EXPECT_EQ(copy.Tag, "t");
    EXPECT_EQ(copy.GapX, 5);
    EXPECT_EQ(copy.GapY, 6);
    EXPECT_EQ(copy.BandAlign, bandalign::Center);
    EXPECT_EQ(copy.Font, source.Font);
    EXPECT_EQ(copy.Alignment, source.Alignment);
    EXPECT_EQ(copy.Highlight, source.Highlight);
    EXPECT_EQ(copy.HighlightCondition, "Value > 0");
    EXPECT_EQ(copy.LineSpacing, 4);
    EXPECT_EQ(copy.CharSpacing, 1);
    EXPECT_TRUE(copy.WorkLines.empty());
    EXPECT_EQ(copy.PaintPhase, 0);
}

TEST_F(ModelTest, CopyFromCarriesTheKindSpecificRecords)
{
    TfrBandView band;
    band.SetBandKind(bandkind::GroupHeader);
    band.ChildBand = "Child1";
    band.Master = "MasterData1";
    band.Columns = 3;
    band.ColumnWidth = 150;
    band.ColumnGap = 7;
    band.NewColumnAfter = 4;
    TfrBandView bandCopy;
    bandCopy.CopyFrom(band);
    EXPECT_EQ(bandCopy.BandKind(), bandkind::GroupHeader);
    EXPECT_EQ(bandCopy.RecordVersionMinor, 1);
    EXPECT_EQ(bandCopy.ChildBand, "Child1");
    EXPECT_EQ(bandCopy.Master, "MasterData1");
    EXPECT_EQ((std::array{bandCopy.Columns, bandCopy.ColumnWidth, bandCopy.ColumnGap, bandCopy.NewColumnAfter}),
              (std::array{3, 150, 7, 4}));

    TfrSubReportView sub;
    sub.SubPageIndex = 2;
    TfrSubReportView subCopy;
    subCopy.CopyFrom(sub);
    EXPECT_EQ(subCopy.SubPageIndex, 2);

    TfrPictureView picture;
    picture.Picture = {GraphicKind::Jpeg, std::string("\xFF\xD8\xFF\xE0", 4)};
    picture.BlobType = blobtype::Jpeg;
    TfrPictureView pictureCopy;
    pictureCopy.CopyFrom(picture);
    EXPECT_EQ(pictureCopy.Picture, picture.Picture);
    EXPECT_EQ(pictureCopy.BlobType, blobtype::Jpeg);
}

TEST_F(ModelTest, ResetEngineForgetsTheCurrentObjectsAndRestartsTheIds)
{
    TfrReport report;
    EngineContext& e = engine();
    e.CurrentReport = &report;
    e.Running = 1;
    e.MeasuringPass = true;
    e.PageNo = 4;
    CreateObject(kind::Memo);
    ASSERT_GT(e.NextId, 0);
    resetEngine();
    EXPECT_EQ(e.CurrentReport, nullptr);
    EXPECT_EQ(e.Running, 0);
    EXPECT_FALSE(e.MeasuringPass);
    EXPECT_EQ(e.PageNo, 0);
    EXPECT_EQ(e.NextId, 0);
}

TEST_F(ModelTest, DestroyedObjectsLeaveNoDanglingCurrentPointers)
{
    auto report = std::make_unique<TfrReport>();
    TfrPage& page = report->Pages.Items(report->Pages.Add());
    TfrView& view = page.Add<TfrMemoView>();
    engine().CurrentReport = report.get();
    engine().CurrentPage = &page;
    engine().CurrentView = &view;
    engine().NotifyList.push_back(&view);
    report.reset();
    EXPECT_EQ(engine().CurrentReport, nullptr);
    EXPECT_EQ(engine().CurrentPage, nullptr);
    EXPECT_EQ(engine().CurrentView, nullptr);
    EXPECT_TRUE(engine().NotifyList.empty());
}

TEST_F(ModelTest, ReportClearResetsTheTemplateState)
{
    TfrReport report;
    report.Pages.Add();
    report.TwoPass = true;
    report.Information.Author = "x";
    report.PasswordProtected = true;
    report.ReportPassword = "pw";
    report.Clear();
    EXPECT_EQ(report.Pages.Count(), 0);
    EXPECT_FALSE(report.TwoPass);
    EXPECT_EQ(report.Information, ReportInformation{});
    EXPECT_FALSE(report.PasswordProtected);
    EXPECT_TRUE(report.ReportPassword.empty());
    EXPECT_EQ(report.TemplateFileName, "Untitled");
    EXPECT_EQ(report.GeneratorVersion, 88);
}

} // namespace
