// How lines, bands, sub-report markers and wrapped controls draw themselves.

#include "report/model/engine_context.h"
#include "report/model/objects.h"
#include "report/model/page.h"

#include <QImage>

#include <algorithm>

namespace pemvora::report {

namespace {

Font arial8()
{
    Font f;
    f.name = "Arial";
    f.height = fontPixelHeight(8, 96);
    f.charset = kDefaultCharset;
    f.color = kBlack;
    return f;
}

// The background of bands in the designer: a light diagonal hatch on white.
const QImage& hatchTile()
{
    static const QImage tile = [] {
        QImage img(8, 8, QImage::Format_RGB32);
        img.fill(Qt::white);
        for (int i = 0; i < 8; ++i) img.setPixel(i, 7 - i, qRgb(0xE0, 0xE0, 0xE0));
        return img;
    }();
    return tile;
}

// The page a band is drawn on: the designer's page, or the running one.
const TfrPage* pageOfBands()
{
    const EngineContext& e = engine();
    return e.DesignerPage ? e.DesignerPage : e.CurrentPage;
}

constexpr int kTitleTabHeight = 18;

// Length of a band's title tab: the title's width in Arial 8 plus 8, at least 100.
int titleTabLength(Canvas& c, std::string_view title)
{
    c.setFont(arial8());
    const int w = c.textWidth(title);
    return w >= 92 ? w + 8 : 100;
}

} // namespace

// ---------------------------------------------------------------- lines

void TfrLineView::Paint(Canvas& target)
{
    ApplyBandAlign(&target);
    // The orientation is settled by the first paint and stays.
    if (Height < Width) {
        Height = 0;
        FrameTyp = frame::Top;
    } else {
        Width = 0;
        FrameTyp = frame::Left;
    }
    DeviceGeometry device(*this);
    PaintBorder();
}

int TfrLineView::CalcHeight() { return Height; }
int TfrLineView::MinHeight() { return 1; }
int TfrLineView::RemainHeight() { return 0; }

// ---------------------------------------------------------------- bands

// The title tab of a band whose title is shown outside it, in design pixels.
Rect TfrBandView::TitleTab(Canvas& measure) const
{
    const int length = titleTabLength(measure, bandkind::displayName(BandKind()));
    if (bandkind::isCross(BandKind())) return {Left - kTitleTabHeight, Top, Left, Top + length};
    return {Left, Top - kTitleTabHeight, Left + length, Top};
}

void TfrBandView::Paint(Canvas& target)
{
    FrameWidth = 1;
    const bool cross = bandkind::isCross(BandKind());
    if (const TfrPage* page = pageOfBands()) {
        if (cross) {
            Top = 0;
            Height = page->Paper.metrics.PrintHeight;
        } else {
            Left = 0;
            Width = page->Paper.metrics.PrintWidth;
        }
    }
    ApplyBandAlign(&target);
    DeviceGeometry device(*this);
    Canvas& c = target;
    c.fillRectWithTile(PaintRect, hatchTile());

    c.setFont(arial8());
    c.setPen({kBtnFace, 1, PenStyle::Solid});
    c.setBrush({kNoColor, BrushStyle::Clear});
    c.rectangle({Left, Top, Left + Width + 1, Top + Height + 1});

    if (Columns > 1) {
        const int edge = pageOfBands() ? pageOfBands()->LeftEdge() : 0;
        c.setPen({kBlack, 1, PenStyle::Dot});
        for (int col = 0; col < Columns; ++col) {
            const int x = edge + col * (ColumnWidth + ColumnGap);
            c.rectangle({x, Top, x + ColumnWidth + 1, Top + Height + 1});
        }
    }

    const std::string_view title = bandkind::displayName(BandKind());
    if (engine().BandTitlesOutside) {
        const Rect tab = TitleTab(c);
        c.setFont(arial8());
        c.setBrush({kBtnFace, BrushStyle::Solid});
        c.fillRect(tab);
        c.setBackgroundMode(BackgroundMode::Transparent);
        if (cross) {
            c.setPen({kBtnHighlight, 1, PenStyle::Solid});
            c.line(tab.left, tab.top, tab.left, tab.bottom);
            c.setPen({kBtnShadow, 1, PenStyle::Solid});
            c.line(tab.left, tab.bottom - 2, tab.right, tab.bottom - 2);
            c.setPen({kBlack, 1, PenStyle::Solid});
            c.line(tab.left, tab.bottom - 1, tab.right, tab.bottom - 1);
            Font turned = arial8();
            turned.angle = 90;
            c.setFont(turned);
            c.textOut(Left - 15, Top + c.textWidth(title) + 4, title);
        } else {
            c.setPen({kBtnShadow, 1, PenStyle::Solid});
            c.line(tab.right - 2, tab.top, tab.right - 2, tab.bottom);
            c.setPen({kBlack, 1, PenStyle::Solid});
            c.line(tab.right - 1, tab.top, tab.right - 1, tab.bottom);
            c.textOut(Left + 4, Top - 17, title);
        }
    } else {
        c.setBrush({kNoColor, BrushStyle::Clear});
        if (cross) {
            Font turned = arial8();
            turned.angle = 90;
            c.setFont(turned);
            c.textOut(Left + 2, Top + 94, title);
        } else {
            c.textOut(Left + 4, Top + 2, title);
        }
    }
}

HitRegion TfrBandView::CreateHitRegion(bool widened) const
{
    if (!engine().BandTitlesOutside) return TfrView::CreateHitRegion(widened);
    Rect band{Left, Top, Left + Width + 1, Top + Height + 1};
    if (widened) band = {band.left - 10, band.top - 10, band.right + 10, band.bottom + 10};
    return {band, TitleTab(scratchCanvas())};
}

// ---------------------------------------------------------------- sub-reports

void TfrSubReportView::Paint(Canvas& target)
{
    ApplyBandAlign(&target);
    FrameWidth = 1;
    DeviceGeometry device(*this);
    Canvas& c = target;
    c.setFont(arial8());
    c.setPen({kBlack, 1, PenStyle::Solid});
    c.setBrush({kWhite, BrushStyle::Solid});
    c.rectangle({Left, Top, Left + Width + 1, Top + Height + 1});
    c.setBrush({kNoColor, BrushStyle::Clear});
    c.textRect(PaintRect, Left + 2, Top + 2, Name);
}

// ---------------------------------------------------------------- controls

void TfrControl::Paint(Canvas& target)
{
    if (Control) Control->Resize(Width, Height);
    ApplyBandAlign(&target);
    DeviceGeometry device(*this);
    PaintControlImage();
}

void TfrControl::PaintControlImage()
{
    if (!canvas || Width < 0 || Height < 0) return;
    QImage face(Width + 1, Height + 1, QImage::Format_RGB32);
    if (face.isNull()) return;
    const Color c = resolveColor(kBtnFace);
    face.fill(QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
    if (Control) Control->RenderInto(face);
    canvas->drawImage({Left, Top, Left + Width + 1, Top + Height + 1}, face);
}

} // namespace pemvora::report
