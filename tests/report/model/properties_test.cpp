// Properties and methods by name, the property registry and object addressing.

#include "report/model/band_runtime.h"
#include "report/model/engine_context.h"
#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/model/report.h"

#include "tests/report/model/fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

using namespace pemvora;
using namespace pemvora::report;

namespace {

using PropertyTest = modeltest::ModelFixture;

std::vector<std::string> registeredNames(TfrObject& object)
{
    object.RegisterProperties();
    std::vector<std::string> names;
    for (const TfrPropRec& rec : object.Properties()) names.push_back(rec.Name);
    return names;
}

bool has(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

TEST_F(PropertyTest, StretchedInAnyCaseClearsOnlyBitOne)
{
    for (const char* name : {"Stretched", "STRETCHED", "stretched", "sTrEtChEd"}) {
        TfrMemoView memo;
        memo.SetProperty(name, false);
        EXPECT_EQ(memo.Flags, 2) << name;
        EXPECT_EQ(memo.GetProperty(name), Value(false)) << name;
        memo.SetProperty(name, true);
        EXPECT_EQ(memo.Flags, 3) << name;
    }
}

TEST_F(PropertyTest, MemoAndDataFieldByName)
{
    TfrMemoView memo;
    EXPECT_EQ(memo.GetProperty("DataField"), Value(std::string()));   // empty Memo: empty text, not Null

    memo.SetProperty("Memo", "a\r\nb");
    EXPECT_EQ(memo.Memo, (StringList{"a", "b"}));
    memo.SetProperty("memo", "x\ny\rz\r\n");
    EXPECT_EQ(memo.Memo, (StringList{"x", "y", "z"}));
    EXPECT_EQ(memo.GetProperty("MEMO"), Value("x\r\ny\r\nz"));
    EXPECT_EQ(memo.GetProperty("Memo.Count"), Value(3));
    EXPECT_EQ(memo.GetProperty("Lines.Count"), Value(3));
    EXPECT_EQ(memo.GetProperty("DataField"), Value("x"));

    memo.SetProperty("DataField", "[Cheques.\"Amount\"]");
    EXPECT_EQ(memo.Memo, (StringList{"[Cheques.\"Amount\"]"}));

    memo.SetProperty("Memo", "");
    EXPECT_TRUE(memo.Memo.empty());
}

TEST_F(PropertyTest, MemoLinesKeepChineseTextWhole)
{
    TfrMemoView memo;
    // Two GBK characters whose trail bytes are 0x5B "[" and 0x5D "]".
    const std::string gbk = "\x81\x5B\x81\x5D";
    memo.SetProperty("Memo", gbk + "\r\n" + gbk);
    EXPECT_EQ(memo.Memo, (StringList{gbk, gbk}));
}

TEST_F(PropertyTest, UnknownNamesAreIgnoredOrNull)
{
    TfrMemoView memo;
    const std::uint16_t flags = memo.Flags;
    memo.SetProperty("NoSuchThing", 5);
    EXPECT_EQ(memo.Flags, flags);
    EXPECT_TRUE(memo.GetProperty("NoSuchThing").isNull());
    EXPECT_TRUE(memo.CallMethod("NOSUCHMETHOD", {}, {}, {}).isNull());
    EXPECT_TRUE(memo.GetProperty("Restrictions").isNull());   // registered, but not by name
    TfrPage page;
    EXPECT_TRUE(page.GetProperty("Flags").isNull());
}

TEST_F(PropertyTest, ValuesConvertOrRaise)
{
    TfrMemoView memo;
    memo.SetProperty("Left", "12");
    memo.SetProperty("Top", 7.5);            // rounds half to even
    memo.SetProperty("FrameWidth", "0.5");
    memo.SetProperty("Visible", 0);
    memo.SetProperty("FillColor", 0xFF00000F);
    memo.SetProperty("Font.Size", "14");
    memo.SetProperty("font.name", "\xcb\xce\xcc\xe5");
    memo.SetProperty("FONT.STYLE", fontstyle::Bold | fontstyle::Underline);
    memo.SetProperty("Font.Color", 255);
    memo.SetProperty("WordWrap", "False");
    memo.SetProperty("Alignment", 2 + 16);
    EXPECT_EQ(memo.Left, 12);
    EXPECT_EQ(memo.Top, 8);
    EXPECT_EQ(memo.FrameWidth, 0.5f);
    EXPECT_FALSE(memo.Visible);
    EXPECT_EQ(memo.FillColor, 0xFF00000Fu);
    EXPECT_EQ(memo.GetProperty("FillColor"), Value(0xFF00000Fu));
    EXPECT_EQ(memo.Font, (TfrFont{"\xcb\xce\xcc\xe5", 14, 6, 255, 1}));
    EXPECT_EQ(memo.GetProperty("Font.Name"), Value("\xcb\xce\xcc\xe5"));
    EXPECT_EQ(memo.Flags, flag::Stretched);
    EXPECT_EQ(memo.Alignment, 18u);
    EXPECT_EQ(memo.GetProperty("FrameWidth"), Value(0.5));

    EXPECT_THROW(memo.SetProperty("Left", "abc"), ConversionError);
    EXPECT_THROW(memo.SetProperty("Visible", "maybe"), ConversionError);
    EXPECT_THROW(memo.SetProperty("Width", Value::null()), ConversionError);
}

TEST_F(PropertyTest, TextObjectFlagsByName)
{
    const std::pair<const char*, std::uint16_t> cases[] = {
        {"WordWrap", 0x02}, {"WordBreak", 0x04}, {"AutoWidth", 0x08},    {"TextOnly", 0x10},
        {"Suppress", 0x20}, {"HideZeros", 0x40}, {"Underlines", 0x80}, {"RTLReading", 0x100},
    };
    for (const auto& [name, bit] : cases) {
        TfrMemoView memo;
        memo.Flags = 0;
        memo.SetProperty(name, true);
        EXPECT_EQ(memo.Flags, bit) << name;
        EXPECT_EQ(memo.GetProperty(name), Value(true)) << name;
        memo.SetProperty(name, false);
        EXPECT_EQ(memo.Flags, 0) << name;
    }
}

TEST_F(PropertyTest, RegisteredNamesAreCutToThirtyTwoBytes)
{
    TfrObject object;
    const std::string forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789WXYZ";
    ASSERT_EQ(forty.size(), 40u);
    object.AddProperty(forty, prop::Integer);
    EXPECT_EQ(object.Properties().front().Name, forty.substr(0, 32));
    EXPECT_EQ(object.FindProperty(forty), nullptr);
    EXPECT_NE(object.FindProperty(forty.substr(0, 32)), nullptr);
    EXPECT_NE(object.FindProperty("abcdefghijklmnopqrstuvwxyz012345"), nullptr);

    // A two-byte character across byte 32 is left out whole, not split.
    const std::string gbkName = std::string(31, 'a') + "\xb4\xf3" + "tail";
    object.AddProperty(gbkName, 0);
    EXPECT_EQ(object.Properties().back().Name, std::string(31, 'a'));
}

TEST_F(PropertyTest, EnumerationsCarryNamesAndValues)
{
    TfrMemoView memo;
    memo.RegisterProperties();
    const TfrPropRec* style = memo.FindProperty("framestyle");
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->TypeBits, prop::Enumeration);
    EXPECT_EQ(style->EnumNames,
              (StringList{"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psDouble"}));
    EXPECT_EQ(style->EnumValues.back(), Value(5));

    TfrPage page;
    page.Type = pagetype::Dialog;
    page.RegisterProperties();
    const TfrPropRec* border = page.FindProperty("BorderStyle");
    ASSERT_NE(border, nullptr);
    EXPECT_EQ(border->EnumValues, (std::vector<Value>{3, 2}));

    TfrObject object;
    object.AddEnumProperty("Chosen", "a;b", std::vector<Value>{Value::null(), 1});
    EXPECT_TRUE(object.Properties().front().EnumValues.empty());   // the name itself is stored
}

// A view of no particular kind: what every object registers.
class PlainView : public TfrView {
public:
    void Paint(Canvas&) override {}
};

TEST_F(PropertyTest, TextObjectRegistersTheCommonThenItsOwnProperties)
{
    PlainView plain;
    const auto common = registeredNames(plain);
    TfrMemoView memo;
    const auto names = registeredNames(memo);
    // The inspector lists the properties every object has first, in their
    // order, then the text object's own; no name twice.
    ASSERT_GT(names.size(), common.size());
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + common.size()), common);
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(std::count(names.begin(), names.end(), names[i]), 1) << names[i];
    for (const char* own : {"Font.Name", "Font.Size", "Font.Style", "Font.Color", "Alignment", "DisplayFormat",
                            "Highlight", "LineSpacing", "CharSpacing", "WordWrap", "AutoWidth", "HideZeros"}) {
        EXPECT_TRUE(has(names, own)) << own;
        EXPECT_FALSE(has(common, own)) << own;
    }
    const std::map<std::string, std::uint16_t> bits{
        {"Name", 0x101}, {"Left", 0x80}, {"Flags", 0}, {"FrameTyp", 0x02}, {"FrameWidth", 0x84},
        {"FrameColor", 0x10}, {"Tag", 0x140}, {"Visible", 0x08}, {"Memo", 0x140}, {"Restrictions", 0x40},
        {"Font", 0x40}, {"LineSpacing", 0x02}, {"Stretched", 0x08}};
    for (const auto& [name, b] : bits) EXPECT_EQ(memo.FindProperty(name)->TypeBits, b) << name;
    EXPECT_EQ(memo.FindProperty("Memo")->Editor, PropertyEditor::Memo);
    EXPECT_EQ(memo.FindProperty("Memo")->EditorOwner, &memo);
}

