#pragma once
// Canvas: the drawing surface every report object paints on.
//
// The report engine lays out and draws in whole device pixels, the way the
// cheque templates were designed, so a Canvas behaves like a classic raster
// device and not like a modern vector painter:
//
//   * integer device pixels, no antialiasing;
//   * rectangle() and fillRect() leave out their right and bottom edge:
//     fillRect({0, 0, 4, 3}) paints columns 0..3 and rows 0..2;
//   * lineTo() leaves out the last pixel: a line from (0,0) to (5,0) paints x 0..4;
//   * a pen of width 1 draws styles Dash, Dot, DashDot, DashDotDot with fixed
//     pixel patterns (see penPattern()); a pen wider than 1 is always drawn solid
//     (a wide dashed frame is drawn by the caller as parallel one-pixel lines,
//     see drawFrameLine() in frameline.h);
//   * the gaps of a dashed line and the cell of a text are filled with the
//     background colour when the background mode is Opaque;
//   * text is drawn from the top-left corner of its cell (not from the baseline),
//     with the font height given in pixels as the em height (10 pt at 96 DPI is
//     13 pixels), optionally turned by 90 degrees counter-clockwise;
//   * extra character spacing adds pixels after every character, and text
//     justification spreads extra pixels over the spaces of one text run.
//
// Pens, brushes and fonts are plain values: set them and they stay until
// changed, as on the classic device. setBrush() also sets the background the
// way the engine expects: a solid brush makes the background opaque in the
// brush colour, a clear brush makes it transparent; setBackgroundMode()
// afterwards overrides the mode alone. A brush of colour kNoColor is a clear
// brush.
//
// Text given to a canvas is engine text (GBK bytes); it is turned into Unicode
// only inside the implementation.
//
// Implementations: PainterCanvas (painter_canvas.h) over a QPainter on an image,
// a widget or a printer; ScratchCanvas (a 96-DPI off-screen canvas for measuring);
// RecordingCanvas (recording_canvas.h) that logs what is drawn.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class QImage;

