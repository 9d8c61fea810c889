#pragma once
// The amount grid header without a screen: its properties and where its
// frame, separator lines and place captions go.

#include "controls/amountgrid/gridgeometry.h"
#include "controls/amountgrid/textmeasure.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>

#include <vector>

namespace pemvora::amountgrid {

enum class BorderStyle { None, Single };

enum class HeaderFrame { None, Flat, Sunken };  // flat: 1-pixel black; sunken: 2-pixel 3-D

struct HeaderCaption {
    QString text;
    QPoint pos;  // top-left of the text
    QRect clip;  // the caption's cell
};

struct HeaderPicture {
    HeaderFrame frame = HeaderFrame::None;
    int frameWidth = 0;
    QColor background;
    std::vector<Separator> separators;
    int lineWidth = 0;
    int lineTop = 0, lineBottom = 0;  // the separators run from lineTop up to lineBottom (exclusive)
    std::vector<HeaderCaption> captions;
};

class CurrencyHeader {
public:
    CurrencyHeader();

    BorderStyle borderStyle() const { return border_; }
    void setBorderStyle(BorderStyle b) { border_ = b; }
    bool ctl3D() const { return ctl3D_; }
    void setCtl3D(bool on) { ctl3D_ = on; }
    int digitalNumber() const { return style_.digitalNumber; }
    bool setDigitalNumber(int n);  // at least DecimalNumber
    int decimalNumber() const { return style_.decimalNumber; }
    bool setDecimalNumber(int n);  // from 0 to DigitalNumber
    int cellWidth() const { return style_.cellWidth; }
    void setCellWidth(int w) { style_.cellWidth = w; }
    int gridLineWidth() const { return style_.gridLineWidth; }
    void setGridLineWidth(int w) { style_.gridLineWidth = w < 0 ? 0 : w; }
    QColor gridLineColor() const { return style_.gridLineColor; }
    void setGridLineColor(const QColor& c) { style_.gridLineColor = c; }
    QColor kilobitSeparatorColor() const { return style_.kilobitSeparatorColor; }
    void setKilobitSeparatorColor(const QColor& c) { style_.kilobitSeparatorColor = c; }
    QColor decimalSeparatorColor() const { return style_.decimalSeparatorColor; }
    void setDecimalSeparatorColor(const QColor& c) { style_.decimalSeparatorColor = c; }
    // Integer captions from the units upwards; decimal captions left to right.
    QStringList digitalSymbols() const { return digitalSymbols_; }
    void setDigitalSymbols(const QStringList& s) { digitalSymbols_ = s; }
    QStringList decimalSymbols() const { return decimalSymbols_; }
    void setDecimalSymbols(const QStringList& s) { decimalSymbols_ = s; }
    TextLayout textLayout() const { return layout_; }
    void setTextLayout(TextLayout l) { layout_ = l; }
    QColor color() const { return color_; }
    void setColor(const QColor& c) { color_ = c; }

    int frameWidth() const;
    // The width the header takes: the given one, or the one a fixed cell width needs.
    int widthFor(int width) const { return GridGeometry(style_, width, frameWidth()).width(); }
    GridGeometry geometry(int width) const { return GridGeometry(style_, width, frameWidth()); }
    HeaderPicture picture(QSize size, const TextMeasure& measure) const;

private:
    GridStyle style_;
    BorderStyle border_ = BorderStyle::Single;
    bool ctl3D_ = true;
    QStringList digitalSymbols_;
    QStringList decimalSymbols_;
    TextLayout layout_ = TextLayout::Centre;
    QColor color_{0xFF, 0xFF, 0xFF};
};

}  // namespace pemvora::amountgrid
