#include "report/model/template_codec.h"

#include "platform/value/numbertext.h"
#include "report/model/engine_context.h"
#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/model/page.h"
#include "report/model/unique_names.h"
#include "report/data/dictionary.h"

#include <fmt/format.h>

#include <cmath>
#include <limits>

namespace pemvora::report {

namespace {

constexpr std::size_t kMaxLength = 0xFFFF;

[[noreturn]] void tooLong(std::string_view what, std::size_t size, std::string_view unit)
{
    throw TemplateSaveError(
        fmt::format("Cannot save the template: the {} has {} {}, more than {}", what, size, unit, kMaxLength));
}

} // namespace

// ---------------------------------------------------------------- encodings

std::string TemplateReader::ReadString()
{
    if (version >= 23) {
        const std::uint16_t n = in.u16();
        std::string s(in.bytes(n));
        in.u8();
        return s;
    }
    std::string s;
    for (char c; (c = static_cast<char>(in.u8())) != 0;) s.push_back(c);
    return s;
}

pemvora::report::StringList TemplateReader::ReadStringList()
{
    pemvora::report::StringList lines;
    if (version >= 23) {
        if (in.u16() == 0) {
            in.u8();
            return lines;
        }
        for (;;) {
            const std::uint16_t n = in.u16();
            lines.emplace_back(in.bytes(n));
            if (in.u8() == 0) return lines;
        }
    }
    std::string line;
    for (;;) {
        const char c = static_cast<char>(in.u8());
        if (c == 0) break;
        if (c == '\r') {
            lines.push_back(std::move(line));
            line.clear();
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

std::string TemplateReader::ReadTrailerString()
{
    const std::uint16_t n = in.u16();
    return std::string(in.bytes(n));
}

void TemplateWriter::WriteString(std::string_view s, std::string_view what)
{
    if (s.size() > kMaxLength) tooLong(what, s.size(), "bytes");
    out.u16(static_cast<std::uint16_t>(s.size()));
    out.bytes(s);
    out.u8(0);
}

void TemplateWriter::WriteStringList(const pemvora::report::StringList& lines, std::string_view what)
{
    if (lines.size() > kMaxLength) tooLong(what, lines.size(), "lines");
    for (const std::string& line : lines)
        if (line.size() > kMaxLength) tooLong(fmt::format("line of the {}", what), line.size(), "bytes");
    out.u16(static_cast<std::uint16_t>(lines.size()));
    if (lines.empty()) {
        out.u8(0);
        return;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out.u16(static_cast<std::uint16_t>(lines[i].size()));
        out.bytes(lines[i]);
        out.u8(i + 1 < lines.size() ? 13 : 0);
    }
}

void TemplateWriter::WriteTrailerString(std::string_view s, std::string_view what)
{
    if (s.size() > kMaxLength) tooLong(what, s.size(), "bytes");
    out.u16(static_cast<std::uint16_t>(s.size()));
    out.bytes(s);
}

std::int32_t encodeFrameWidth(float width)
{
    const double w = width;
    if (!std::isfinite(w)) throw TemplateSaveError("Cannot save the template: a frame width is not a number");
    // A whole width above 10 would read back a thousand times thinner, so only
    // small whole widths are stored as such.
    if (w == std::floor(w) && w <= 10) return static_cast<std::int32_t>(w);
    const double stored = roundHalfEven(w * 1000.0);
    // Thousandths up to 10 would read back as whole widths.
    if (stored <= 10 || stored > std::numeric_limits<std::int32_t>::max())
        throw TemplateSaveError(fmt::format("Cannot save the template: the frame width {} cannot be stored", w));
    return static_cast<std::int32_t>(stored);
}

float decodeFrameWidth(std::int32_t stored)
{
    double v = stored;
    if (v <= 10) v *= 1000;
    return static_cast<float>(v / 1000.0);
}

std::string passwordToHex(std::string_view password)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(password.size() * 2);
    for (char c : password) {
        const auto b = static_cast<unsigned char>(c);
        hex.push_back(kDigits[b >> 4]);
        hex.push_back(kDigits[b & 15]);
    }
    return hex;
}

std::string passwordFromHex(std::string_view digits)
{
    auto value = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        throw TemplateFormatError("Bad digit in the template password");
    };
    std::string password;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        password.push_back(static_cast<char>(value(digits[i]) * 16 + value(digits[i + 1])));
    return password;
}

// ---------------------------------------------------------------- object records

namespace {

bool isBand(const TfrView& view) { return dynamic_cast<const TfrBandView*>(&view) != nullptr; }

void saveCommon(TemplateWriter& w, const TfrView& v)
{
    BinaryWriter& o = w.out;
    w.WriteString(v.Name, "object name");
    o.u8(2);
    o.u8(isBand(v) ? 1 : 0);
    o.i32(v.Left);
    o.i32(v.Top);
    o.i32(v.Width);
    o.i32(v.Height);
    o.u16(v.Flags);
    o.u16(v.FrameTyp);
    const bool widthAsRead = v.FrameWidthAsRead && v.FrameWidthAsRead->width == v.FrameWidth;
    o.i32(widthAsRead ? v.FrameWidthAsRead->stored : encodeFrameWidth(v.FrameWidth));
    o.u32(v.FrameColor);
    o.u16(v.FrameStyle);
    o.u32(v.FillColor);
    if (!v.PreparedMode) {
        o.u32(v.DisplayFormat);
        w.WriteString(v.DisplayFormatText, "display format of " + v.Name);
    }
    w.WriteStringList(v.PreparedMode ? v.WorkLines : v.Memo, "text of " + v.Name);
    if (!v.PreparedMode) {
        w.WriteStringList(v.ScriptLines, "script of " + v.Name);
        o.bool16(v.Visible);
    }
    o.u16(v.Restrictions);
    w.WriteString(v.Tag, "tag of " + v.Name);
    o.i32(v.GapX);
    o.i32(v.GapY);
    o.u8(v.BandAlign);
}

void loadCommon(TemplateReader& r, TfrView& v)
{
    BinaryReader& in = r.in;
    if (r.version > 23 || (r.version == 23 && !v.PreparedMode)) {
        v.Name = r.ReadString();
        if (r.objectNames) r.objectNames->Take(v.Name);
    } else if (r.objectNames) {
        v.Name = r.objectNames->Next(v.NamePrefix);
    } else {
        v.CreateUniqueName();
    }
    if (r.version > 23) {
        v.RecordVersionMajor = in.u8();
        v.RecordVersionMinor = in.u8();
    }
    v.Left = in.i32();
    v.Top = in.i32();
    v.Width = in.i32();
    v.Height = in.i32();
    v.Flags = in.u16();
    v.FrameTyp = in.u16();
    const std::int32_t frameWidth = in.i32();
    v.FrameColor = in.u32();
    v.FrameStyle = in.u16();
    v.FillColor = in.u32();
    if (!v.PreparedMode) {
        v.DisplayFormat = in.u32();
        v.DisplayFormatText = r.ReadString();
    }
    v.Memo = r.ReadStringList();
    if (r.version > 22 && !v.PreparedMode) {
        v.ScriptLines = r.ReadStringList();
        v.Visible = in.bool16();
    }
    if (r.version > 23) {
        v.Restrictions = static_cast<std::uint8_t>(in.u16());
        v.Tag = r.ReadString();
        v.GapX = in.i32();
        v.GapY = in.i32();
    }
    v.FrameWidth = decodeFrameWidth(frameWidth);
    v.FrameWidthAsRead = TfrView::StoredFrameWidth{v.FrameWidth, frameWidth};
    if (v.RecordVersionMajor > 1) v.BandAlign = in.u8();
}

int recordVersion(const TfrView& v) { return v.RecordVersionMajor * 10 + v.RecordVersionMinor; }

void saveMemo(TemplateWriter& w, const TfrMemoView& m)
{
    BinaryWriter& o = w.out;
    w.WriteString(m.Font.Name, "font name of " + m.Name);
    o.i32(m.Font.Size);
    o.u16(static_cast<std::uint16_t>(m.Font.Style));
    o.u32(m.Font.FontColor);
    o.u32(m.Alignment);
    o.u16(static_cast<std::uint16_t>(m.Font.Charset & 0xFF));
    if (!m.PreparedMode) {
        o.u16(static_cast<std::uint16_t>(m.Highlight.FontStyle));
        o.u32(m.Highlight.FontColor);
        o.u32(m.Highlight.FillColor);
        w.WriteString(m.HighlightCondition, "highlight condition of " + m.Name);
    }
    o.i32(m.LineSpacing);
    o.i32(m.CharSpacing);
}

void loadMemo(TemplateReader& r, TfrMemoView& m)
{
    BinaryReader& in = r.in;
    m.Font.Name = r.ReadString();
    m.Font.Size = in.i32();
    m.Font.Style = in.u16();
    m.Font.FontColor = in.u32();
    m.Alignment = in.u32();
    m.Font.Charset = in.u16() & 0xFF;
    if (r.version < 23) m.Font.Charset = kEngineDefaultCharset;
    if (!m.PreparedMode) {
        m.Highlight.FontStyle = in.u16();
        m.Highlight.FontColor = in.u32();
        m.Highlight.FillColor = in.u32();
        m.HighlightCondition = r.ReadString();
    }
    if (r.version > 23) {
        m.LineSpacing = in.i32();
        m.CharSpacing = in.i32();
    }
    if (r.version == 21) m.Flags |= flag::WordWrap;
}

void saveBand(TemplateWriter& w, const TfrBandView& b)
{
    w.WriteString(b.ChildBand, "child band of " + b.Name);
    w.out.i32(b.Columns);
    w.out.i32(b.ColumnWidth);
    w.out.i32(b.ColumnGap);
    w.out.i32(b.NewColumnAfter);
    w.WriteString(b.Master, "master of " + b.Name);
}

void loadBand(TemplateReader& r, TfrBandView& b)
{
    if (r.version <= 23) return;
    b.ChildBand = r.ReadString();
    b.Columns = r.in.i32();
    b.ColumnWidth = r.in.i32();
    b.ColumnGap = r.in.i32();
    b.NewColumnAfter = r.in.i32();
    if (recordVersion(b) > 20) b.Master = r.ReadString();
}

void savePicture(TemplateWriter& w, const TfrPictureView& p)
{
    const bool none = p.Picture.IsEmpty();
    w.out.u8(static_cast<std::uint8_t>(none ? GraphicKind::None : p.Picture.Kind));
    w.out.u8(p.BlobType);
    const std::size_t end = w.out.reserveU32();
    if (!none) w.out.bytes(p.Picture.Data);
    w.out.patchHere(end);
}

void loadPicture(TemplateReader& r, TfrPictureView& p)
{
    BinaryReader& in = r.in;
    const std::uint8_t kind = in.u8();
    if (recordVersion(p) > 10) p.BlobType = in.u8();
    const std::uint32_t end = in.u32();
    if (end < in.position() || end > in.size()) throw TemplateFormatError("Picture data beyond its record");
    const std::string_view bytes = in.bytes(end - in.position());
    p.Picture.Clear();
    if (kind == 0 || bytes.empty()) return;
    // The graphic is kept as stored, decoded or not: one that cannot be
    // decoded (damaged, a kind we do not draw) draws as an empty box with a
    // cross, and a save writes it back as it came.
    p.Picture.Kind = static_cast<GraphicKind>(kind);
    p.Picture.Data.assign(bytes);
}

} // namespace

void SaveObjectRecord(TemplateWriter& w, const TfrView& view)
{
    saveCommon(w, view);
    if (const auto* m = dynamic_cast<const TfrMemoView*>(&view)) saveMemo(w, *m);
    else if (const auto* b = dynamic_cast<const TfrBandView*>(&view)) saveBand(w, *b);
    else if (const auto* p = dynamic_cast<const TfrPictureView*>(&view)) savePicture(w, *p);
    else if (const auto* s = dynamic_cast<const TfrSubReportView*>(&view)) w.out.i32(s->SubPageIndex);
}

void LoadObjectRecord(TemplateReader& r, TfrView& view)
{
    loadCommon(r, view);
    if (auto* m = dynamic_cast<TfrMemoView*>(&view)) loadMemo(r, *m);
    else if (auto* b = dynamic_cast<TfrBandView*>(&view)) loadBand(r, *b);
    else if (auto* p = dynamic_cast<TfrPictureView*>(&view)) loadPicture(r, *p);
    else if (auto* s = dynamic_cast<TfrSubReportView*>(&view)) s->SubPageIndex = r.in.i32();
}

// ---------------------------------------------------------------- pages

void SavePageRecord(TemplateWriter& w, const TfrPage& p)
{
    BinaryWriter& o = w.out;
    o.i32(-1);
    o.i32(p.Paper.size);
    o.i32(p.Paper.width);
    o.i32(p.Paper.height);
    o.i32(p.Margins.Left);
    o.i32(p.Margins.Top);
    o.i32(p.Margins.Right);
    o.i32(p.Margins.Bottom);
    o.u8(static_cast<std::uint8_t>(p.Paper.orientation));
    o.i32(p.Paper.bin);
    o.bool16(p.PrintToPrevPage);
    o.bool16(p.MarginsInUse);
    o.i32(p.Columns);
    o.i32(p.ColumnGap);
    o.u8(p.Type);
    w.WriteString(p.Name, "page name");
    o.u8(p.BorderStyle);
    w.WriteString(p.Caption, "caption of " + p.Name);
    o.u32(p.WindowColor);
    o.i32(p.Left);
    o.i32(p.Top);
    o.i32(p.Width);
    o.i32(p.Height);
    o.u8(p.Position);
    w.WriteStringList(p.ScriptLines, "script of " + p.Name);
}

void LoadPageRecord(TemplateReader& r, TfrPage& p)
{
    BinaryReader& in = r.in;
    PaperRequest paper;
    const std::int32_t first = in.i32();
    const bool withScript = first == -1;
    paper.Size = withScript ? in.i32() : first;
    paper.Width = in.i32();
    paper.Height = in.i32();
    p.Margins.Left = in.i32();
    p.Margins.Top = in.i32();
    p.Margins.Right = in.i32();
    p.Margins.Bottom = in.i32();
    paper.Orientation = in.u8();
    if (r.version < 23) in.bytes(6);
    paper.Bin = kDefaultBin;
    if (r.version > 23) paper.Bin = in.i32();
    p.PrintToPrevPage = in.bool16();
    p.MarginsInUse = in.bool16();
    p.Columns = in.i32();
    p.ColumnGap = in.i32();
    if (r.version >= 24) {
        p.Type = in.u8();
        p.Name = r.ReadString();
        const std::uint8_t border = in.u8();
        p.BorderStyle = border == 0 ? 3 : border == 1 ? 2 : border;
        p.Caption = r.ReadString();
        p.WindowColor = in.u32();
        p.Left = in.i32();
        p.Top = in.i32();
        p.Width = in.i32();
        p.Height = in.i32();
        p.Position = in.u8() != 0 ? 4 : 0;
        if (withScript) p.ScriptLines = r.ReadStringList();
    }
    // The printer may give the page another paper than the one stored.
    p.ApplyPaper(paper);
}

// ---------------------------------------------------------------- dictionary

namespace {

void saveList(TemplateWriter& w, const TfrVariables& list, std::string_view what)
{
    w.out.i32(list.Count());
    for (int i = 0; i < list.Count(); ++i) {
        w.WriteString(list.NameAt(i), what);
        w.WriteString(list.ValueAt(i).toText(), what);
    }
}

void loadList(TemplateReader& r, TfrVariables& list)
{
    const std::int32_t count = r.in.i32();
    for (std::int32_t i = 0; i < count; ++i) {
        std::string name = r.ReadString();
        list.SetVariable(name, Value(r.ReadString()));
    }
}

std::string shortString(BinaryReader& in) { return std::string(in.bytes(in.u8())); }

// The dictionary of the oldest layout: variables whose values are kept in an
// entry table.
void loadOldDictionary(TemplateReader& r, TfrDataDictionary& d)
{
    static constexpr const char* kSystemNames[] = {"PAGE#", "", "DATE", "TIME", "LINE#",
                                                   "LINETHROUGH#", "COLUMN#", "CURRENT#", "TOTALPAGES"};
    BinaryReader& in = r.in;
    const std::int32_t count = in.i32();
    for (std::int32_t i = 0; i < count; ++i) {
        const std::uint8_t entryKind = in.u8();
        const std::int32_t code = in.i32();
        const std::string s1 = shortString(in);
        const std::string s2 = shortString(in);
        const std::string s3 = shortString(in);
        std::string value;
        if (entryKind == 2) value = code == 1 ? s2 : code >= 0 && code <= 8 ? kSystemNames[code] : "";
        else if (entryKind == 1) value = s1 + ".\"" + s2 + "\"";
        d.AliasList.SetVariable(" " + s3, Value(value));
    }
    for (const std::string& line : r.ReadStringList()) {
        if (line.empty() || line[0] == ' ') {
            const Value* stored = d.AliasList.Find(line);
            d.VarList.SetVariable(line, Value(stored ? stored->toText() : std::string()));
        }
        else d.VarList.SetVariable(line, Value(std::string()));
    }
    d.AliasList.Clear();
}

} // namespace

void SaveDictionary(TemplateWriter& w, const TfrDataDictionary& d)
{
    w.out.i16(-2);
    saveList(w, d.VarList, "dictionary variable");
    saveList(w, d.AliasList, "dictionary alias");
    saveList(w, d.SourceAliasList, "data source alias");
}

void LoadDictionary(TemplateReader& r, TfrDataDictionary& d, const DictionaryHost& host)
{
    d.Clear();
    const std::int16_t marker = r.in.i16();
    if (marker == -1 || marker == -2) {
        loadList(r, d.VarList);
        loadList(r, d.AliasList);
        loadList(r, d.SourceAliasList);
    } else {
        r.in.seek(r.in.position() - 2);
        loadOldDictionary(r, d);
    }
    d.ConvertAfterLoad(marker == -1, host);
}

} // namespace pemvora::report
