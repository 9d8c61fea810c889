#pragma once
// TfrMemoView: the text object. This is its data and its properties by name;
// expansion, wrapping, measuring and drawing build on it.

#include "report/model/view.h"

#include <cstdint>
#include <string>

namespace pemvora::report {

// Font style bits in the stored encoding.
namespace fontstyle {
inline constexpr int Italic = 1;
inline constexpr int Bold = 2;
inline constexpr int Underline = 4;
inline constexpr int StrikeOut = 8;
} // namespace fontstyle

// The stored style bits as the drawing layer's FontStyleBits.
int canvasFontStyle(int storedStyle);

// The engine's default character set.
inline constexpr int kEngineDefaultCharset = 1;

struct TfrFont {
    std::string Name = "Arial";     // GBK
    int Size = 10;                  // points
    int Style = 0;                  // stored encoding (fontstyle)
    Color FontColor = kBlack;
    int Charset = kEngineDefaultCharset;
    friend bool operator==(const TfrFont&, const TfrFont&) = default;
};

// FONT.NAME, FONT.SIZE, FONT.STYLE and FONT.COLOR (name compared ignoring
// case). SetFontProperty returns whether it knew the name; GetFontProperty
// gives Null for any other name.
bool SetFontProperty(TfrFont& font, std::string_view name, const Value& value);
Value GetFontProperty(const TfrFont& font, std::string_view name);

struct TfrHighlight {
    int FontStyle = fontstyle::Bold;  // stored encoding
    Color FontColor = kBlack;
    Color FillColor = kWhite;
    friend bool operator==(const TfrHighlight&, const TfrHighlight&) = default;
};

// The alignment word of a text object.
namespace textalign {
inline constexpr std::uint32_t HorizontalMask = 0x03;   // 0 left, 1 right, 2 centre, 3 justify
inline constexpr std::uint32_t Left = 0;
inline constexpr std::uint32_t Right = 1;
inline constexpr std::uint32_t Center = 2;
inline constexpr std::uint32_t Justify = 3;
inline constexpr std::uint32_t Rotated = 0x04;          // turned by 90 degrees
inline constexpr std::uint32_t VerticalMask = 0x18;     // 0 top, 8 centre, 16 bottom (24 = top)
inline constexpr std::uint32_t Middle = 0x08;
inline constexpr std::uint32_t Bottom = 0x10;
} // namespace textalign

// The byte that ends the last working line of a paragraph (never drawn).
inline constexpr char kEndOfParagraph = '\x01';

class TfrMemoView : public TfrStretcheable {
public:
    TfrMemoView();
    std::string_view ClassName() const override { return "TfrMemoView"; }

    void SetProperty(std::string_view name, const Value& value) override;
    Value GetProperty(std::string_view name) override;
    Value CallMethod(std::string_view name, const Value& arg1, const Value& arg2, const Value& arg3) override;
    void RegisterProperties() override;

    // Lays the text out at design resolution and draws it, with fill, frame
    // and underlines, on `canvas` (the same layout for screen and printer).
    void Paint(Canvas& canvas) override;
    // Expands, highlights and writes the object with its working lines (already
    // broken into lines when CalcHeight measured it; only the part that fits
    // when PaintPhase is 2).
    void Print(BinaryWriter& stream) override;
    void LoadFromBlobField(const IDataSet& data, int field) override;
    // The height of the expanded, broken text with its gaps (0 when invisible,
    // empty or suppressed); leaves the broken lines in WorkLines for Print.
    int CalcHeight() override;
    int MinHeight() override;
    int RemainHeight() override;

    // WorkLines := Memo with every bracket expanded (TextOnly: as written).
    void ExpandText();
    // WorkLines broken into the lines that fit the object, measured at design
    // resolution on the scratch canvas; sets TextHeight and LineStep. Works in
    // the current (device) geometry.
    StringList WrapText();
    // Draws WorkLines on `canvas` in the current device geometry; counts the
    // lines drawn in LineIndex.
    void DrawLines();
    // The font text is drawn with on `target` at the current device scale.
    report::Font DeviceFont(const Canvas& target) const;
    // Em height of the font at 96 pixels per inch (10 pt: 13).
    int FontPixelHeight() const;

    TfrFont Font;
    std::string LastPrintedText;
    bool PreWrapped = false;
    std::int32_t TextHeight = 0;
    bool ClipToBottom = false;
    std::int32_t LineStep = 0;
    std::int32_t LineIndex = 0;
    bool ExportMode = false;
    std::uint32_t Alignment = 0;
    TfrHighlight Highlight;
    std::string HighlightCondition;
    std::int32_t LineSpacing = 2;
    std::int32_t CharSpacing = 0;

protected:
    void CopyRecordFrom(const TfrView& other) override;

private:
    void setFlag(std::uint16_t bit, bool on);
    // One working line broken at the available length `max`, appended to `out`.
    void wrapLine(Canvas& measure, std::string_view s, int max, StringList& out) const;
    // The highlight condition holds: font and fill take the highlight's.
    void applyHighlight();
    void drawUnderlines();
    void drawHorizontalLines(const Rect& clip, int step);
    void drawRotatedLines(const Rect& clip, int step);
    int autoWidth(Canvas& target) const;
};

// Joins working lines into one text the way Suppress compares them.
std::string workText(const StringList& lines);

} // namespace pemvora::report