TEST_F(PropertyTest, BandsAndSubReportsLeaveOutFrameFillTagAndBandAlign)
{
    for (TfrView* view : std::initializer_list<TfrView*>{new TfrBandView, new TfrSubReportView}) {
        std::unique_ptr<TfrView> owned(view);
        const auto names = registeredNames(*view);
        for (const char* hidden : {"FrameTyp", "FrameWidth", "FrameColor", "FrameStyle", "FillColor", "Tag", "BandAlign"})
            EXPECT_FALSE(has(names, hidden)) << view->ClassName() << " " << hidden;
        view->SetProperty("FillColor", 0xFF);   // still reachable by name
        EXPECT_EQ(view->GetProperty("FillColor"), Value(0xFF));
    }
    TfrLineView line;
    EXPECT_TRUE(has(registeredNames(line), "Stretched"));
    EXPECT_TRUE(has(registeredNames(line), "FrameTyp"));
}

TEST_F(PropertyTest, BandPropertiesDependOnTheBandKind)
{
    struct Case {
        int bandKind;
        std::vector<std::string> present;
        std::vector<std::string> absent;
    };
    const Case cases[] = {
        {bandkind::PageFooter, {"OnFirstPage", "OnLastPage", "EOF", "OnBeforePrint"},
         {"ChildBand", "PrintChildIfInvisible", "Stretched", "Breaked", "Memo"}},
        {bandkind::GroupHeader, {"Condition", "Master", "ChildBand", "Stretched", "FormNewPage", "Breaked", "RepeatHeader"},
         {"OnFirstPage", "Columns", "DataSource"}},
        {bandkind::MasterData, {"Columns", "ColumnWidth", "ColumnGap", "DataSource", "PrintIfSubsetEmpty", "FormNewPage"},
         {"Condition", "Master", "RepeatHeader"}},
        {bandkind::CrossData, {"DataSource"}, {"Stretched", "Columns", "Breaked"}},
        {bandkind::PageHeader, {"OnFirstPage", "Stretched"}, {"OnLastPage", "Breaked", "FormNewPage"}},
        {bandkind::Overlay, {"ChildBand", "EOF"}, {"Stretched", "Breaked"}},
    };
    for (const Case& c : cases) {
        TfrBandView band;
        band.SetBandKind(c.bandKind);
        const auto names = registeredNames(band);
        for (const auto& n : c.present) EXPECT_TRUE(has(names, n)) << "kind " << c.bandKind << " lacks " << n;
        for (const auto& n : c.absent) EXPECT_FALSE(has(names, n)) << "kind " << c.bandKind << " has " << n;
    }
    TfrBandView cross;
    cross.SetBandKind(bandkind::CrossData);
    cross.RegisterProperties();
    EXPECT_EQ(cross.FindProperty("DataSource")->Editor, PropertyEditor::CrossDataSource);
}

