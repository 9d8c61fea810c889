#pragma once
// Text sizes that do not depend on installed fonts: every Latin character is
// 7 pixels wide, every other one 12; every text is 13 pixels high unless
// told otherwise.

#include "controls/amountgrid/textmeasure.h"

#include <QHash>

#include <memory>

namespace pemvora::amountgrid::testing {

class FixedMeasure : public TextMeasure {
public:
    QHash<QString, int> heights;

    int width(const QString& text) const override {
        int w = 0;
        for (QChar c : text) w += c.unicode() < 0x80 ? 7 : 12;
        return w;
    }
    int height(const QString& text) const override { return heights.value(text, 13); }
};

inline std::shared_ptr<FixedMeasure> fixedMeasure() { return std::make_shared<FixedMeasure>(); }

}  // namespace pemvora::amountgrid::testing
