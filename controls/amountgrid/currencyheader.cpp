#include "controls/amountgrid/currencyheader.h"

namespace pemvora::amountgrid {

CurrencyHeader::CurrencyHeader()
    : digitalSymbols_{QStringLiteral("元"), QStringLiteral("十"), QStringLiteral("百"), QStringLiteral("千"),
                      QStringLiteral("万"), QStringLiteral("十"), QStringLiteral("百"), QStringLiteral("千"),
                      QStringLiteral("亿"), QStringLiteral("十"), QStringLiteral("百"), QStringLiteral("千"),
                      QStringLiteral("万")},
      decimalSymbols_{QStringLiteral("角"), QStringLiteral("分")} {}

bool CurrencyHeader::setDigitalNumber(int n) {
    if (n < style_.decimalNumber) return false;
    style_.digitalNumber = n;
    return true;
}

bool CurrencyHeader::setDecimalNumber(int n) {
    if (n < 0 || n > style_.digitalNumber) return false;
    style_.decimalNumber = n;
    return true;
}

int CurrencyHeader::frameWidth() const {
    if (border_ == BorderStyle::None) return 0;
    return ctl3D_ ? 2 : 1;
}

HeaderPicture CurrencyHeader::picture(QSize size, const TextMeasure& measure) const {
    HeaderPicture pic;
    const int b = frameWidth();
    pic.frame = border_ == BorderStyle::None ? HeaderFrame::None : (ctl3D_ ? HeaderFrame::Sunken : HeaderFrame::Flat);
    pic.frameWidth = b;
    pic.background = color_;

    GridGeometry g(style_, size.width(), b);
    pic.separators = g.separators();
    pic.lineWidth = g.lineWidth();
    pic.lineTop = b;
    pic.lineBottom = size.height() - b;

    if (digitalSymbols_.isEmpty() && decimalSymbols_.isEmpty()) return pic;
    // The captions' height is taken from the first integer caption; without
    // integer captions, from the first decimal one.
    const QString& measured = digitalSymbols_.isEmpty() ? decimalSymbols_.first() : digitalSymbols_.first();
    const int textHeight = measure.height(measured);
    int t = 0;
    switch (layout_) {
    case TextLayout::Top: t = 0; break;
    case TextLayout::Centre: t = (size.height() - 2 * b - textHeight) / 2 + 1; break;
    case TextLayout::Bottom: t = size.height() - 2 * b - textHeight; break;
    }

    const int n = g.cellCount();
    const int integerCells = n - style_.decimalNumber;
    auto place = [&](int cell, const QString& text, int shift) {
        int left = g.cellLeft(cell);
        QRect clip(left, b, g.cellWidth(), size.height() - 2 * b);
        pic.captions.push_back({text, QPoint(left + (g.cellWidth() - measure.width(text)) / 2 + shift, b + t + shift), clip});
    };
    for (int d = 0; d < integerCells; ++d) {
        int item = integerCells - d - 1;
        if (item < digitalSymbols_.size()) place(d, digitalSymbols_[item], 0);
    }
    for (int i = 0; i < style_.decimalNumber && i < decimalSymbols_.size(); ++i)
        place(integerCells + i, decimalSymbols_[i], 1);
    return pic;
}

}  // namespace pemvora::amountgrid