namespace pemvora::report {

// ---------------------------------------------------------------- colours

// A report colour: RGB in the low three bytes (red lowest), 0xFF0000nn for the
// system colour nn, 0x1FFFFFFF for "no colour".
using Color = std::uint32_t;

inline constexpr Color kNoColor = 0x1FFFFFFF;
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;

inline constexpr Color rgb(int r, int g, int b)
{
    return Color(r & 0xFF) | (Color(g & 0xFF) << 8) | (Color(b & 0xFF) << 16);
}
inline constexpr bool isSystemColor(Color c) { return (c & 0xFF000000u) == 0xFF000000u; }
inline constexpr Color systemColor(int index) { return 0xFF000000u | Color(index & 0xFF); }

// The RGB value (red lowest) a colour stands for. System colours come from the
// application palette when a QGuiApplication exists, otherwise from the classic
// desktop defaults; kNoColor and anything else unknown give white.
Color resolveColor(Color c);

// ---------------------------------------------------------------- geometry

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle by its edges. right and bottom are exclusive, as on the classic
// device: {0, 0, 4, 3} covers 4 x 3 pixels.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool intersects(const Rect& o) const
    {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// ---------------------------------------------------------------- pens, brushes, fonts

// Line styles 0..5 of frames and lines; Double is drawn by drawFrameLine(), a
// pen given Double draws solid.
enum class PenStyle : int { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Double = 5, Clear = 6 };

struct Pen {
    Color color = kBlack;
    int width = 1;              // pixels; 0 draws as 1
    PenStyle style = PenStyle::Solid;
    friend bool operator==(const Pen&, const Pen&) = default;
};

enum class BrushStyle : int { Solid, Clear };

struct Brush {
    Color color = kWhite;
    BrushStyle style = BrushStyle::Solid;
    friend bool operator==(const Brush&, const Brush&) = default;
};

enum class BackgroundMode : int { Opaque, Transparent };

// Style bits of a canvas font. Templates store their own order (italic 1, bold 2);
// canvasFontStyle() in the object model converts.
enum FontStyleBits : int { kFontBold = 1, kFontItalic = 2, kFontUnderline = 4, kFontStrikeOut = 8 };

// Character sets that templates name (GB2312 is the one Chinese templates use).
inline constexpr int kAnsiCharset = 0;
inline constexpr int kDefaultCharset = 1;
inline constexpr int kGb2312Charset = 134;

struct Font {
    std::string name = "Arial";  // family as templates name it, GBK (e.g. "宋体" in GBK, "Arial")
    int height = 13;             // em height in device pixels (10 pt at 96 DPI = 13)
    int style = 0;               // FontStyleBits
    int charset = kDefaultCharset;
    Color color = kBlack;
    int angle = 0;               // 0, or 90: turned counter-clockwise, text reads upward
    friend bool operator==(const Font&, const Font&) = default;
};

// Em height in pixels of a font of `points` at `dpi` pixels per inch, rounded
// half away from zero as the classic device does (10 pt at 96 DPI gives 13).
int fontPixelHeight(double points, int dpi);

// ---------------------------------------------------------------- the canvas

class Canvas {
public:
    virtual ~Canvas() = default;

    // Device resolution in pixels per inch (96 for the screen and the scratch canvas).
    virtual int dpiX() const = 0;
    virtual int dpiY() const = 0;
    // True when this canvas is a printer page (fonts keep their point size there).
    virtual bool isPrinter() const { return false; }

    // -- state
    virtual void setPen(const Pen& pen) = 0;
    virtual Pen pen() const = 0;
    virtual void setBrush(const Brush& brush) = 0;   // also sets the background, see above
    virtual Brush brush() const = 0;
    virtual void setBackgroundMode(BackgroundMode mode) = 0;
    virtual BackgroundMode backgroundMode() const = 0;
    virtual void setFont(const Font& font) = 0;
    virtual Font font() const = 0;
    // Extra pixels after every character of text output and measuring.
    virtual void setCharSpacing(int pixels) = 0;
    virtual int charSpacing() const = 0;
    // Spreads `extraPixels` over the `breakCount` spaces (bytes 32 and 160) of
    // the following text runs, the first spaces getting the remainder, until
    // reset with (0, 0). Measuring ignores it.
    virtual void setTextJustification(int extraPixels, int breakCount) = 0;

    // -- clipping: everything drawn stays inside the clip rectangle
    virtual void setClipRect(std::optional<Rect> clip) = 0;   // nullopt: no clipping
    virtual std::optional<Rect> clipRect() const = 0;
    // Whether any part of r can be seen (inside the clip and the device).
    virtual bool isVisible(const Rect& r) const = 0;

    // -- lines and areas
    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;   // last pixel left out; the pen position moves to (x, y)
    void line(int x1, int y1, int x2, int y2) { moveTo(x1, y1); lineTo(x2, y2); }
    // Outline with the pen (unless Clear) around the inside filled with the brush
    // (unless Clear); covers r.left..r.right-1 and r.top..r.bottom-1. With a
    // clear pen the fill leaves out one more pixel on the right and bottom, as
    // the classic device does.
    virtual void rectangle(const Rect& r) = 0;
    // Fills r (right and bottom edge left out) with the current brush; nothing
    // with a clear brush.
    virtual void fillRect(const Rect& r) = 0;
    // Fills r by repeating `tile` from the device origin (band backgrounds in the designer).
    virtual void fillRectWithTile(const Rect& r, const QImage& tile) = 0;
    // Draws an image stretched into target (right and bottom exclusive).
    virtual void drawImage(const Rect& target, const QImage& image) = 0;

    // -- text (GBK)
    // Draws text with the top-left corner of its cell at (x, y); for a font
    // turned by 90 degrees the cell starts at (x, y) and runs upward.
    virtual void textOut(int x, int y, std::string_view text) = 0;
    // The same, clipped to `clip`; with an opaque background the whole of
    // `clip` is filled with the background colour first.
    virtual void textRect(const Rect& clip, int x, int y, std::string_view text) = 0;
    // Width (advance, char spacing included) and cell height of text in the current font.
    virtual Size textExtent(std::string_view text) const = 0;
    int textWidth(std::string_view text) const { return textExtent(text).width; }
    // Cell height (ascent + descent) of the current font.
    virtual int fontCellHeight() const = 0;
};

// The pixel pattern of a one-pixel pen: on, off, on, off... lengths in pixels;
// empty for Solid and Double. Dash 18/6, Dot 3/3, DashDot 9/6/3/6,
// DashDotDot 9/3/3/3/3/3. The pattern starts afresh at every moveTo().
std::span<const int> penPattern(PenStyle style);

} // namespace pemvora::report
