#include "report/model/memo.h"

#include <array>
#include <utility>

namespace pemvora::report {

int canvasFontStyle(int stored)
{
    int style = 0;
    if (stored & fontstyle::Italic) style |= kFontItalic;
    if (stored & fontstyle::Bold) style |= kFontBold;
    if (stored & fontstyle::Underline) style |= kFontUnderline;
    if (stored & fontstyle::StrikeOut) style |= kFontStrikeOut;
    return style;
}

bool SetFontProperty(TfrFont& font, std::string_view name, const Value& value)
{
    const std::string n = upperName(name);
    if (n == "FONT.NAME") font.Name = value.toText();
    else if (n == "FONT.SIZE") font.Size = toInt32Value(value);
    else if (n == "FONT.STYLE") font.Style = toInt32Value(value);
    else if (n == "FONT.COLOR") font.FontColor = toColor(value);
    else return false;
    return true;
}

Value GetFontProperty(const TfrFont& font, std::string_view name)
{
    const std::string n = upperName(name);
    if (n == "FONT.NAME") return font.Name;
    if (n == "FONT.SIZE") return font.Size;
    if (n == "FONT.STYLE") return font.Style;
    if (n == "FONT.COLOR") return colorValue(font.FontColor);
    return Value::null();
}

namespace {

// The flag properties of a text object, by name.
constexpr std::array<std::pair<const char*, std::uint16_t>, 9> kTextFlags{{
    {"STRETCHED", flag::Stretched},
    {"WORDWRAP", flag::WordWrap},
    {"WORDBREAK", flag::WordBreak},
    {"AUTOWIDTH", flag::AutoWidth},
    {"TEXTONLY", flag::TextOnly},
    {"SUPPRESS", flag::Suppress},
    {"HIDEZEROS", flag::HideZeros},
    {"UNDERLINES", flag::Underlines},
    {"RTLREADING", flag::RTLReading},
}};

} // namespace

TfrMemoView::TfrMemoView()
{
    ObjectKind = kind::Memo;
    NamePrefix = "Memo";
    Flags = flag::Stretched | flag::WordWrap;
}

void TfrMemoView::setFlag(std::uint16_t bit, bool on)
{
    if (on) Flags |= bit;
    else Flags &= static_cast<std::uint16_t>(~bit);
}

void TfrMemoView::RegisterProperties()
{
    TfrView::RegisterProperties();
    AddProperty("Font.Name", 0);
    AddProperty("Font.Size", 0);
    AddProperty("Font.Style", 0);
    AddProperty("Font.Color", 0);
    AddProperty("Font", prop::HasEditor, PropertyEditor::Font, this);
    AddProperty("Alignment", 0);
    AddProperty("DisplayFormat", prop::HasEditor, PropertyEditor::DisplayFormat, this);
    AddProperty("Highlight", prop::HasEditor, PropertyEditor::Highlight, this);
    AddProperty("LineSpacing", prop::Integer);
    AddProperty("CharSpacing", prop::Integer);
    AddProperty("GapX", prop::Integer);
    AddProperty("GapY", prop::Integer);
    for (const char* name : {"Stretched", "WordWrap", "WordBreak", "AutoWidth", "TextOnly", "Suppress", "HideZeros"})
        AddProperty(name, prop::Boolean);
    AddProperty("Lines.Count", 0);
    AddProperty("Underlines", prop::Boolean);
    AddProperty("RTLReading", prop::Boolean);
}

void TfrMemoView::SetProperty(std::string_view name, const Value& value)
{
    TfrView::SetProperty(name, value);
    if (SetFontProperty(Font, name, value)) return;
    const std::string n = upperName(name);
    if (n == "ALIGNMENT") Alignment = static_cast<std::uint32_t>(value.toInteger());
    else if (n == "LINESPACING") LineSpacing = toInt32Value(value);
    else if (n == "CHARSPACING") CharSpacing = toInt32Value(value);
    else if (n != "STRETCHED") {   // the view has set the Stretched bit already
        for (const auto& [flagName, bit] : kTextFlags)
            if (n == flagName) setFlag(bit, value.toBoolean());
    }
}

Value TfrMemoView::GetProperty(std::string_view name)
{
    Value v = TfrView::GetProperty(name);
    if (!v.isNull()) return v;
    v = GetFontProperty(Font, name);
    if (!v.isNull()) return v;
    const std::string n = upperName(name);
    if (n == "ALIGNMENT") return static_cast<long long>(Alignment);
    if (n == "LINESPACING") return LineSpacing;
    if (n == "CHARSPACING") return CharSpacing;
    if (n == "LINES.COUNT") return static_cast<long long>(Memo.size());
    for (const auto& [flagName, bit] : kTextFlags)
        if (n == flagName) return (Flags & bit) != 0;
    return Value::null();
}

Value TfrMemoView::CallMethod(std::string_view name, const Value& arg1, const Value& arg2, const Value& arg3)
{
    bool handled = false;
    Value result = ListMethod(Memo, "LINES", name, arg1, arg2, arg3, handled);
    if (handled) return result;
    return TfrStretcheable::CallMethod(name, arg1, arg2, arg3);
}

void TfrMemoView::CopyRecordFrom(const TfrView& other)
{
    const auto* memo = dynamic_cast<const TfrMemoView*>(&other);
    if (!memo) return;
    Font = memo->Font;
    Alignment = memo->Alignment;
    Highlight = memo->Highlight;
    HighlightCondition = memo->HighlightCondition;
    LineSpacing = memo->LineSpacing;
    CharSpacing = memo->CharSpacing;
}

} // namespace pemvora::report