TEST_F(PropertyTest, ChildBandAndMasterOfferTheNamesOfTheirPage)
{
    TfrPage page;
    auto& header = page.Add<TfrBandView>();
    header.SetBandKind(bandkind::GroupHeader);
    header.Name = "GroupHeader1";
    for (auto [name, k] : {std::pair{"Child1", bandkind::Child}, {"MasterData1", bandkind::MasterData},
                           {"Detail1", bandkind::DetailData}, {"Footer1", bandkind::PageFooter}}) {
        auto& b = page.Add<TfrBandView>();
        b.SetBandKind(k);
        b.Name = name;
    }
    header.RegisterProperties();
    EXPECT_EQ(header.FindProperty("ChildBand")->EnumNames, (StringList{"Child1"}));
    EXPECT_EQ(header.FindProperty("Master")->EnumNames, (StringList{"MasterData1", "Detail1"}));
    EXPECT_TRUE(header.FindProperty("Master")->EnumValues.empty());

    header.SetProperty("Condition", "[Cheques.\"Bank\"]");
    EXPECT_EQ(header.DisplayFormatText, "[Cheques.\"Bank\"]");
    EXPECT_EQ(header.GetProperty("CONDITION"), Value("[Cheques.\"Bank\"]"));
    header.SetProperty("Master", "MasterData1");
    EXPECT_EQ(header.Master, "MasterData1");
}

