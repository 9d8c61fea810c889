#pragma once
// A ruler beside the page, in the designer's units, its zero at the page's
// top-left corner.

#include <QWidget>

namespace pemvora::report {

class DesignerRuler : public QWidget {
public:
    DesignerRuler(Qt::Orientation orientation, QWidget* parent = nullptr);
    // Where the page's edge lies on the ruler (its pixels), and the units.
    void setOrigin(int origin);
    void setUnits(int units);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::Orientation orientation_;
    int origin_ = 0;
    int units_ = 0;
};

} // namespace pemvora::report
