#include "report/model/objects.h"

#include "platform/text/gbk.h"
#include "report/model/band_runtime.h"
#include "report/model/engine_context.h"
#include "report/model/page.h"
#include "report/model/report.h"

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>

namespace pemvora::report {

// ---------------------------------------------------------------- pictures

GraphicKind detectGraphicKind(std::string_view b)
{
    auto starts = [&](std::initializer_list<unsigned char> bytes, std::size_t at = 0) {
        if (b.size() < at + bytes.size()) return false;
        std::size_t i = at;
        for (unsigned char c : bytes)
            if (static_cast<unsigned char>(b[i++]) != c) return false;
        return true;
    };
    if (starts({'B', 'M'})) return GraphicKind::Bitmap;
    if (starts({0xFF, 0xD8, 0xFF})) return GraphicKind::Jpeg;
    if (starts({0x00, 0x00, 0x01, 0x00})) return GraphicKind::Icon;
    if (starts({0xD7, 0xCD, 0xC6, 0x9A})) return GraphicKind::Metafile;                  // placeable metafile
    if (starts({0x01, 0x00, 0x09, 0x00}) || starts({0x02, 0x00, 0x09, 0x00})) return GraphicKind::Metafile;
    if (starts({0x01, 0x00, 0x00, 0x00}) && starts({' ', 'E', 'M', 'F'}, 40)) return GraphicKind::Metafile;
    return GraphicKind::None;
}

TfrPictureView::TfrPictureView()
{
    ObjectKind = kind::Picture;
    NamePrefix = "Picture";
    Flags = flag::Stretched | flag::KeepAspect;
}

void TfrPictureView::RegisterProperties()
{
    TfrView::RegisterProperties();
    AddProperty("Picture", prop::HasEditor, PropertyEditor::Picture, this);
    AddProperty("Stretched", prop::Boolean);
    AddProperty("Center", prop::Boolean);
    AddProperty("KeepAspect", prop::Boolean);
    AddProperty("DataField", prop::HasEditor | prop::SingleSelection | prop::Text, PropertyEditor::DataField, this);
    AddEnumProperty("BlobType", "btBMP;btJPG;btICO;btWMF", 3);
}

namespace {

void setBit(std::uint16_t& flags, std::uint16_t bit, bool on)
{
    if (on) flags |= bit;
    else flags &= static_cast<std::uint16_t>(~bit);
}

// The picture object with this Id in the current report, if any.
const TfrPictureView* findPicture(std::int32_t id)
{
    TfrReport* report = engine().CurrentReport;
    if (!report) return nullptr;
    for (int p = 0; p < report->Pages.Count(); ++p)
        for (const auto& view : report->Pages.Items(p).PageObjects)
            if (view->Id == id)
                if (const auto* picture = dynamic_cast<const TfrPictureView*>(view.get())) return picture;
    return nullptr;
}

} // namespace

void TfrPictureView::SetProperty(std::string_view name, const Value& value)
{
    TfrView::SetProperty(name, value);
    const std::string n = upperName(name);
    if (n == "PICTURE") {
        // The value is a reference read from another picture's PICTURE; an
        // integer that names no picture object changes nothing.
        const TfrPictureView* source = findPicture(toInt32Value(value));
        if (source && source != this) Picture = source->Picture;
    } else if (n == "CENTER") setBit(Flags, flag::Center, value.toBoolean());
    else if (n == "KEEPASPECT") setBit(Flags, flag::KeepAspect, value.toBoolean());
    else if (n == "BLOBTYPE") BlobType = toByte(value);
}

Value TfrPictureView::GetProperty(std::string_view name)
{
    Value v = TfrView::GetProperty(name);
    if (!v.isNull()) return v;
    const std::string n = upperName(name);
    if (n == "PICTURE") return Id;
    if (n == "CENTER") return (Flags & flag::Center) != 0;
    if (n == "KEEPASPECT") return (Flags & flag::KeepAspect) != 0;
    if (n == "BLOBTYPE") return int(BlobType);
    return Value::null();
}

Value TfrPictureView::CallMethod(std::string_view name, const Value& arg1, const Value& arg2, const Value& arg3)
{
    if (name == "LOADFROMFILE") {
        ExpressionEvaluator* evaluator = engine().Evaluator;
        if (!evaluator) throw NoEvaluator();
        LoadFromFile(evaluator->Evaluate(arg1.toText()).toText());
        return Value::null();
    }
    return TfrView::CallMethod(name, arg1, arg2, arg3);
}

void TfrPictureView::LoadFromFile(const std::string& fileName)
{
    const std::filesystem::path path = fileName.empty() ? std::filesystem::path()
                                                        : std::filesystem::path(text::gbkToUtf8(fileName));
    std::error_code ec;
    if (fileName.empty() || !std::filesystem::is_regular_file(path, ec)) {
        Picture.Clear();
        return;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in && !in.eof()) throw GraphicError("Cannot read the picture file " + text::gbkToUtf8(fileName));
    const GraphicKind k = detectGraphicKind(bytes);
    if (k == GraphicKind::None) throw GraphicError("Unknown picture file format");
    Picture.Kind = k;
    Picture.Data = std::move(bytes);
}

void TfrPictureView::CopyRecordFrom(const TfrView& other)
{
    if (const auto* picture = dynamic_cast<const TfrPictureView*>(&other)) {
        Picture = picture->Picture;
        BlobType = picture->BlobType;
    }
}

// ---------------------------------------------------------------- lines

TfrLineView::TfrLineView()
{
    ObjectKind = kind::Line;
    NamePrefix = "Line";
    FrameTyp = frame::Left;
    FillColor = kWhite;
}

void TfrLineView::RegisterProperties()
{
    TfrView::RegisterProperties();
    AddProperty("Stretched", prop::Boolean);
}

HitRegion TfrLineView::CreateHitRegion(bool widened) const
{
    const double w = FrameWidth;
    const bool isDouble = FrameStyle == penstyle::Double;
    const int d1 = static_cast<int>(isDouble ? w * 1.5 : w * 0.5);
    const int d2 = isDouble ? static_cast<int>(static_cast<int>((w - 1) / 2) + w) : static_cast<int>((w - 1) / 2);
    Rect r;
    if (FrameTyp == frame::Left) {
        r = {Left - d1, Top, Left + Width + 1 + d2, Top + Height + 1};
    } else {
        r = {Left, Top - d1, Left + Width + 1, Top + Height + 1 + d2};
    }
    if (widened) r = {r.left - 10, r.top - 10, r.right + 10, r.bottom + 10};
    return {r};
}

// ---------------------------------------------------------------- bands

TfrBandView::TfrBandView()
{
    ObjectKind = kind::Band;
    NamePrefix = "Band";
    DisplayFormat = 0;
    Flags = flag::OnFirstPage | flag::OnLastPage;
}

namespace {

bool kindIn(int k, std::initializer_list<int> kinds)
{
    for (int x : kinds)
        if (x == k) return true;
    return false;
}

bool kindBetween(int k, int from, int to) { return k >= from && k <= to; }

// Names of the page's band objects that pass `wanted`, this band left out, ";"-joined.
std::string bandNames(const TfrBandView& self, bool (*wanted)(int))
{
    std::string names;
    if (engine().Running != 0 || !self.OwnerPage) return names;
    for (const auto& view : self.OwnerPage->PageObjects) {
        const auto* band = dynamic_cast<const TfrBandView*>(view.get());
        if (!band || band == &self || !wanted(band->BandKind())) continue;
        if (!names.empty()) names += ';';
        names += band->Name;
    }
    return names;
}

// Band flag properties by name.
struct BandFlag {
    const char* name;
    std::uint16_t bit;
};
constexpr BandFlag kBandFlags[] = {
    {"FORMNEWPAGE", flag::FormNewPage},   {"PRINTIFSUBSETEMPTY", flag::PrintIfSubsetEmpty},
    {"BREAKED", flag::Breaked},           {"ONFIRSTPAGE", flag::OnFirstPage},
    {"ONLASTPAGE", flag::OnLastPage},     {"REPEATHEADER", flag::RepeatHeader},
    {"PRINTCHILDIFINVISIBLE", flag::PrintChildIfInvisible},
};

} // namespace

void TfrBandView::RegisterProperties()
{
    TfrView::RegisterProperties();
    const int k = BandKind();
    if (k != bandkind::PageFooter) {
        AddEnumProperty("ChildBand", bandNames(*this, [](int b) { return b == bandkind::Child; }),
                        std::vector<Value>{Value::null()});
        AddProperty("PrintChildIfInvisible", prop::Boolean);
    }
    if (kindIn(k, {0, 1, 2, 16, 17, 18, 21}) || kindBetween(k, 4, 12)) AddProperty("Stretched", prop::Boolean);
    if (kindIn(k, {0, 1, 5, 6, 8, 9, 11, 12, 16})) AddProperty("FormNewPage", prop::Boolean);
    if (kindIn(k, {5, 8})) AddProperty("PrintIfSubsetEmpty", prop::Boolean);
    if (kindIn(k, {0, 1, 16, 17, 21}) || kindBetween(k, 4, 12)) AddProperty("Breaked", prop::Boolean);
    if (kindIn(k, {2, 3})) AddProperty("OnFirstPage", prop::Boolean);
    if (k == bandkind::PageFooter) AddProperty("OnLastPage", prop::Boolean);
    if (kindIn(k, {4, 7, 10, 16, 18})) AddProperty("RepeatHeader", prop::Boolean);
    if (k == bandkind::CrossData)
        AddProperty("DataSource", prop::HasEditor, PropertyEditor::CrossDataSource, this);
    if (bandkind::isData(k)) {
        AddProperty("Columns", prop::Integer);
        AddProperty("ColumnWidth", prop::Length);
        AddProperty("ColumnGap", prop::Length);
        AddProperty("DataSource", prop::HasEditor, PropertyEditor::DataSource, this);
    }
    if (k == bandkind::GroupHeader) {
        AddProperty("Condition", prop::Text);
        AddEnumProperty("Master", bandNames(*this, [](int b) { return bandkind::isData(b); }),
                        std::vector<Value>{Value::null()});
    }
    AddProperty("EOF", 0);
    if (TfrPropRec* memo = FindProperty("Memo")) memo->Name = "OnBeforePrint";
}

void TfrBandView::SetProperty(std::string_view name, const Value& value)
{
    TfrView::SetProperty(name, value);
    const std::string n = upperName(name);
    TfrBandRuntime* runtime = engine().Running != 0 ? RuntimeBand : nullptr;

    if (n == "CHILDBAND") {
        ChildBand = value.toText();
        if (runtime) {
            TfrView* child = engine().CurrentReport ? engine().CurrentReport->FindObject(ChildBand) : nullptr;
            runtime->ChildBand = child ? child->RuntimeBand : nullptr;
        }
    } else if (n == "MASTER") Master = value.toText();
    else if (n == "CONDITION") {
        DisplayFormatText = value.toText();
        if (runtime) runtime->GroupCondition = DisplayFormatText;
    } else if (n == "DATASOURCE") {
        DisplayFormatText = value.toText();
        if (runtime) runtime->OpenDataSource(DisplayFormatText);
    } else if (n == "COLUMNS") Columns = toInt32Value(value);
    else if (n == "COLUMNGAP") ColumnGap = toInt32Value(value);
    else if (n == "COLUMNWIDTH") ColumnWidth = toInt32Value(value);
    else if (n == "NEWCOLUMNAFTER") NewColumnAfter = toInt32Value(value);
    else {
        for (const BandFlag& f : kBandFlags)
            if (n == f.name) setBit(Flags, f.bit, value.toBoolean());
        if (runtime) {
            if (n == "BREAKED") runtime->PageBreak = value.toBoolean();
            else if (n == "LEFT") runtime->Left = Left;
            else if (n == "TOP") runtime->Top = Top;
            else if (n == "WIDTH") runtime->Width = Width;
            else if (n == "HEIGHT") runtime->Height = Height;
            else if (n == "VISIBLE") runtime->Visible = Visible;
        }
    }
}

Value TfrBandView::GetProperty(std::string_view name)
{
    Value v = TfrView::GetProperty(name);
    if (!v.isNull()) return v;
    const std::string n = upperName(name);
    TfrBandRuntime* runtime = engine().Running != 0 ? RuntimeBand : nullptr;
    if (n == "CHILDBAND") return ChildBand;
    if (n == "MASTER") return Master;
    if (n == "CONDITION" || n == "DATASOURCE") return DisplayFormatText;
    if (n == "COLUMNS") return Columns;
    if (n == "COLUMNGAP") return ColumnGap;
    if (n == "COLUMNWIDTH") return ColumnWidth;
    if (n == "NEWCOLUMNAFTER") return NewColumnAfter;
    if (n == "BREAKED" && runtime) return runtime->PageBreak;
    if (n == "EOF") return runtime && runtime->HasDataSource() ? Value(runtime->Eof()) : Value::null();
    for (const BandFlag& f : kBandFlags)
        if (n == f.name) return (Flags & f.bit) != 0;
    return Value::null();
}

Value TfrBandView::CallMethod(std::string_view name, const Value& arg1, const Value& arg2, const Value& arg3)
{
    if (RuntimeBand && RuntimeBand->HasDataSource()) {
        if (name == "NEXT") { RuntimeBand->Next(); return Value::null(); }
        if (name == "PRIOR") { RuntimeBand->Prior(); return Value::null(); }
        if (name == "FIRST") { RuntimeBand->First(); return Value::null(); }
    }
    return TfrView::CallMethod(name, arg1, arg2, arg3);
}

void TfrBandView::CopyRecordFrom(const TfrView& other)
{
    if (const auto* band = dynamic_cast<const TfrBandView*>(&other)) {
        ChildBand = band->ChildBand;
        Columns = band->Columns;
        ColumnWidth = band->ColumnWidth;
        ColumnGap = band->ColumnGap;
        NewColumnAfter = band->NewColumnAfter;
        Master = band->Master;
    }
}

// ---------------------------------------------------------------- sub-reports

TfrSubReportView::TfrSubReportView()
{
    ObjectKind = kind::SubReport;
    NamePrefix = "SubReport";
}

void TfrSubReportView::CopyRecordFrom(const TfrView& other)
{
    if (const auto* sub = dynamic_cast<const TfrSubReportView*>(&other)) SubPageIndex = sub->SubPageIndex;
}

} // namespace pemvora::report