class FakeRuntimeBand : public TfrBandRuntime {
public:
    void OpenDataSource(const std::string& name) override { opened = name; }
    bool Eof() override { return position >= 2; }
    void First() override { position = 0; }
    void Next() override { ++position; }
    void Prior() override { --position; }
    bool HasDataSource() const override { return hasSource; }
    std::string opened;
    int position = 0;
    bool hasSource = true;
};

TEST_F(PropertyTest, BandChangesReachTheRuntimeBandOnlyWhileRunning)
{
    TfrReport report;
    engine().CurrentReport = &report;
    TfrPage& page = report.Pages.Items(report.Pages.Add());
    auto& band = page.Add<TfrBandView>();
    band.SetBandKind(bandkind::MasterData);
    auto& child = page.Add<TfrBandView>();
    child.SetBandKind(bandkind::Child);
    child.Name = "Child1";
    FakeRuntimeBand runtime, childRuntime;
    band.RuntimeBand = &runtime;
    child.RuntimeBand = &childRuntime;

    band.SetProperty("Height", 40);
    band.SetProperty("Breaked", true);
    EXPECT_EQ(runtime.Height, 0);          // designing: the template only
    EXPECT_FALSE(runtime.PageBreak);
    EXPECT_TRUE(band.GetProperty("EOF").isNull());

    engine().Running = 1;
    band.SetProperty("Height", 50);
    band.SetProperty("Visible", false);
    band.SetProperty("Breaked", false);
    runtime.PageBreak = true;
    EXPECT_EQ(band.GetProperty("BREAKED"), Value(true));   // reads the run's switch
    band.SetProperty("ChildBand", "child1");
    band.SetProperty("DataSource", "frDBDataSet1");
    EXPECT_EQ(runtime.Height, 50);
    EXPECT_FALSE(runtime.Visible);
    EXPECT_EQ(runtime.ChildBand, &childRuntime);
    EXPECT_EQ(runtime.opened, "frDBDataSet1");
    EXPECT_EQ(band.DisplayFormatText, "frDBDataSet1");

    EXPECT_EQ(band.GetProperty("EOF"), Value(false));
    band.CallMethod("NEXT", {}, {}, {});
    band.CallMethod("NEXT", {}, {}, {});
    EXPECT_EQ(band.GetProperty("EOF"), Value(true));
    band.CallMethod("FIRST", {}, {}, {});
    EXPECT_EQ(runtime.position, 0);

    band.SetProperty("ChildBand", "NoSuchBand");
    EXPECT_EQ(runtime.ChildBand, nullptr);
}

