#include "report/model/view.h"

#include "platform/text/gbk.h"
#include "platform/value/locale.h"
#include "report/model/engine_context.h"

#include <fmt/format.h>

#include <stdexcept>

namespace pemvora::report {

std::uint32_t defaultDisplayFormat()
{
    return static_cast<unsigned char>(defaultLocale().decimalSeparator) + 0x200u;
}

bool regionContains(const HitRegion& region, Point p)
{
    for (const Rect& r : region)
        if (r.contains(p)) return true;
    return false;
}

TfrView::TfrView() : Id(engine().NextId++), DisplayFormat(defaultDisplayFormat()) {}

TfrView::~TfrView()
{
    EngineContext& e = engine();
    if (e.CurrentView == this) e.CurrentView = nullptr;
    std::erase(e.NotifyList, this);
}

void TfrView::NotifyView(TfrView&) {}

void TfrView::AfterReportLoaded() {}

void TfrView::PlaceAt(int left, int top, int width, int height)
{
    Left = left;
    Top = top;
    Width = width;
    Height = height;
}

// ---------------------------------------------------------------- properties

void TfrView::RegisterProperties()
{
    ClearProperties();
    AddProperty("Name", prop::Text | prop::SingleSelection);
    AddProperty("Left", prop::Length);
    AddProperty("Top", prop::Length);
    AddProperty("Width", prop::Length);
    AddProperty("Height", prop::Length);
    AddProperty("Flags", 0);
    if (RegistersFrameProperties()) {
        AddProperty("FrameTyp", prop::Integer);
        AddProperty("FrameWidth", prop::Length | prop::Float);
        AddProperty("FrameColor", prop::Color);
        AddEnumProperty("FrameStyle", "psSolid;psDash;psDot;psDashDot;psDashDotDot;psDouble", 5);
        AddProperty("FillColor", prop::Color);
        AddProperty("Tag", prop::HasEditor | prop::SingleSelection, PropertyEditor::Tag, this);
        AddEnumProperty("BandAlign", "baNone;baLeft;baRight;baCenter;baWidth;baBottom;baTop;baRest", 7);
    }
    AddProperty("Visible", prop::Boolean);
    AddProperty("Memo", prop::HasEditor | prop::SingleSelection, PropertyEditor::Memo, this);
    AddProperty("Memo.Count", 0);
    AddProperty("Restrictions", prop::HasEditor, PropertyEditor::Restrictions, this);
}

void TfrView::SetProperty(std::string_view name, const Value& value)
{
    const std::string n = upperName(name);
    if (n == "NAME") Name = value.toText();
    else if (n == "LEFT") Left = toInt32Value(value);
    else if (n == "TOP") Top = toInt32Value(value);
    else if (n == "WIDTH") Width = toInt32Value(value);
    else if (n == "HEIGHT") Height = toInt32Value(value);
    else if (n == "FLAGS") Flags = toWord(value);
    else if (n == "FRAMETYP") FrameTyp = toWord(value);
    else if (n == "FRAMEWIDTH") FrameWidth = static_cast<float>(value.toNumber());
    else if (n == "FRAMECOLOR") FrameColor = toColor(value);
    else if (n == "FRAMESTYLE") FrameStyle = toWord(value);
    else if (n == "FILLCOLOR") FillColor = toColor(value);
    else if (n == "TAG") Tag = value.toText();
    else if (n == "BANDALIGN") BandAlign = toByte(value);
    else if (n == "VISIBLE") Visible = value.toBoolean();
    else if (n == "MEMO") Memo = splitLines(value.toText());
    else if (n == "GAPX") GapX = toInt32Value(value);
    else if (n == "GAPY") GapY = toInt32Value(value);
    else if (n == "STRETCHED") {
        if (value.toBoolean()) Flags |= flag::Stretched;
        else Flags &= static_cast<std::uint16_t>(~flag::Stretched);
    } else if (n == "DATAFIELD") Memo = splitLines(value.toText());
}

Value TfrView::GetProperty(std::string_view name)
{
    const std::string n = upperName(name);
    if (n == "NAME") return Name;
    if (n == "LEFT") return Left;
    if (n == "TOP") return Top;
    if (n == "WIDTH") return Width;
    if (n == "HEIGHT") return Height;
    if (n == "FLAGS") return int(Flags);
    if (n == "FRAMETYP") return int(FrameTyp);
    if (n == "FRAMEWIDTH") return double(FrameWidth);
    if (n == "FRAMECOLOR") return colorValue(FrameColor);
    if (n == "FRAMESTYLE") return int(FrameStyle);
    if (n == "FILLCOLOR") return colorValue(FillColor);
    if (n == "TAG") return Tag;
    if (n == "BANDALIGN") return int(BandAlign);
    if (n == "VISIBLE") return Visible;
    if (n == "MEMO") return joinLines(Memo);
    if (n == "MEMO.COUNT") return static_cast<long long>(Memo.size());
    if (n == "GAPX") return GapX;
    if (n == "GAPY") return GapY;
    if (n == "STRETCHED") return IsStretched();
    if (n == "DATAFIELD") return Memo.empty() ? std::string() : Memo.front();
    return Value::null();
}

// ---------------------------------------------------------------- methods

namespace {

Value evaluate(const Value& expression)
{
    ExpressionEvaluator* evaluator = engine().Evaluator;
    if (!evaluator) throw NoEvaluator();
    return evaluator->Evaluate(expression.toText());
}

std::size_t lineIndex(const StringList& list, const Value& index)
{
    const std::int64_t i = index.toInteger();
    if (i < 0 || static_cast<std::uint64_t>(i) >= list.size())
        throw std::out_of_range(fmt::format("List index out of bounds ({})", i));
    return static_cast<std::size_t>(i);
}

} // namespace

Value TfrView::ListMethod(StringList& list, std::string_view listName, std::string_view upper,
                          const Value& arg1, const Value& arg2, const Value& arg3, bool& handled)
{
    handled = true;
    if (upper == "SETINDEXPROPERTY") {
        if (text::equalsNoCase(arg1.toText(), listName)) list[lineIndex(list, arg2)] = arg3.toText();
        else handled = false;
        return Value::null();
    }
    if (upper == "GETINDEXPROPERTY") {
        if (text::equalsNoCase(arg1.toText(), listName)) return list[lineIndex(list, arg2)];
        handled = false;
        return Value::null();
    }
    if (upper.size() > listName.size() + 1 && upper.substr(0, listName.size()) == listName
        && upper[listName.size()] == '.') {
        const std::string_view method = upper.substr(listName.size() + 1);
        if (method == "ADD") {
            list.push_back(evaluate(arg1).toText());
            return Value::null();
        }
        if (method == "CLEAR") {
            list.clear();
            return Value::null();
        }
        if (method == "DELETE") {
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(lineIndex(list, evaluate(arg1))));
            return Value::null();
        }
        if (method == "INDEXOF") {
            const std::string wanted = evaluate(arg1).toText();
            for (std::size_t i = 0; i < list.size(); ++i)
                if (list[i] == wanted) return static_cast<long long>(i);
            return -1;
        }
    }
    handled = false;
    return Value::null();
}

