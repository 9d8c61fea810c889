#include "report/model/object.h"

#include "platform/text/gbk.h"

namespace pemvora::report {

namespace {

// Cuts to at most kMaxPropertyNameBytes without splitting a two-byte character.
std::string cutName(std::string_view name)
{
    std::size_t end = 0;
    while (end < name.size()) {
        const std::size_t next = text::nextChar(name, end);
        if (next > kMaxPropertyNameBytes) break;
        end = next;
    }
    return std::string(name.substr(0, end));
}

StringList splitNames(std::string_view text)
{
    StringList names;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size();) {
        if (i == text.size() || text[i] == ';') {
            names.emplace_back(text.substr(start, i - start));
            start = i + 1;
            if (i == text.size()) break;
            ++i;
        } else {
            i = text::nextChar(text, i);
        }
    }
    return names;
}

} // namespace

void TfrObject::SetProperty(std::string_view, const Value&) {}

Value TfrObject::GetProperty(std::string_view) { return Value::null(); }

Value TfrObject::CallMethod(std::string_view, const Value&, const Value&, const Value&) { return Value::null(); }

void TfrObject::RegisterProperties() { ClearProperties(); }

void TfrObject::EnsureProperties()
{
    if (properties_.empty()) RegisterProperties();
}

void TfrObject::AddProperty(std::string_view name, std::uint16_t typeBits, PropertyEditor editor,
                            TfrObject* editorOwner)
{
    TfrPropRec rec;
    rec.Name = cutName(name);
    rec.TypeBits = typeBits;
    rec.Editor = editor;
    rec.EditorOwner = editorOwner;
    properties_.push_back(std::move(rec));
}

void TfrObject::AddEnumProperty(std::string_view name, std::string_view namesText, int lastIndex)
{
    std::vector<Value> values;
    for (int i = 0; i <= lastIndex; ++i) values.emplace_back(i);
    AddEnumProperty(name, namesText, std::move(values));
}

void TfrObject::AddEnumProperty(std::string_view name, std::string_view namesText, std::vector<Value> values)
{
    TfrPropRec rec;
    rec.Name = cutName(name);
    rec.TypeBits = prop::Enumeration;
    rec.EnumNames = splitNames(namesText);
    if (!values.empty() && !values.front().isNull()) rec.EnumValues = std::move(values);
    properties_.push_back(std::move(rec));
}

TfrPropRec* TfrObject::FindProperty(std::string_view name)
{
    for (TfrPropRec& rec : properties_)
        if (text::equalsNoCase(rec.Name, name)) return &rec;
    return nullptr;
}

std::string upperName(std::string_view name) { return text::toUpper(name); }

std::int32_t toInt32Value(const Value& v) { return v.toInt32(); }

std::uint16_t toWord(const Value& v) { return static_cast<std::uint16_t>(v.toInteger()); }

std::uint8_t toByte(const Value& v) { return static_cast<std::uint8_t>(v.toInteger()); }

Color toColor(const Value& v) { return static_cast<Color>(v.toInteger()); }

} // namespace pemvora::report