TEST_F(PropertyTest, PagePropertiesByNameAndPaperUnits)
{
    TfrPage page(PaperRequest{256, 1750, 800, 0, -1});
    EXPECT_EQ(page.GetProperty("Width"), Value(630));    // round(175 mm x 18/5)
    EXPECT_EQ(page.GetProperty("Height"), Value(288));
    page.SetProperty("Width", 360);
    EXPECT_EQ(page.Paper.width, 1000);                   // round(360 x 10 x 5/18)
    page.SetProperty("StretchToPrintable", true);
    EXPECT_FALSE(page.MarginsInUse);
    EXPECT_EQ(page.GetProperty("stretchtoprintable"), Value(true));
    page.SetProperty("LeftMargin", 36);
    EXPECT_EQ(page.Margins.Left, 36);

    page.Type = pagetype::Dialog;
    page.SetProperty("Width", 500);
    EXPECT_EQ(page.Width, 500);                          // a dialog page's window
    EXPECT_EQ(page.Paper.width, 1000);
    EXPECT_EQ(page.GetProperty("Caption"), Value("Form"));
    EXPECT_EQ(page.GetProperty("Position"), Value(4));
    EXPECT_TRUE(has(registeredNames(page), "Caption"));
    EXPECT_FALSE(has(registeredNames(page), "Orientation"));
    page.Type = pagetype::Report;
    EXPECT_TRUE(has(registeredNames(page), "Orientation"));
    EXPECT_FALSE(has(registeredNames(page), "Caption"));
}

TEST_F(PropertyTest, PagesTakeTheirPaperThroughThePrinter)
{
    TfrReport report;
    TfrPage& a4 = report.Pages.Items(report.Pages.Add());      // the printer's default paper
    EXPECT_EQ(a4.Paper.size, kA4);
    EXPECT_EQ((std::array{a4.Paper.width, a4.Paper.height}), (std::array{2100, 2970}));
    EXPECT_EQ(a4.Paper.metrics.PaperWidth, 758);
    EXPECT_EQ(a4.Paper.metrics.PrintHeight, 1035);
    EXPECT_EQ((std::array{a4.LeftEdge(), a4.TopEdge(), a4.RightEdge(), a4.BottomEdge()}),
              (std::array{18, 18, 740, 1053}));

    TfrPage landscape(PaperRequest{kA4, 2100, 2970, 1, kDefaultBin});
    EXPECT_EQ((std::array{landscape.Paper.width, landscape.Paper.height}), (std::array{2970, 2100}));
    EXPECT_EQ(landscape.GetProperty("Orientation"), Value(1));

    TfrPage cheque(PaperRequest{kCustomPaper, 1750, 800, 0, kDefaultBin});
    EXPECT_EQ(cheque.Paper.size, kCustomPaper);
    EXPECT_EQ(cheque.Paper.metrics.PaperWidth, tenthsToDesignPixels(1750));

    // The "Size" property offers the printer's papers by name, storing their codes.
    a4.RegisterProperties();
    const TfrPropRec* size = a4.FindProperty("Size");
    ASSERT_NE(size, nullptr);
    ASSERT_EQ(size->EnumNames.size(), 67u);
    EXPECT_EQ(size->EnumNames[8], "A4 210 x 297 mm");
    EXPECT_EQ(size->EnumValues[8], Value(9));
    EXPECT_EQ(size->EnumValues.back(), Value(256));
}

TEST_F(PropertyTest, ReportsChooseTheirPrinterByName)
{
    TfrReport report;
    report.Pages.Add();
    report.SelectPrinterByName("Not installed");
    EXPECT_EQ(report.Printer.PrinterName, "Not installed");
    EXPECT_TRUE(printing().printer().isVirtual());

    std::vector<std::string> errors;
    const int index = printing().printer().PrinterIndex;
    EXPECT_TRUE(report.SwitchPrinter(index, index, [&](const std::string& text, const std::string&) {
        errors.push_back(text);
    }));
    EXPECT_EQ(report.Printer.PrinterName, "Virtual printer");
    EXPECT_EQ(report.Pages[0].Paper.metrics.PaperWidth, 758);
    EXPECT_TRUE(errors.empty());
}

