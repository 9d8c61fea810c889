// The text object during a run: expanding its lines, the highlight, the
// heights the band engine asks for, and writing it into a prepared page.

#include "report/model/band_runtime.h"
#include "report/model/engine_context.h"
#include "report/model/memo.h"

#include "platform/value/numbertext.h"
#include "report/data/dataset.h"

#include <algorithm>

namespace pemvora::report {

namespace {

int roundi(double x) { return static_cast<int>(roundHalfEven(x)); }

// Whether a condition's value compares unequal to the integer 0. Raises for a
// value that is no number (a text that does not read as one).
bool differsFromZero(const Value& v)
{
    switch (v.kind()) {
    case ValueKind::Boolean: return v.boolean();
    case ValueKind::Integer: return v.integer() != 0;
    case ValueKind::Double: return v.dbl() != 0.0;
    case ValueKind::String: return v.toNumber() != 0.0;
    case ValueKind::DateTime: return v.toNumber() != 0.0;
    default: return false;   // empty and Null compare equal to nothing
    }
}

// The object's own font and fill colour, put back however the print ends.
class KeepFontAndFill {
public:
    explicit KeepFontAndFill(TfrMemoView& m) : m_(m), font_(m.Font), fill_(m.FillColor) {}
    ~KeepFontAndFill()
    {
        m_.Font = font_;
        m_.FillColor = fill_;
    }
    KeepFontAndFill(const KeepFontAndFill&) = delete;
    KeepFontAndFill& operator=(const KeepFontAndFill&) = delete;

private:
    TfrMemoView& m_;
    TfrFont font_;
    Color fill_;
};

} // namespace

void TfrMemoView::ExpandText()
{
    EngineContext& e = engine();
    e.CurrentView = this;
    WorkLines.clear();
    for (const std::string& line : Memo) {
        std::string expanded = line;
        if (!line.empty() && !(Flags & flag::TextOnly)) {
            if (!e.Evaluator) throw NoEvaluator();
            expanded = e.Evaluator->ExpandLine(line);
        }
        if (expanded.empty()) {
            WorkLines.emplace_back();
            continue;
        }
        // A value with line breaks gives several lines.
        for (std::string& part : splitLines(expanded)) WorkLines.push_back(std::move(part));
    }
}

void TfrMemoView::applyHighlight()
{
    if (HighlightCondition.empty()) return;
    ExpressionEvaluator* evaluator = engine().Evaluator;
    if (!evaluator) return;
    bool on = false;
    try {
        on = differsFromZero(evaluator->Evaluate(HighlightCondition));
    } catch (const std::exception&) {
        return;   // a condition that fails leaves the object as it is
    }
    if (!on) return;
    Font.Style = Highlight.FontStyle;
    Font.FontColor = Highlight.FontColor;
    FillColor = Highlight.FillColor;
}

void TfrMemoView::LoadFromBlobField(const IDataSet& data, int field)
{
    const Value v = data.fieldValue(field);
    WorkLines = v.isEmptyOrNull() ? StringList{} : splitLines(v.toText());
}

int TfrMemoView::CalcHeight()
{
    EngineContext& e = engine();
    PaintPhase = 1;
    ApplyBandAlign(&scratchCanvas());
    RunScript();
    if (!Visible) return 0;

    KeepFontAndFill keep(*this);
    BeforePrint();
    if (WorkLines == Memo) ExpandText();
    applyHighlight();

    DeviceGeometry device(*this);
    if (WorkLines.empty()) return 0;
    WorkLines = WrapText();
    const std::string text = workText(WorkLines);
    int height = TextHeight;
    if (Flags & flag::Suppress) {
        if (text == LastPrintedText) height = 0;
        if (e.MeasuringPass) LastPrintedText = text;
    }
    return height;
}

int TfrMemoView::MinHeight()
{
    LineStep = LineSpacing + FontPixelHeight();
    return roundi(2 * FrameWidth) + LineSpacing + 2 * GapY + FontPixelHeight();
}

int TfrMemoView::RemainHeight()
{
    // A line spacing below minus the font height would make no step at all.
    const int step = std::max(1, LineSpacing + FontPixelHeight());
    LineStep = step;
    const int frame = roundi(2 * FrameWidth);
    return 2 * GapY + (Height - frame - 2 * GapY) % step + frame;
}

void TfrMemoView::Print(BinaryWriter& stream)
{
    EngineContext& e = engine();
    struct EndOfPrint {
        TfrMemoView& m;
        ~EndOfPrint() { m.PaintPhase = 0; }
    } endOfPrint{*this};

    ApplyBandAlign(&scratchCanvas());
    ClipToBottom = true;
    if (PaintPhase == 0) {
        RunScript();
        BeforePrint();
        if (WorkLines == Memo) ExpandText();
    }
    if (!Visible) return;

    KeepFontAndFill keep(*this);
    struct KeepTagAndAlign {
        TfrMemoView& m;
        std::string tag;
        std::uint8_t bandAlign;
        ~KeepTagAndAlign() { m.Tag = std::move(tag); m.BandAlign = bandAlign; }
    } keepTag{*this, Tag, BandAlign};
    applyHighlight();

    // The part of a split object that fits: the lines DrawLines gets onto the
    // object's (reduced) height.
    StringList whole;
    const bool split = PaintPhase == 2;
    if (split) {
        canvas = &scratchCanvas();
        {
            DeviceGeometry device(*this);
            DrawLines();
        }
        whole = WorkLines;
        WorkLines.resize(std::min<std::size_t>(static_cast<std::size_t>(std::max(LineIndex, 0)), whole.size()));
        if (workText(WorkLines).find(kEndOfParagraph) == std::string::npos)
            WorkLines.emplace_back(1, kEndOfParagraph);   // drawn as it is, not broken again
    }

    const std::uint32_t format = DisplayFormat;
    DisplayFormat = 0;   // Tag values appear as plain text
    try {
        Tag = ExpandedTag();
    } catch (...) {
        DisplayFormat = format;
        throw;
    }
    DisplayFormat = format;

    const TfrBandRuntime* band = e.CurrentBand;
    if (BandAlign == bandalign::Bottom) {
        BandAlign = bandalign::None;   // the band engine places bottom-aligned objects itself
    } else if (BandAlign == bandalign::Top && band) {
        Top = band->Top;
    } else if (BandAlign == bandalign::Width && band && bandkind::isCross(band->Typ)) {
        Width = band->Width;
        BandAlign = bandalign::None;
    }

    const std::string text = workText(WorkLines);
    if (!((Flags & flag::Suppress) && text == LastPrintedText)) {
        WriteRecord(stream);
        if (Flags & flag::Suppress) LastPrintedText = text;
    }
    if (split) {
        const auto done = static_cast<std::ptrdiff_t>(std::min<std::size_t>(static_cast<std::size_t>(std::max(LineIndex, 0)), whole.size()));
        WorkLines.assign(whole.begin() + done, whole.end());
    }
}

} // namespace pemvora::report
