#pragma once
// Small images for drawing tests: a canvas over a white QImage, and the image's
// pixels as text ('.' white, '#' black, 'r' red, 'g' green, 'y' yellow, '?' other)
// so that expectations read like the picture.

#include "report/canvas/painter_canvas.h"
#include "tests/support/test_pictures.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <memory>
#include <string>

namespace pemvora::report::testing {

inline constexpr Color kRed = rgb(255, 0, 0);
inline constexpr Color kGreen = rgb(0, 255, 0);
inline constexpr Color kYellow = rgb(255, 255, 0);

class TinyImage {
public:
    TinyImage(int w, int h, Color background = kWhite) : image_(w, h, QImage::Format_RGB32)
    {
        image_.setDotsPerMeterX(3780);
        image_.setDotsPerMeterY(3780);
        image_.fill(QColor(int(background & 0xFF), int((background >> 8) & 0xFF), int(background >> 16)));
        painter_.begin(&image_);
        canvas_ = PainterCanvas::forImage(painter_, image_);
    }
    Canvas& canvas() { return *canvas_; }
    // The raster painter writes straight into the image, so it can be read while painting.
    const QImage& image() const { return image_; }
    // Keeps a copy, scaled up, when test pictures are kept (PEMVORA_TEST_PICTURES).
    void saveSample(const char* name, int scale = 8)
    {
        if (const auto path = testsupport::testPicturePath((std::string(name) + ".png").c_str()))
            image_.scaled(image_.width() * scale, image_.height() * scale).save(*path);
    }
    Color at(int x, int y)
    {
        const QRgb p = image().pixel(x, y);
        return rgb(qRed(p), qGreen(p), qBlue(p));
    }
    // Row y from x0 to x1 (exclusive) as characters.
    std::string row(int y, int x0, int x1)
    {
        std::string s;
        for (int x = x0; x < x1; ++x) s += symbol(at(x, y));
        return s;
    }
    std::string column(int x, int y0, int y1)
    {
        std::string s;
        for (int y = y0; y < y1; ++y) s += symbol(at(x, y));
        return s;
    }
    // Bounding box of every pixel that is not the background colour; empty when none.
    Rect ink(Color background = kWhite)
    {
        Rect box{image().width(), image().height(), 0, 0};
        for (int y = 0; y < image().height(); ++y)
            for (int x = 0; x < image().width(); ++x)
                if (at(x, y) != background) {
                    box.left = std::min(box.left, x);
                    box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x + 1);
                    box.bottom = std::max(box.bottom, y + 1);
                }
        return box.isEmpty() ? Rect{} : box;
    }

private:
    static char symbol(Color c)
    {
        switch (c) {
        case kWhite: return '.';
        case kBlack: return '#';
        case kRed: return 'r';
        case kGreen: return 'g';
        case kYellow: return 'y';
        default: return '?';
        }
    }
    QImage image_;
    QPainter painter_;
    std::unique_ptr<PainterCanvas> canvas_;
};

} // namespace pemvora::report::testing
