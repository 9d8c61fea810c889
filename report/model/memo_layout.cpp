// The text object's layout: breaking its lines at design resolution and drawing
// them at the device's scale. The same code measures and draws for the screen,
// the printer and the scratch canvas, so what is measured is what is drawn.

#include "report/model/engine_context.h"
#include "report/model/export_filter.h"
#include "report/model/memo.h"
#include "report/model/pixel_limits.h"
#include "report/model/report.h"

#include "platform/text/gbk.h"
#include "platform/value/numbertext.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pemvora::report {

namespace {

using pixels::clampToInt;
using pixels::roundi;

bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

bool endsParagraph(const std::string& line) { return !line.empty() && line.back() == kEndOfParagraph; }

std::string withEndMark(std::string_view s)
{
    std::string line(s);
    line.push_back(kEndOfParagraph);
    return line;
}

// Spaces of a GBK line, counted character by character (a trail byte is never one).
int countSpaces(std::string_view s)
{
    int n = 0;
    for (std::string_view ch : text::Chars(s))
        if (ch == " ") ++n;
    return n;
}

bool wantsDesignOverflow(const StringList& lines, const Canvas& measure, int available)
{
    return engine().Running == 0 && lines.size() == 1 && !lines.front().empty() && lines.front().front() == '['
        && measure.textWidth(lines.front()) > available;
}

} // namespace

