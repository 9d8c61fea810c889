#pragma once
// TfrObject: the root of every report object and page. It carries the list of
// registered properties (what the designer's inspector shows) and the
// by-name operations through which expressions, scripts and the inspector
// read and change an object.

#include "platform/value/value.h"
#include "report/model/types.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pemvora::report {

// Type bits of a registered property.
namespace prop {
inline constexpr std::uint16_t Text = 0x01;
inline constexpr std::uint16_t Integer = 0x02;
inline constexpr std::uint16_t Float = 0x04;
inline constexpr std::uint16_t Boolean = 0x08;
inline constexpr std::uint16_t Color = 0x10;
inline constexpr std::uint16_t Enumeration = 0x20;
inline constexpr std::uint16_t HasEditor = 0x40;
// A length in design pixels, shown in the designer's current unit.
inline constexpr std::uint16_t Length = 0x80;
// Shown only while exactly one object is selected.
inline constexpr std::uint16_t SingleSelection = 0x100;
} // namespace prop

// A registered name is cut to this many bytes (at a character boundary).
inline constexpr std::size_t kMaxPropertyNameBytes = 32;

// The designer's editor for a property. The model only says which editor a
// property has; the designer maps each to its dialog.
enum class PropertyEditor {
    None,
    Memo,
    Script,
    Tag,
    Font,
    DisplayFormat,
    Highlight,
    Picture,
    Restrictions,
    DataField,
    DataSource,
    CrossDataSource,
};

class TfrObject;

struct TfrPropRec {
    std::string Name;
    std::uint16_t TypeBits = 0;
    // Enumerations: display names, and the value stored for each (no values:
    // the inspector stores the chosen name itself).
    StringList EnumNames;
    std::vector<Value> EnumValues;
    PropertyEditor Editor = PropertyEditor::None;
    TfrObject* EditorOwner = nullptr;
};

class TfrObject {
public:
    TfrObject() = default;
    virtual ~TfrObject() = default;
    TfrObject(const TfrObject&) = delete;
    TfrObject& operator=(const TfrObject&) = delete;

    // By-name access. Names compare without regard to case. An unknown name is
    // ignored by SetProperty and gives Null from GetProperty and CallMethod.
    // A value of the wrong kind raises ConversionError.
    virtual void SetProperty(std::string_view name, const Value& value);
    virtual Value GetProperty(std::string_view name);
    virtual Value CallMethod(std::string_view name, const Value& arg1, const Value& arg2, const Value& arg3);
    // Rebuilds the property list from scratch (it may depend on the object's state).
    virtual void RegisterProperties();

    const std::vector<TfrPropRec>& Properties() const { return properties_; }
    // Registers the properties when the list is still empty (lists are built on demand).
    void EnsureProperties();

    void AddProperty(std::string_view name, std::uint16_t typeBits,
                     PropertyEditor editor = PropertyEditor::None, TfrObject* editorOwner = nullptr);
    // Enumeration with the values 0..lastIndex.
    void AddEnumProperty(std::string_view name, std::string_view namesText, int lastIndex);
    // Enumeration with the given values; a first value of Null keeps no values.
    void AddEnumProperty(std::string_view name, std::string_view namesText, std::vector<Value> values);
    TfrPropRec* FindProperty(std::string_view name);
    void ClearProperties() { properties_.clear(); }

private:
    std::vector<TfrPropRec> properties_;
};

// Upper-cases a property or method name the way the by-name operations compare it.
std::string upperName(std::string_view name);

// Value conversions used by the by-name setters.
std::int32_t toInt32Value(const Value& v);
std::uint16_t toWord(const Value& v);
std::uint8_t toByte(const Value& v);
Color toColor(const Value& v);
inline Value colorValue(Color c) { return Value(static_cast<long long>(c)); }

} // namespace pemvora::report
