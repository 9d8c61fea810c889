#pragma once
// How the controls measure text. The widgets measure with their fonts; model
// tests use fixed sizes so that every pixel position is known.

#include <QFont>
#include <QFontMetrics>
#include <QString>

namespace pemvora::amountgrid {

class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    virtual int width(const QString& text) const = 0;
    virtual int height(const QString& text) const = 0;
};

// Measures with a font, as the widgets draw it.
class FontMeasure : public TextMeasure {
public:
    explicit FontMeasure(const QFont& font) : metrics_(font) {}
    int width(const QString& text) const override { return metrics_.horizontalAdvance(text); }
    int height(const QString&) const override { return metrics_.height(); }

private:
    QFontMetrics metrics_;
};

}  // namespace pemvora::amountgrid