std::string workText(const StringList& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

int TfrMemoView::FontPixelHeight() const { return fontPixelHeight(Font.Size, 96); }

report::Font TfrMemoView::DeviceFont(const Canvas& target) const
{
    report::Font f;
    f.name = Font.Name;
    f.style = canvasFontStyle(Font.Style);
    f.charset = Font.Charset;
    f.color = Font.FontColor;
    if (target.isPrinter()) {
        f.height = fontPixelHeight(Font.Size, target.dpiY());
    } else {
        const double h = Font.Size * 96.0 / 72.0 * DeviceScaleY;
        f.height = roundi(DeviceScaleY == 1.0 ? h : std::trunc(h));
    }
    if (Alignment & textalign::Rotated) f.angle = 90;
    return f;
}

// ---------------------------------------------------------------- breaking lines

StringList TfrMemoView::WrapText()
{
    Canvas& measure = scratchCanvas();
    report::Font f;
    f.name = Font.Name;
    f.height = FontPixelHeight();
    f.style = canvasFontStyle(Font.Style);
    f.charset = Font.Charset;
    const bool rotated = (Alignment & textalign::Rotated) != 0;
    if (rotated) f.angle = 90;
    measure.setFont(f);
    measure.setCharSpacing(CharSpacing);

    const int available = clampToInt(rotated ? Height - 2LL * GapY : Width - 2LL * GapX);
    StringList out;
    if (!rotated && wantsDesignOverflow(WorkLines, measure, available)) {
        // The designer shows a long expression as written, not broken.
        out.push_back(WorkLines.front());
    } else {
        for (const std::string& line : WorkLines) {
            if (PreWrapped) out.push_back(line);
            else if (Flags & flag::WordWrap) wrapLine(measure, line, available, out);
            else out.push_back(withEndMark(line));
        }
    }
    measure.setCharSpacing(0);

    LineStep = clampToInt(static_cast<long long>(LineSpacing) + FontPixelHeight());
    const int gap = rotated ? GapX : GapY;
    TextHeight = clampToInt(2LL * gap + static_cast<long long>(out.size()) * LineStep);
    return out;
}

// Breaks `s` into lines no wider than `max`: at the last space before the text
// gets too wide (the space is dropped), else before the character that makes
// it too wide; line breaks in the text end lines too. Characters are measured
// whole and a two-byte character is never split.
void TfrMemoView::wrapLine(Canvas& measure, std::string_view s, int max, StringList& out) const
{
    const bool hasLineBreaks = s.find_first_of("\r\n") != std::string_view::npos;
    if (!hasLineBreaks && (s.size() <= 1 || measure.textWidth(s) <= max)) {
        out.push_back(withEndMark(s));
        return;
    }
    auto widthOf = [&](std::size_t from, std::size_t to) {
        return to > from ? measure.textWidth(s.substr(from, to - from)) : 0;
    };

    std::size_t start = 0;   // first byte of the line being built
    std::size_t brk = 0;     // the last space of the line (start while there is none)
    std::size_t a = 0;       // the character being placed
    long long width = 0;     // width of s[start, a)
    while (a < s.size()) {
        if (isLineBreak(s[a])) {
            out.push_back(withEndMark(s.substr(start, a - start)));
            while (a + 1 < s.size() && isLineBreak(s[a])) ++a;
            start = brk = a;
            width = 0;
            if (isLineBreak(s[a])) return;   // the text ended with line breaks
            continue;
        }
        const std::size_t length = text::charLength(s, a);
        const int charWidth = measure.textWidth(s.substr(a, length));
        if (s[a] != ' ' && width + charWidth > max) {
            if (brk == start) brk = a;
            out.emplace_back(s.substr(start, brk - start));
            start = s[brk] == ' ' ? brk + 1 : brk;
            brk = start;
            width = widthOf(start, a);
        }
        if (s[a] == ' ') brk = a;
        width += charWidth;
        a += length;
    }
    if (a != start) out.push_back(withEndMark(s.substr(start)));
}

// ---------------------------------------------------------------- drawing

void TfrMemoView::DrawLines()
{
    Canvas& c = *canvas;
    const report::Font font = DeviceFont(c);
    c.setFont(font);
    c.setBackgroundMode(BackgroundMode::Transparent);
    c.setCharSpacing(roundi(CharSpacing * DeviceScaleX));

    const Rect clip{PaintRect.left + 1, PaintRect.top, PaintRect.right - 2, PaintRect.bottom - 1};
    TextHeight = roundi(TextHeight * DeviceScaleY);

    struct Restore {
        TfrMemoView& m;
        int left, top;
        std::uint32_t alignment;
        ~Restore() { m.Left = left; m.Top = top; m.Alignment = alignment; }
    } restore{*this, Left, Top, Alignment};

    const bool rotated = (Alignment & textalign::Rotated) != 0;
    const std::uint32_t vertical = Alignment & textalign::VerticalMask;
    if (rotated) {
        if (vertical == textalign::Middle) Left = clampToInt(Left + (static_cast<long long>(PaintRect.width()) - TextHeight) / 2);
        else if (vertical == textalign::Bottom) Left = clampToInt(static_cast<long long>(PaintRect.right) - TextHeight);
    } else if (!ClipToBottom) {
        if (vertical == textalign::Middle) Top = clampToInt(Top + (static_cast<long long>(PaintRect.height()) - TextHeight) / 2);
        else if (vertical == textalign::Bottom) Top = clampToInt(static_cast<long long>(PaintRect.bottom) - TextHeight - 1);
    }
    Alignment &= 0x07;

    if (rotated) drawRotatedLines(clip, clampToInt(static_cast<long long>(roundi(LineSpacing * DeviceScaleX)) + font.height));
    else drawHorizontalLines(clip, clampToInt(static_cast<long long>(roundi(LineSpacing * DeviceScaleY)) + font.height));
}

void TfrMemoView::drawHorizontalLines(const Rect& clip, int step)
{
    Canvas& c = *canvas;
    const bool overflowRight = wantsDesignOverflow(WorkLines, c, clip.width());
    const long long inner = PaintRect.width();
    long long y = static_cast<long long>(Top) + GapY;
    LineIndex = 0;
    for (const std::string& stored : WorkLines) {
        if (ClipToBottom && y + step > clip.bottom) break;
        const bool marked = endsParagraph(stored);
        const std::string_view line = marked ? std::string_view(stored).substr(0, stored.size() - 1) : stored;
        const bool paragraphEnd = marked || line.empty();
        const int w = c.textWidth(line);
        const std::uint32_t align = overflowRight ? textalign::Right : Alignment & textalign::HorizontalMask;
        long long x = static_cast<long long>(Left) + GapX;
        if (align == textalign::Right) x = Left + inner - GapX - w - 1;
        else if (align == textalign::Center) x = Left + GapX + (inner - 2LL * GapX - w) / 2;
        const int spaces = align == textalign::Justify && !paragraphEnd ? countSpaces(line) : 0;
        const long long extra = inner - 2LL * GapX - w;
        if (spaces > 0 && extra > 0) c.setTextJustification(clampToInt(extra), spaces);
        drawLine(clip, clampToInt(x), clampToInt(y), line, false);
        c.setTextJustification(0, 0);
        ++LineIndex;
        y += step;
    }
}

void TfrMemoView::drawRotatedLines(const Rect& clip, int step)
{
    Canvas& c = *canvas;
    const long long inner = PaintRect.height();
    long long x = static_cast<long long>(Left) + GapX;
    LineIndex = 0;
    for (const std::string& stored : WorkLines) {
        const bool marked = endsParagraph(stored);
        const std::string_view line = marked ? std::string_view(stored).substr(0, stored.size() - 1) : stored;
        const bool paragraphEnd = marked || line.empty();
        const int w = c.textWidth(line);
        const std::uint32_t align = Alignment & textalign::HorizontalMask;
        const long long bottom = PaintRect.bottom;
        long long y = bottom - GapY;
        if (align == textalign::Right) y = static_cast<long long>(Top) + GapY + w;
        else if (align == textalign::Center) y = bottom - GapY - (inner - 2LL * GapY - w) / 2 - 1;
        else if (align == textalign::Justify) y = bottom - (static_cast<long long>(PaintRect.top) - Top) - GapY;
        const int spaces = align == textalign::Justify && !paragraphEnd ? countSpaces(line) : 0;
        const long long extra = inner - 2LL * GapY - w;
        if (spaces > 0 && extra > 0) c.setTextJustification(clampToInt(extra), spaces);
        drawLine(clip, clampToInt(x), clampToInt(y), line, true);
        c.setTextJustification(0, 0);
        ++LineIndex;
        x += step;
    }
}

void TfrMemoView::drawLine(const Rect& clip, int x, int y, std::string_view line, bool rotated)
{
    if (!ExportMode) {
        canvas->textRect(clip, x, y, line);
        return;
    }
    TfrReport* report = engine().CurrentReport;
    if (report == nullptr || report->ActiveExportFilter == nullptr) return;
    // A frame around several lines: the top edge belongs to the first line,
    // the bottom edge to the last; turned lines carry none.
    std::uint16_t frameLines = rotated ? 0 : static_cast<std::uint16_t>(FrameTyp & frame::All);
    const int count = static_cast<int>(WorkLines.size());
    if (count > 1 && LineIndex > 0) frameLines &= ~frame::Top;
    if (count > 1 && LineIndex < count - 1) frameLines &= ~frame::Bottom;
    report->ActiveExportFilter->ExportTextLine(PaintRect, x, y, std::string(line), frameLines, *this);
}

void TfrMemoView::ExportContent()
{
    TfrView::ExportContent();
    TfrReport* report = engine().CurrentReport;
    if (report == nullptr || report->ActiveExportFilter == nullptr) return;
    struct Restore {
        TfrMemoView& m;
        double sx, sy;
        int ox, oy;
        bool toPrinter;
        ~Restore()
        {
            m.ExportMode = false;
            m.DeviceScaleX = sx;
            m.DeviceScaleY = sy;
            m.DeviceOffsetX = ox;
            m.DeviceOffsetY = oy;
            m.ToPrinter = toPrinter;
        }
    } restore{*this, DeviceScaleX, DeviceScaleY, DeviceOffsetX, DeviceOffsetY, ToPrinter};
    ExportMode = true;
    DeviceScaleX = DeviceScaleY = 1.0;
    DeviceOffsetX = DeviceOffsetY = 0;
    ToPrinter = false;
    Paint(scratchCanvas());
}

void TfrMemoView::drawUnderlines()
{
    Canvas& c = *canvas;
    const int fontHeight = DeviceFont(c).height;
    const long long h = static_cast<long long>(roundi(LineSpacing * DeviceScaleY)) + fontHeight;
    if (h <= 0) return;
    c.setPen({FrameColor, roundi(FrameWidth), PenStyle::Solid});
    // No page holds more lines than this; a damaged file's height may ask for millions.
    constexpr long long kMostUnderlines = 1 << 16;
    const long long count = std::min<long long>(Height / h, kMostUnderlines);
    const int right = clampToInt(static_cast<long long>(Left) + Width - 1);
    for (long long i = 0; i < count; ++i) {
        const int y = clampToInt(static_cast<long long>(Top) + GapY + h * i + roundi(2 * DeviceScaleY) + fontHeight);
        c.line(Left, y, right, y);
    }
}

// The width AutoWidth gives the object: its widest line as drawn, back in
// design pixels, with the frame and both gaps.
int TfrMemoView::autoWidth(Canvas& target) const
{
    target.setFont(DeviceFont(target));
    target.setCharSpacing(roundi(CharSpacing * DeviceScaleX));
    StringList lines = Memo;
    int widest = 0;
    for (std::string& line : lines) {
        std::erase(line, kEndOfParagraph);
        widest = std::max(widest, target.textWidth(line));
    }
    target.setCharSpacing(0);
    return roundi(widest / DeviceScaleX + FrameWidth + 2.0 * GapX + 1);
}

void TfrMemoView::Paint(Canvas& target)
{
    const bool running = engine().Running != 0;
    if ((Flags & flag::AutoWidth) && running && !Memo.empty()) {
        const int w = autoWidth(target);
        if (Alignment & textalign::Rotated) {
            Height = w;
        } else {
            if (Alignment & 1) Left = clampToInt(static_cast<long long>(Left) + Width - w);
            Width = w;
        }
    }
    ApplyBandAlign(&target);
    ClipToBottom = false;

    WorkLines = Memo;
    if (!WorkLines.empty()) {
        PreWrapped = std::any_of(WorkLines.begin(), WorkLines.end(),
                                 [](const std::string& l) { return l.find(kEndOfParagraph) != std::string::npos; });
        if (WorkLines.back() == std::string(1, kEndOfParagraph)) WorkLines.pop_back();
        // Lines are broken at design resolution whatever the device.
        struct UnitScale {
            TfrView& v;
            double sx, sy;
            explicit UnitScale(TfrView& view) : v(view), sx(view.DeviceScaleX), sy(view.DeviceScaleY)
            {
                v.DeviceScaleX = v.DeviceScaleY = 1.0;
            }
            ~UnitScale() { v.DeviceScaleX = sx; v.DeviceScaleY = sy; }
        };
        StringList lines;
        {
            UnitScale unit(*this);
            DeviceGeometry design(*this);
            if ((Flags & flag::AutoWidth) && running) Width += 100;
            lines = WrapText();
        }
        WorkLines = std::move(lines);
    }

    DeviceGeometry device(*this);
    if (!ExportMode) {
        PaintFill();
        PaintBorder();
        if (Flags & flag::Underlines) drawUnderlines();
    }
    if (!WorkLines.empty()) DrawLines();
    target.setCharSpacing(0);
}

} // namespace pemvora::report
