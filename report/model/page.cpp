#include "report/model/page.h"
#include "report/model/pixel_limits.h"

#include "platform/text/gbk.h"
#include "platform/value/numbertext.h"
#include "report/printer/printing_context.h"
#include "report/model/engine_context.h"
#include "report/model/report.h"
#include "report/model/unique_names.h"

#include <algorithm>
#include <cmath>

namespace pemvora::report {

int tenthsMmToPixels(int tenths) { return static_cast<int>(roundHalfEven(tenths / 10.0 * 18.0 / 5.0)); }

int pixelsToTenthsMm(int pixels) { return static_cast<int>(roundHalfEven(pixels * 10.0 * 5.0 / 18.0)); }

// ---------------------------------------------------------------- TfrPage

TfrPage::TfrPage(const PaperRequest& paper) { ApplyPaper(paper); }

TfrPage::~TfrPage()
{
    Clear();
    EngineContext& e = engine();
    if (e.CurrentPage == this) e.CurrentPage = nullptr;
    if (e.DesignerPage == this) e.DesignerPage = nullptr;
}

TfrView& TfrPage::Add(std::unique_ptr<TfrView> view)
{
    view->OwnerPage = this;
    PageObjects.push_back(std::move(view));
    return *PageObjects.back();
}

void TfrPage::Delete(int index)
{
    if (index < 0 || index >= ObjectCount()) return;
    PageObjects.erase(PageObjects.begin() + index);
}

void TfrPage::Clear() { PageObjects.clear(); }

int TfrPage::IndexOfId(std::int32_t id) const
{
    for (std::size_t i = 0; i < PageObjects.size(); ++i)
        if (PageObjects[i]->Id == id) return static_cast<int>(i);
    return -1;
}

TfrView* TfrPage::FindObject(std::string_view name) const
{
    for (const auto& view : PageObjects)
        if (text::equalsNoCase(view->Name, name)) return view.get();
    return nullptr;
}

void TfrPage::ApplyPaper(const PaperRequest& paper)
{
    report::ApplyPaper(printing().printer(), Paper, paper.Size, paper.Width, paper.Height, paper.Orientation,
                       paper.Bin);
}

PaperRequest TfrPage::RequestedPaper() const
{
    return {Paper.size, Paper.width, Paper.height, Paper.orientation, Paper.bin};
}

int TfrPage::LeftEdge() const
{
    if (!MarginsInUse) return 0;
    return Margins.Left != 0 ? Margins.Left : Paper.metrics.OffsetX;
}

int TfrPage::TopEdge() const
{
    if (!MarginsInUse) return 0;
    return Margins.Top != 0 ? Margins.Top : Paper.metrics.OffsetY;
}

int TfrPage::RightEdge() const
{
    const TfrPageMetrics& m = Paper.metrics;
    if (!MarginsInUse) return m.PaperWidth;
    // Margins read from a file may be any 32-bit value: the edge is held in range.
    return Margins.Right != 0 ? pixels::clampToInt(static_cast<long long>(m.PaperWidth) - Margins.Right)
                              : m.OffsetX + m.PrintWidth;
}

int TfrPage::BottomEdge() const
{
    const TfrPageMetrics& m = Paper.metrics;
    if (!MarginsInUse) return m.PaperHeight;
    return Margins.Bottom != 0 ? pixels::clampToInt(static_cast<long long>(m.PaperHeight) - Margins.Bottom)
                               : m.OffsetY + m.PrintHeight;
}

namespace {

// The selected printer's papers for the "Size" property.
std::string paperNames()
{
    const TfrPrinter& printer = printing().printer();
    if (printer.PaperNames.empty()) return "No data";
    std::string names;
    for (const std::string& name : printer.PaperNames) {
        if (!names.empty()) names += ';';
        names += name;
    }
    return names;
}

std::vector<Value> paperCodes()
{
    const TfrPrinter& printer = printing().printer();
    std::vector<Value> codes;
    for (int id : printer.PaperIds) codes.emplace_back(id);
    if (codes.empty()) codes.emplace_back(Value::null());
    return codes;
}

} // namespace

void TfrPage::RegisterProperties()
{
    ClearProperties();
    AddEnumProperty("Type", "ptReport;ptDialog", 1);
    AddProperty("Visible", 0);
    if (Type == pagetype::Dialog) {
        AddEnumProperty("BorderStyle", "bsDialog;bsSizeable", std::vector<Value>{3, 2});
        AddProperty("Caption", prop::Text);
        AddProperty("Color", prop::Color);
        AddProperty("Left", prop::Length);
        AddProperty("Top", prop::Length);
        AddProperty("Width", prop::Integer);
        AddProperty("Height", prop::Integer);
        AddEnumProperty("Position", "poDesigned;poScreenCenter", std::vector<Value>{0, 4});
        AddProperty("OnActivate", prop::HasEditor | prop::SingleSelection, PropertyEditor::Script, this);
    } else {
        AddEnumProperty("Size", paperNames(), paperCodes());
        AddProperty("Width", prop::Length);
        AddProperty("Height", prop::Length);
        AddProperty("LeftMargin", prop::Length);
        AddProperty("TopMargin", prop::Length);
        AddProperty("RightMargin", prop::Length);
        AddProperty("BottomMargin", prop::Length);
        AddEnumProperty("Orientation", "poPortrait;poLandscape", 1);
        AddProperty("PrintToPrevPage", prop::Boolean);
        AddProperty("StretchToPrintable", prop::Boolean);
        AddProperty("Columns", prop::Integer);
        AddProperty("ColumnWidth", 0);
        AddProperty("ColumnGap", prop::Length);
        AddProperty("OnBeforePrint", prop::HasEditor | prop::SingleSelection, PropertyEditor::Script, this);
    }
}

void TfrPage::SetProperty(std::string_view name, const Value& value)
{
    const std::string n = upperName(name);
    const bool dialog = Type == pagetype::Dialog;
    if (n == "NAME") Name = value.toText();
    else if (n == "TYPE") Type = toByte(value);
    else if (n == "VISIBLE") Visible = value.toBoolean();
    else if (n == "BORDERSTYLE") BorderStyle = toByte(value);
    else if (n == "CAPTION") Caption = value.toText();
    else if (n == "COLOR") WindowColor = toColor(value);
    else if (n == "LEFT") Left = toInt32Value(value);
    else if (n == "TOP") Top = toInt32Value(value);
    else if (n == "POSITION") Position = toByte(value);
    else if (n == "WIDTH") {
        if (dialog) Width = toInt32Value(value);
        else Paper.width = pixelsToTenthsMm(toInt32Value(value));
    } else if (n == "HEIGHT") {
        if (dialog) Height = toInt32Value(value);
        else Paper.height = pixelsToTenthsMm(toInt32Value(value));
    } else if (n == "SIZE") Paper.size = toInt32Value(value);
    else if (n == "LEFTMARGIN") Margins.Left = toInt32Value(value);
    else if (n == "TOPMARGIN") Margins.Top = toInt32Value(value);
    else if (n == "RIGHTMARGIN") Margins.Right = toInt32Value(value);
    else if (n == "BOTTOMMARGIN") Margins.Bottom = toInt32Value(value);
    else if (n == "ORIENTATION") Paper.orientation = toByte(value);
    else if (n == "PRINTTOPREVPAGE") PrintToPrevPage = value.toBoolean();
    else if (n == "STRETCHTOPRINTABLE") MarginsInUse = !value.toBoolean();
    else if (n == "COLUMNS") Columns = toInt32Value(value);
    else if (n == "COLUMNWIDTH") ColumnWidth = toInt32Value(value);
    else if (n == "COLUMNGAP") ColumnGap = toInt32Value(value);
}

Value TfrPage::GetProperty(std::string_view name)
{
    const std::string n = upperName(name);
    const bool dialog = Type == pagetype::Dialog;
    if (n == "NAME") return Name;
    if (n == "TYPE") return int(Type);
    if (n == "VISIBLE") return Visible;
    if (n == "BORDERSTYLE") return int(BorderStyle);
    if (n == "CAPTION") return Caption;
    if (n == "COLOR") return colorValue(WindowColor);
    if (n == "LEFT") return Left;
    if (n == "TOP") return Top;
    if (n == "POSITION") return int(Position);
    if (n == "WIDTH") return dialog ? Width : tenthsMmToPixels(Paper.width);
    if (n == "HEIGHT") return dialog ? Height : tenthsMmToPixels(Paper.height);
    if (n == "SIZE") return Paper.size;
    // While running the margins read as the band area actually used.
    const bool running = engine().Running != 0;
    if (n == "LEFTMARGIN") return running ? LeftEdge() : Margins.Left;
    if (n == "TOPMARGIN") return running ? TopEdge() : Margins.Top;
    if (n == "RIGHTMARGIN") return running ? RightEdge() : Margins.Right;
    if (n == "BOTTOMMARGIN") return running ? BottomEdge() : Margins.Bottom;
    if (n == "ORIENTATION") return Paper.orientation;
    if (n == "PRINTTOPREVPAGE") return PrintToPrevPage;
    if (n == "STRETCHTOPRINTABLE") return !MarginsInUse;
    if (n == "COLUMNS") return Columns;
    if (n == "COLUMNGAP") return ColumnGap;
    return Value::null();
}

// ---------------------------------------------------------------- TfrPages

PaperRequest TfrPages::defaultPaper()
{
    PaperRequest paper;
    paper.Size = printing().newPagePaperSize();
    const PaperInfo* row = findPaper(paper.Size);
    paper.Width = row ? row->width : 0;
    paper.Height = row ? row->height : 0;
    return paper;
}

int TfrPages::Add() { return Add(defaultPaper()); }

int TfrPages::Add(const PaperRequest& paper)
{
    pages_.push_back(std::make_unique<TfrPage>(paper));
    TfrPage& page = *pages_.back();
    page.Name = UniquePageName(&page);
    return Count() - 1;
}

int TfrPages::AddNamed(std::string name)
{
    pages_.push_back(std::make_unique<TfrPage>(defaultPaper()));
    pages_.back()->Name = std::move(name);
    return Count() - 1;
}

void TfrPages::Delete(int index)
{
    if (index < 0 || index >= Count()) return;
    pages_.erase(pages_.begin() + index);
}

void TfrPages::Move(int from, int to)
{
    if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to) return;
    std::unique_ptr<TfrPage> page = std::move(pages_[static_cast<std::size_t>(from)]);
    pages_.erase(pages_.begin() + from);
    pages_.insert(pages_.begin() + to, std::move(page));
}

void TfrPages::Clear() { pages_.clear(); }

int TfrPages::IndexOf(const TfrPage* page) const
{
    for (std::size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i].get() == page) return static_cast<int>(i);
    return -1;
}

std::string TfrPages::UniquePageName(const TfrPage* forPage) const
{
    UniqueNames names;
    for (const auto& page : pages_)
        if (page.get() != forPage) names.Take(page->Name);
    return names.Next("Page");
}

void TfrPages::ReapplyBandAlign()
{
    EngineContext& e = engine();
    TfrPage* const savedPage = e.CurrentPage;
    for (const auto& page : pages_) {
        e.CurrentPage = page.get();
        for (const auto& view : page->PageObjects)
            if (view->BandAlign != bandalign::None) view->ApplyBandAlign(nullptr);
    }
    e.CurrentPage = savedPage;
}

} // namespace pemvora::report