TEST_F(PropertyTest, MarginsReadAsTheBandAreaWhileRunning)
{
    TfrPage page;   // A4 on the virtual printer: 758 x 1071, 18 border, 722 x 1035 printable
    page.Margins = {0, 30, 40, 0};
    EXPECT_EQ(page.GetProperty("LeftMargin"), Value(0));
    engine().Running = 1;
    EXPECT_EQ(page.GetProperty("LeftMargin"), Value(18));
    EXPECT_EQ(page.GetProperty("TopMargin"), Value(30));
    EXPECT_EQ(page.GetProperty("RightMargin"), Value(758 - 40));
    EXPECT_EQ(page.GetProperty("BottomMargin"), Value(18 + 1035));
    page.MarginsInUse = false;
    EXPECT_EQ(page.GetProperty("RightMargin"), Value(758));
}

// ---------------------------------------------------------------- methods

class TableEvaluator : public ExpressionEvaluator {
public:
    Value Evaluate(std::string_view expression) override
    {
        seen.emplace_back(expression);
        if (expression == "1 + 1") return 2;
        if (expression == "'b'") return "b";
        return std::string(expression);
    }
    std::vector<std::string> seen;
};

TEST_F(PropertyTest, ListMethodsEvaluateTheirArgumentsThroughTheEvaluator)
{
    TableEvaluator evaluator;
    engine().Evaluator = &evaluator;
    TfrMemoView memo;
    memo.Memo = {"a", "b", "c"};

    memo.CallMethod("LINES.ADD", "1 + 1", {}, {});
    EXPECT_EQ(memo.Memo, (StringList{"a", "b", "c", "2"}));
    EXPECT_EQ(memo.CallMethod("MEMO.INDEXOF", "'b'", {}, {}), Value(1));
    EXPECT_EQ(memo.CallMethod("LINES.INDEXOF", "zz", {}, {}), Value(-1));
    memo.CallMethod("MEMO.DELETE", "1 + 1", {}, {});
    EXPECT_EQ(memo.Memo, (StringList{"a", "b", "2"}));
    EXPECT_EQ(memo.CallMethod("GETINDEXPROPERTY", "LINES", 1, {}), Value("b"));
    memo.CallMethod("SETINDEXPROPERTY", "MEMO", 0, 42);
    EXPECT_EQ(memo.Memo.front(), "42");
    EXPECT_THROW(memo.CallMethod("GETINDEXPROPERTY", "MEMO", 3, {}), std::out_of_range);
    EXPECT_THROW(memo.CallMethod("MEMO.DELETE", "-1", {}, {}), std::out_of_range);
    memo.CallMethod("HIDE", {}, {}, {});
    EXPECT_FALSE(memo.Visible);
    memo.CallMethod("SHOW", {}, {}, {});
    EXPECT_TRUE(memo.Visible);
    memo.CallMethod("LINES.CLEAR", {}, {}, {});
    EXPECT_TRUE(memo.Memo.empty());
    EXPECT_EQ(evaluator.seen, (std::vector<std::string>{"1 + 1", "'b'", "zz", "1 + 1", "-1"}));

    // Method names are the upper-case names exactly.
    memo.CallMethod("hide", {}, {}, {});
    EXPECT_TRUE(memo.Visible);

    // Only a text object answers to LINES.
    TfrLineView line;
    line.CallMethod("LINES.ADD", "x", {}, {});
    EXPECT_TRUE(line.Memo.empty());
    line.CallMethod("MEMO.ADD", "x", {}, {});
    EXPECT_EQ(line.Memo, (StringList{"x"}));
}

TEST_F(PropertyTest, ListMethodsWithoutAnEvaluatorRaise)
{
    TfrMemoView memo;
    EXPECT_THROW(memo.CallMethod("MEMO.ADD", "1", {}, {}), NoEvaluator);
    EXPECT_NO_THROW(memo.CallMethod("MEMO.CLEAR", {}, {}, {}));
}

TEST_F(PropertyTest, ControlsForwardVisibleToTheirControl)
{
    struct FakeControl : BoundControl {
        void SetVisible(bool v) override { visible = v; }
        bool visible = true;
    } control;
    TfrControl view;
    view.Control = &control;
    view.SetProperty("visible", false);
    EXPECT_FALSE(control.visible);
    EXPECT_EQ(registeredNames(view),
              (std::vector<std::string>{"Name", "Left", "Top", "Width", "Height", "Visible", "Restrictions"}));
}