Value TfrView::CallMethod(std::string_view name, const Value& arg1, const Value& arg2, const Value& arg3)
{
    bool handled = false;
    Value result = ListMethod(Memo, "MEMO", name, arg1, arg2, arg3, handled);
    if (handled) return result;
    if (name == "HIDE") SetProperty("Visible", false);
    else if (name == "SHOW") SetProperty("Visible", true);
    return Value::null();
}

// ---------------------------------------------------------------- copying

void TfrView::CopyFrom(const TfrView& other)
{
    if (&other == this) return;
    Name = other.Name;
    ObjectKind = other.ObjectKind;
    Selected = other.Selected;

    // The common record.
    RecordVersionMajor = 2;
    RecordVersionMinor = other.ObjectKind == kind::Band ? 1 : 0;
    Left = other.Left;
    Top = other.Top;
    Width = other.Width;
    Height = other.Height;
    Flags = other.Flags;
    FrameTyp = other.FrameTyp;
    FrameWidth = other.FrameWidth;
    FrameWidthAsRead = other.FrameWidthAsRead;
    FrameColor = other.FrameColor;
    FrameStyle = other.FrameStyle;
    FillColor = other.FillColor;
    DisplayFormat = other.DisplayFormat;
    DisplayFormatText = other.DisplayFormatText;
    Memo = other.Memo;
    ScriptLines = other.ScriptLines;
    Visible = other.Visible;
    Restrictions = other.Restrictions;
    Tag = other.Tag;
    GapX = other.GapX;
    GapY = other.GapY;
    BandAlign = other.BandAlign;

    CopyRecordFrom(other);
    // The registered set may depend on the copied state (a band's kind).
    ClearProperties();
}

void TfrView::CopyRecordFrom(const TfrView&) {}

// ---------------------------------------------------------------- TfrControl

TfrControl::TfrControl()
{
    ObjectKind = kind::PlugIn;
    FillColor = kBtnFace;
    FrameTyp = 0;
}

void TfrControl::RegisterProperties()
{
    ClearProperties();
    AddProperty("Name", prop::Text | prop::SingleSelection);
    AddProperty("Left", prop::Length);
    AddProperty("Top", prop::Length);
    AddProperty("Width", prop::Length);
    AddProperty("Height", prop::Length);
    AddProperty("Visible", prop::Boolean);
    AddProperty("Restrictions", prop::HasEditor, PropertyEditor::Restrictions, this);
}

void TfrControl::SetProperty(std::string_view name, const Value& value)
{
    TfrView::SetProperty(name, value);
    if (Control && upperName(name) == "VISIBLE") Control->SetVisible(Visible);
}

} // namespace pemvora::report
