#pragma once
// TsncCurrencyLabel: the header strip above an amount grid, a row of cells
// with a place caption (千 百 十 万 ...) in each. It takes no focus.

#include "controls/amountgrid/currencyheader.h"

#include <QWidget>

namespace pemvora::amountgrid {

class TsncCurrencyLabel : public QWidget {
    Q_OBJECT
public:
    explicit TsncCurrencyLabel(QWidget* parent = nullptr);

    const CurrencyHeader& header() const { return header_; }

    BorderStyle borderStyle() const { return header_.borderStyle(); }
    void setBorderStyle(BorderStyle b);
    bool ctl3D() const { return header_.ctl3D(); }
    void setCtl3D(bool on);
    int cellWidth() const { return header_.cellWidth(); }
    void setCellWidth(int w);
    int digitalNumber() const { return header_.digitalNumber(); }
    bool setDigitalNumber(int n);
    int decimalNumber() const { return header_.decimalNumber(); }
    bool setDecimalNumber(int n);
    QStringList digitalSymbols() const { return header_.digitalSymbols(); }
    void setDigitalSymbols(const QStringList& s);
    QStringList decimalSymbols() const { return header_.decimalSymbols(); }
    void setDecimalSymbols(const QStringList& s);
    QColor gridLineColor() const { return header_.gridLineColor(); }
    void setGridLineColor(const QColor& c);
    int gridLineWidth() const { return header_.gridLineWidth(); }
    void setGridLineWidth(int w);
    QColor kilobitSeparatorColor() const { return header_.kilobitSeparatorColor(); }
    void setKilobitSeparatorColor(const QColor& c);
    QColor decimalSeparatorColor() const { return header_.decimalSeparatorColor(); }
    void setDecimalSeparatorColor(const QColor& c);
    TextLayout textLayout() const { return header_.textLayout(); }
    void setTextLayout(TextLayout l);
    QColor color() const { return header_.color(); }
    void setColor(const QColor& c);

    QSize sizeHint() const override { return {121, 25}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void changed();  // fit a fixed cell width and repaint

    CurrencyHeader header_;
};

}  // namespace pemvora::amountgrid