TEST_F(PropertyTest, PicturesLoadTheirFileAndCopyByReference)
{
    TfrReport report;
    engine().CurrentReport = &report;
    TfrPage& page = report.Pages.Items(report.Pages.Add());
    auto& a = page.Add<TfrPictureView>();
    auto& b = page.Add<TfrPictureView>();

    const auto dir = std::filesystem::temp_directory_path() / "pemvora_model_test";
    std::filesystem::create_directories(dir);
    const auto bmp = dir / "p.bmp";
    { std::ofstream(bmp, std::ios::binary) << "BM" << std::string(60, '\0'); }
    const auto txt = dir / "p.txt";
    { std::ofstream(txt) << "not a picture"; }

    a.LoadFromFile(bmp.string());
    EXPECT_EQ(a.Picture.Kind, GraphicKind::Bitmap);
    EXPECT_EQ(a.Picture.Data.size(), 62u);
    EXPECT_THROW(a.LoadFromFile(txt.string()), GraphicError);
    EXPECT_EQ(a.Picture.Kind, GraphicKind::Bitmap);   // unchanged after the error

    b.SetProperty("Picture", a.GetProperty("Picture"));
    EXPECT_EQ(b.Picture, a.Picture);
    b.SetProperty("Picture", 999999);                  // names no picture: nothing happens
    EXPECT_EQ(b.Picture, a.Picture);

    a.LoadFromFile((dir / "missing.bmp").string());
    EXPECT_TRUE(a.Picture.IsEmpty());
    b.LoadFromFile("");
    EXPECT_TRUE(b.Picture.IsEmpty());

    b.SetProperty("Center", true);
    b.SetProperty("KeepAspect", false);
    b.SetProperty("BlobType", 1);
    EXPECT_EQ(b.Flags, flag::Stretched | flag::Center);
    EXPECT_EQ(b.BlobType, blobtype::Jpeg);
    std::filesystem::remove_all(dir);
}

// ---------------------------------------------------------------- addressing

TEST_F(PropertyTest, ObjectAddressingByName)
{
    TfrReport report;
    engine().CurrentReport = &report;
    report.Pages.Add();
    report.Pages.Add();
    TfrPage& first = report.Pages[0];
    auto& memo = first.Add<TfrMemoView>();
    memo.Name = "Memo1";
    auto& pagex = first.Add<TfrLineView>();
    pagex.Name = "Pagex";
    engine().CurrentView = &memo;

    report.SetObjectProperty("PAGE2.Visible", false);
    EXPECT_FALSE(report.Pages[1].Visible);
    EXPECT_TRUE(report.Pages[0].Visible);
    EXPECT_EQ(report.GetObjectProperty("page2.visible"), Value(false));

    report.SetObjectProperty("Pagex.Visible", false);
    EXPECT_FALSE(pagex.Visible);
    EXPECT_TRUE(report.Pages[1].Visible == false && report.Pages[0].Visible);

    EXPECT_TRUE(report.GetObjectProperty("PAGE3.Visible").isNull());   // beyond the count
    EXPECT_TRUE(report.GetObjectProperty("PAGE0.Visible").isNull());
    report.SetObjectProperty("PAGE9.Visible", true);                   // ignored
    EXPECT_THROW(report.GetObjectProperty("PAGE2x.Visible"), ConversionError);

    EXPECT_EQ(report.GetObjectProperty("memo1.Left"), Value(0));
    report.SetObjectProperty("MEMO1.Left", 15);
    EXPECT_EQ(memo.Left, 15);
    EXPECT_EQ(report.GetObjectProperty("Top"), Value(0));                // the current object
    report.SetObjectProperty("Top", 9);
    EXPECT_EQ(memo.Top, 9);
    EXPECT_EQ(report.GetObjectProperty("Font.Size"), Value(10));         // "Font" is the current object's
    EXPECT_EQ(report.GetObjectProperty("Memo.Count"), Value(0));
    EXPECT_TRUE(report.GetObjectProperty("Nobody.Left").isNull());
    EXPECT_FALSE(memo.Properties().empty());                             // built on demand
}

} // namespace
