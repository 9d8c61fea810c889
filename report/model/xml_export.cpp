#include "report/model/xml_export.h"

#include "platform/text/gbk.h"
#include "platform/value/numbertext.h"
#include "report/data/datasource.h"
#include "report/data/dictionary.h"
#include "report/model/binary_stream.h"
#include "report/model/engine_context.h"
#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/model/report_dictionary_host.h"
#include "report/model/report_files.h"
#include "report/model/template_codec.h"

#include <fmt/format.h>

#include <algorithm>
#include <optional>

namespace pemvora::report {

namespace {

// Pixels of the screen the font heights are given in.
constexpr int kScreenDpi = 96;

std::string hex(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        out.push_back(kDigits[static_cast<unsigned char>(c) >> 4]);
        out.push_back(kDigits[static_cast<unsigned char>(c) & 15]);
    }
    return out;
}

// Lines each followed by CR LF, as a list's text is.
std::string linesText(const StringList& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// An element start: "<" + name, then its attributes, each escaped. `owner`
// names the element in the message about a value XML cannot carry.
class Element {
public:
    Element(std::string_view name, std::string owner) : owner_(std::move(owner)), text_(1, '<')
    {
        text_.append(name);
    }

    // A value already in UTF-8.
    void utf8(std::string_view name, std::string_view value)
    {
        text_ += ' ';
        text_ += name;
        text_ += "=\"";
        for (char c : value) {
            const auto b = static_cast<unsigned char>(c);
            switch (c) {
            case '\t': case '\n': case '\r': case '"': case '&': case '<': case '>':
                text_ += fmt::format("&#{};", b);
                break;
            default:
                if (b < 0x20)
                    throw TemplateSaveError(fmt::format(
                        "Cannot export the report as XML: {} of {} holds the control character {}, which XML "
                        "cannot carry",
                        name, owner_, b));
                text_ += c;
            }
        }
        text_ += '"';
    }
    // Engine text (GBK).
    void text(std::string_view name, std::string_view gbk) { utf8(name, text::gbkToUtf8(gbk)); }
    void number(std::string_view name, long long value) { utf8(name, fmt::format("{}", value)); }
    // The shortest decimal form that reads back as the same value.
    void real(std::string_view name, double value) { utf8(name, fmt::format("{}", value)); }
    void realSingle(std::string_view name, float value) { utf8(name, fmt::format("{}", value)); }
    void colour(std::string_view name, Color value) { number(name, static_cast<std::int32_t>(value)); }

    const std::string& str() const { return text_; }

private:
    std::string owner_;
    std::string text_;
};

class XmlText {
public:
    void line(std::string_view s)
    {
        out_ += s;
        out_ += "\r\n";
    }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

std::string eventName(const std::string& owner) { return owner + "OnBeforePrint"; }

// Each password byte less 10, as the character with that code.
std::string shiftedPassword(std::string_view password)
{
    std::string utf8;
    for (char c : password) {
        const auto code = static_cast<unsigned char>(static_cast<unsigned char>(c) - 10);
        if (code < 0x80) {
            utf8.push_back(static_cast<char>(code));
        } else {
            utf8.push_back(static_cast<char>(0xC0 | (code >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return utf8;
}

// Design pixels of the page metrics as millimetres.
long long millimetres(int pixels) { return static_cast<long long>(roundHalfEven(pixels / 3.77953 * 1.0477419354838709677)); }

std::uint16_t exportedFrame(std::uint16_t frameTyp)
{
    std::uint16_t bits = 0;
    if (frameTyp & frame::Left) bits |= 1;
    if (frameTyp & frame::Right) bits |= 2;
    if (frameTyp & frame::Top) bits |= 4;
    if (frameTyp & frame::Bottom) bits |= 8;
    return bits;
}

int exportedAlign(int bandAlign)
{
    if (bandAlign == bandalign::Rest) return bandalign::Width;
    if (bandAlign == bandalign::Top) return bandalign::None;
    return bandAlign;
}

int exportedRestrictions(std::uint8_t r)
{
    int bits = 0;
    if (r & (restrict::DontEditMemo | restrict::DontEditScript | restrict::DontEditContents | restrict::DontModify))
        bits |= 1;
    if (r & restrict::DontSize) bits |= 2;
    if (r & restrict::DontMove) bits |= 4;
    if (r & restrict::DontDelete) bits |= 8;
    return bits;
}

std::string_view bandElementName(int bandKind)
{
    switch (bandKind) {
    case bandkind::ReportTitle: return "TfrReportTitle";
    case bandkind::ReportSummary: return "TfrReportSummary";
    case bandkind::PageHeader: return "TfrPageHeader";
    case bandkind::PageFooter: return "TfrPageFooter";
    case bandkind::MasterHeader: case bandkind::DetailHeader: case bandkind::SubdetailHeader: return "TfrHeader";
    case bandkind::MasterData: return "TfrMasterData";
    case bandkind::DetailData: return "TfrDetailData";
    case bandkind::SubdetailData: return "TfrSubDetailData";
    case bandkind::MasterFooter: case bandkind::DetailFooter: case bandkind::SubdetailFooter: return "TfrFooter";
    case bandkind::ColumnHeader: return "TfrColumnHeader";
    case bandkind::ColumnFooter: return "TfrColumnFooter";
    case bandkind::GroupHeader: return "TfrGroupHeader";
    case bandkind::GroupFooter: return "TfrGroupFooter";
    case bandkind::Child: return "TfrChild";
    default: return {};   // overlay, cross bands, none: not exported
    }
}

// The component (window or data module) that holds `component`: the report's
// owner, or a window of the application, or a module of such a window.
const ComponentContainer* holderOf(const DataComponent* component, const ComponentContainer* in, int depth)
{
    if (!in || depth > 2) return nullptr;
    const auto& held = in->components();
    if (std::find(held.begin(), held.end(), component) != held.end()) return in;
    for (const ComponentContainer* inner : in->componentsOf<ComponentContainer>())
        if (const ComponentContainer* found = holderOf(component, inner, depth + 1)) return found;
    return nullptr;
}

struct BoundField {
    std::string DataSet;   // holder's name "." data set's name
    std::string Field;
};

// The data field a picture's first line names ("[Table1."Photo"]", a
// dictionary variable bound to a field, or an alias of one), if it resolves.
std::optional<BoundField> pictureField(const TfrReport& report, const TfrPictureView& picture)
{
    if (picture.Memo.empty()) return std::nullopt;
    std::string_view name = picture.Memo.front();
    if (name.size() > 2 && name.front() == '[') {
        const std::size_t close = name.rfind(']');
        if (close == 0 || close == std::string_view::npos) return std::nullopt;
        name = name.substr(1, close - 1);
    }
    const TfrDataDictionary& dictionary = report.Dictionary;
    std::string reference = dictionary.IsVariable(name) ? dictionary.VarList.GetVariable(name).toText()
                                                        : dictionary.FieldOfAlias(name);
    IDataSet* defaultDataSet = nullptr;
    if (const auto* source = dynamic_cast<const TfrDBDataSet*>(report.Dataset)) defaultDataSet = source->DataSet();
    std::optional<FieldReference> field;
    try {
        field = dictionary.ResolveField(reference, defaultDataSet, ReportDictionaryHost(report));
    } catch (const DataError&) {
        return std::nullopt;
    }
    if (!field) return std::nullopt;
    const ComponentContainer* holder = holderOf(field->dataSet, report.Owner, 0);
    if (!holder) holder = holderOf(field->dataSet, engine().Application, 0);
    std::string dataSet = field->dataSet->Name();
    if (holder && holder != engine().Application) dataSet = holder->Name() + "." + dataSet;
    return BoundField{std::move(dataSet), field->field};
}

void commonAttributes(Element& e, const TfrView& v, int left)
{
    e.text("Name", v.Name);
    e.number("Left", left);
    e.number("Top", v.Top);
    e.number("Width", v.Width);
    e.number("Height", v.Height);
    e.colour("Color", v.FillColor);
    if (!v.Visible) e.utf8("Visible", "False");
    e.number("Frame.Typ", exportedFrame(v.FrameTyp));
    e.realSingle("Frame.Width", v.FrameWidth);
    e.colour("Frame.Color", v.FrameColor);
    e.number("Frame.Style", v.FrameStyle);
    e.number("GapX", v.GapX);
    e.number("GapY", v.GapY);
    e.text("TagStr", v.Tag);
    e.text("Memo.text", linesText(v.Memo));
    e.number("Align", exportedAlign(v.BandAlign));
    if (!v.ScriptLines.empty()) {
        const std::string handler = text::gbkToUtf8(eventName(v.Name));
        e.utf8("OnBeforePrint", handler);
        e.utf8("OnClick", handler);
        e.utf8("OnActivate", handler);
    }
    e.number("Restrictions", exportedRestrictions(v.Restrictions));
}

void textAttributes(Element& e, const TfrMemoView& m)
{
    auto when = [&](std::uint16_t bit, std::string_view name, std::string_view value) {
        if (m.Flags & bit) e.utf8(name, value);
    };
    when(flag::Stretched, "StretchMode", "smMaxHeight");
    if (!(m.Flags & flag::WordWrap)) e.utf8("WordWrap", "False");
    when(flag::AutoWidth, "AutoWidth", "True");
    when(flag::TextOnly, "AllowExpressions", "False");
    when(flag::Suppress, "SuppressRepeated", "True");
    when(flag::HideZeros, "HideZeros", "True");
    when(flag::Underlines, "Underlines", "True");
    when(flag::RTLReading, "RTLReading", "True");
    e.text("Font.Name", m.Font.Name);
    e.number("Font.Height", -fontPixelHeight(m.Font.Size, kScreenDpi));
    e.colour("Font.Color", m.Font.FontColor);
    e.number("Font.Style", canvasFontStyle(m.Font.Style));
    e.text("Highlight.Condition", m.HighlightCondition);
    e.number("Highlight.Font.Style", m.Highlight.FontStyle);
    e.colour("Highlight.Font.Color", m.Highlight.FontColor);
    e.colour("Highlight.Color", m.Highlight.FillColor);
    e.number("LineSpacing", m.LineSpacing);
    e.number("CharSpacing", m.CharSpacing);
    e.number("HAlign", m.Alignment & textalign::HorizontalMask);
    const std::uint32_t vertical = m.Alignment & textalign::VerticalMask;
    e.number("VAlign", vertical == textalign::Middle ? 1 : vertical == textalign::Bottom ? 2 : 0);
    if (m.Alignment & textalign::Rotated) e.utf8("Rotation", "90");
}

void pictureAttributes(Element& e, const TfrReport& report, const TfrPictureView& p)
{
    if (!p.Picture.IsEmpty()) e.utf8("Picture.Propdata", hex(p.Picture.Data));
    if (const std::optional<BoundField> bound = pictureField(report, p)) {
        e.text("DataSet", bound->DataSet);
        e.text("DataField", bound->Field);
    }
    if (!(p.Flags & flag::Stretched)) e.utf8("Stretched", "False");
    if (p.Flags & flag::Center) e.utf8("Center", "True");
    if (!(p.Flags & flag::KeepAspect)) e.utf8("KeepAspectRatio", "False");
}

// A band's element, or nullopt for the kinds the export leaves out.
std::optional<Element> bandElement(const TfrBandView& b, int left)
{
    const std::string_view name = bandElementName(b.BandKind());
    if (name.empty()) return std::nullopt;
    Element e(name, text::gbkToUtf8(b.Name));
    e.text("Name", b.Name);
    e.number("Left", left);
    e.number("Top", b.Top);
    e.number("Width", b.Width);
    e.number("Height", b.Height);
    e.number("Columns", b.Columns);
    e.number("ColumnWidth", b.ColumnWidth);
    e.number("ColumnGap", b.ColumnGap);
    if (!b.Visible) e.utf8("Visible", "False");
    auto when = [&](std::uint16_t bit, std::string_view attribute, std::string_view value) {
        if (b.Flags & bit) e.utf8(attribute, value);
    };
    auto unless = [&](std::uint16_t bit, std::string_view attribute, std::string_view value) {
        if (!(b.Flags & bit)) e.utf8(attribute, value);
    };
    when(flag::Stretched, "Stretched", "True");
    when(flag::FormNewPage, "StartNewPage", "True");
    when(flag::PrintIfSubsetEmpty, "PrintIfDetailEmpty", "True");
    when(flag::Breaked, "AllowSplit", "True");
    unless(flag::OnFirstPage, "PrintOnFirstPage", "False");
    unless(flag::OnLastPage, "PrintOnLastPage", "False");
    when(flag::RepeatHeader, "ReprintOnNewPage", "True");
    when(flag::PrintChildIfInvisible, "PrintChildIfInvisible", "True");
    if (!b.ScriptLines.empty()) e.text("OnBeforePrint", eventName(b.Name));
    if (bandkind::isData(b.BandKind())) e.text("DataSet", b.DisplayFormatText);
    if (b.BandKind() == bandkind::GroupHeader) e.text("Condition", b.DisplayFormatText);
    return e;
}

// An object's element, or nullopt when the export leaves it out.
std::optional<Element> objectElement(const TfrReport& report, const TfrView& v, int left)
{
    if (const auto* band = dynamic_cast<const TfrBandView*>(&v)) return bandElement(*band, left);
    Element e(v.ClassName(), text::gbkToUtf8(v.Name));
    commonAttributes(e, v, left);
    if (const auto* m = dynamic_cast<const TfrMemoView*>(&v)) {
        textAttributes(e, *m);
    } else if (const auto* p = dynamic_cast<const TfrPictureView*>(&v)) {
        pictureAttributes(e, report, *p);
    } else if (const auto* s = dynamic_cast<const TfrSubReportView*>(&v)) {
        e.utf8("Page", fmt::format("Page{}", static_cast<long long>(s->SubPageIndex) + 1));
    } else if (dynamic_cast<const TfrLineView*>(&v)) {
        if (!(v.Flags & flag::Stretched)) e.utf8("Stretched", "False");
    }
    return e;
}

Element pageElement(const TfrPage& page, const std::string& name)
{
    const bool dialog = page.Type == pagetype::Dialog;
    Element e(dialog ? "TfrDialogPage" : "TfrReportPage", name);
    e.utf8("Name", name);
    if (dialog) {
        e.number("Height", page.Height);
        e.number("Left", page.Left);
        e.number("Top", page.Top);
        e.number("Width", page.Width);
        e.number("BorderStyle", page.BorderStyle);
        e.text("Caption", page.Caption);
        e.colour("Color", page.WindowColor);
        e.number("Position", page.Position);
        if (!page.ScriptLines.empty()) e.utf8("OnActivate", eventName(name));
        return e;
    }
    const TfrPageMetrics& m = page.Paper.metrics;
    e.utf8("Orientation", page.Paper.orientation == 1 ? "poLandscape" : "poPortrait");
    e.number("PaperWidth", millimetres(m.PaperWidth));
    e.number("PaperHeight", millimetres(m.PaperHeight));
    e.number("PaperSize", page.Paper.size);
    e.number("LeftMargin", millimetres(page.LeftEdge()));
    e.number("RightMargin", millimetres(m.PaperWidth - page.RightEdge()));
    e.number("TopMargin", millimetres(page.TopEdge()));
    e.number("BottomMargin", millimetres(m.PaperHeight - page.BottomEdge()));
    e.number("Columns", page.Columns);
    e.number("ColumnWidth", page.ColumnWidth);
    if (page.PrintToPrevPage) e.utf8("PrintOnPreviousPage", "True");
    if (!page.ScriptLines.empty()) e.utf8("OnBeforePrint", eventName(name));
    return e;
}

void procedure(StringList& out, const std::string& name, const StringList& script)
{
    if (script.empty()) return;
    out.push_back("procedure " + eventName(name) + "(Sender: TfrComponent);");
    out.push_back("begin");
    out.push_back("  with " + name + ", Engine do");
    out.push_back("  begin");
    const std::size_t n = script.size();
    if (script.front() != "begin") {
        out.insert(out.end(), script.begin(), script.end());
        out.push_back("  end");
        out.push_back("end;");
    } else {
        for (std::size_t i = 1; i + 1 < n; ++i) out.push_back(script[i]);
        out.push_back("  end");
        out.push_back(script.back() + ";");
    }
    out.push_back("");
}

void shortString(BinaryWriter& out, std::string_view s)
{
    out.u8(static_cast<std::uint8_t>(s.size()));
    out.bytes(s);
}

void encodedString(BinaryWriter& out, std::string_view s)
{
    if (s.size() <= 255) {
        out.u8(6);
        out.u8(static_cast<std::uint8_t>(s.size()));
    } else {
        out.u8(12);
        out.u32(static_cast<std::uint32_t>(s.size()));
    }
    out.bytes(s);
}

} // namespace

namespace xmlexport {

std::string ScriptText(const TfrReport& report)
{
    StringList lines;
    for (int i = 0; i < report.Pages.Count(); ++i) {
        const TfrPage& page = report.Pages.Items(i);
        procedure(lines, fmt::format("Page{}", i + 1), page.ScriptLines);
        for (const auto& view : page.PageObjects) procedure(lines, view->Name, view->ScriptLines);
    }
    lines.insert(lines.end(), {"begin", "", "end."});
    return linesText(lines);
}

std::string DictionaryData(const TfrDataDictionary& dictionary)
{
    constexpr std::uint8_t kListStart = 1, kCollection = 14, kEnd = 0;
    BinaryWriter out;
    shortString(out, "Datasets");
    out.u8(kCollection);
    out.u8(kEnd);
    shortString(out, "Variables");
    out.u8(kCollection);
    const TfrVariables& vars = dictionary.VarList;
    for (int i = 0; i < vars.Count(); ++i) {
        out.u8(kListStart);
        shortString(out, "Name");
        encodedString(out, vars.NameAt(i));
        shortString(out, "Value");
        encodedString(out, vars.ValueAt(i).toText());
        out.u8(kEnd);
    }
    out.u8(kEnd);
    return out.take();
}

} // namespace xmlexport

std::string ExportXml(const TfrReport& report)
{
    XmlText xml;
    xml.line("<?xml version=\"1.0\"?>");

    Element root("TfrReport", "the report");
    const ReportInformation& info = report.Information;
    root.utf8("ScriptLanguage", "PascalScript");
    root.text("ScriptText.text", xmlexport::ScriptText(report));
    root.utf8("Propdata", hex(xmlexport::DictionaryData(report.Dictionary)));
    root.text("ReportOptions.Name", info.Name);
    root.text("ReportOptions.Author", info.Author);
    root.text("ReportOptions.Description.text", info.Comment);
    root.real("ReportOptions.CreateDate", report.Created.days);
    root.real("ReportOptions.LastChange", report.Modified.days);
    root.text("ReportOptions.VersionMajor", info.VersionMajor);
    root.text("ReportOptions.VersionMinor", info.VersionMinor);
    root.text("ReportOptions.VersionRelease", info.VersionRelease);
    root.text("ReportOptions.VersionBuild", info.VersionBuild);
    root.utf8("ReportOptions.Password", shiftedPassword(report.ReportPassword));
    xml.line(root.str());
    xml.line(">");

    for (int i = 0; i < report.Pages.Count(); ++i) {
        const TfrPage& page = report.Pages.Items(i);
        const std::string name = fmt::format("Page{}", i + 1);
        xml.line(pageElement(page, name).str());
        if (page.PageObjects.empty()) {
            xml.line("/>");
            continue;
        }
        xml.line(">");
        const int shift = page.Type == pagetype::Dialog ? 0 : page.LeftEdge();
        for (const auto& view : page.PageObjects) {
            if (const std::optional<Element> e = objectElement(report, *view, view->Left - shift)) {
                xml.line(e->str());
                xml.line("/>");
            }
        }
        xml.line(page.Type == pagetype::Dialog ? "</TfrDialogPage>" : "</TfrReportPage>");
    }
    xml.line("</TfrReport>");
    return xml.take();
}

std::string SaveXmlExportToFile(const TfrReport& report, const std::string& fileName)
{
    const std::string name = WithExtension(fileName, ExtensionOf(ReportFileForm::XmlExport));
    SaveBytesToFile(name, ExportXml(report));
    return name;
}

} // namespace pemvora::report
