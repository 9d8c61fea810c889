#include "report/designer/designer_page.h"

#include "report/canvas/painter_canvas.h"
#include "report/model/engine_context.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace pemvora::report {

KeyModifiers modifiersOf(Qt::KeyboardModifiers m)
{
    return {m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier), m.testFlag(Qt::AltModifier)};
}

namespace {

QColor qcolor(Color c)
{
    const Color rgbValue = resolveColor(c);
    return QColor(int(rgbValue & 0xFF), int((rgbValue >> 8) & 0xFF), int((rgbValue >> 16) & 0xFF));
}

Qt::CursorShape cursorOf(PointerShape shape)
{
    switch (shape) {
    case PointerShape::SizeDiagonalDown: return Qt::SizeFDiagCursor;
    case PointerShape::SizeDiagonalUp: return Qt::SizeBDiagCursor;
    case PointerShape::SizeHorizontal: return Qt::SizeHorCursor;
    case PointerShape::SizeVertical: return Qt::SizeVerCursor;
    case PointerShape::Split: return Qt::SplitHCursor;
    case PointerShape::Cross: return Qt::CrossCursor;
    case PointerShape::Pencil: return Qt::CrossCursor;
    case PointerShape::Arrow: break;
    }
    return Qt::ArrowCursor;
}

} // namespace

TfrDesignerPage::TfrDesignerPage(DesignerDocument& document, PageInteraction& mouse, QWidget* parent)
    : QWidget(parent), doc_(document), mouse_(mouse)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    doc_.addObserver(this);
    updatePageSize();
}

TfrDesignerPage::~TfrDesignerPage() { doc_.removeObserver(this); }

Point TfrDesignerPage::toPage(QPoint p) const { return {p.x() - kBorder, p.y() - kBorder}; }

QPoint TfrDesignerPage::toWidget(Point p) const { return {p.x + kBorder, p.y + kBorder}; }

QSize TfrDesignerPage::pageSize() const
{
    const TfrPage& page = doc_.page();
    if (page.Type == pagetype::Dialog) return {page.Width, page.Height};
    int height = page.Paper.metrics.PaperHeight;
    if (doc_.options().UnlimitedHeight) {
        for (const auto& v : page.PageObjects) height = std::max(height, v->Top + v->Height + 100);
    }
    return {page.Paper.metrics.PaperWidth, height};
}

void TfrDesignerPage::updatePageSize()
{
    const QSize size = pageSize();
    setFixedSize(size.width() + 2 * kBorder, size.height() + 2 * kBorder);
}

void TfrDesignerPage::pageChanged()
{
    updatePageSize();
    update();
}

void TfrDesignerPage::selectionChanged() { update(); }

void TfrDesignerPage::documentChanged()
{
    updatePageSize();
    update();
}

void TfrDesignerPage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Mid));
    const TfrPage& page = doc_.page();
    const QSize size = pageSize();
    painter.translate(kBorder, kBorder);
    const QRect paper(0, 0, size.width(), size.height());
    painter.fillRect(paper, page.Type == pagetype::Dialog ? qcolor(page.WindowColor) : QColor(Qt::white));

    if (page.Type == pagetype::Report) {
        // The band area, as the band engine will use it.
        painter.setPen(QPen(QColor(128, 128, 128), 1, Qt::DotLine));
        painter.drawRect(page.LeftEdge(), page.TopEdge(), page.RightEdge() - page.LeftEdge() - 1,
                         page.BottomEdge() - page.TopEdge() - 1);
    }
    if (doc_.grid().Show && doc_.grid().Size >= 2) {
        const int g = doc_.grid().Size;
        painter.setPen(QColor(160, 160, 160));
        for (int y = 0; y < size.height(); y += g)
            for (int x = 0; x < size.width(); x += g) painter.drawPoint(x, y);
    }
    paintObjects(painter);
    paintSelection(painter);
}

void TfrDesignerPage::paintObjects(QPainter& painter)
{
    EngineContext& e = engine();
    e.Running = 0;
    e.DesignerPage = &doc_.page();
    e.CurrentPage = &doc_.page();
    e.BandTitlesOutside = doc_.options().BandTitles;
    painter.save();
    PainterCanvas canvas(painter, 96, 96, std::nullopt);
    // A template read from a file may hold an object that cannot draw itself
    // (a broken picture): the others are still shown.
    for (const auto& view : doc_.page().PageObjects) {
        try {
            view->Paint(canvas);
        } catch (const std::exception&) {
        }
    }
    painter.restore();
}

void TfrDesignerPage::paintSelection(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    const auto square = [&](Point p, const QColor& color) {
        painter.fillRect(QRect(p.x - 2, p.y - 2, 5, 5), color);
    };
    const std::vector<TfrView*> selected = doc_.selection();
    if (selected.size() == 1) {
        const ViewRect r = rectOf(*selected.front());
        for (Handle h : kHandles) square(handlePoint(r, h), Qt::black);
    } else {
        for (const TfrView* v : selected) {
            const ViewRect r = rectOf(*v);
            for (Handle h : {Handle::TopLeft, Handle::TopRight, Handle::BottomLeft, Handle::BottomRight})
                square(handlePoint(r, h), Qt::darkGray);
        }
        if (const auto h = mouse_.scaleHandle()) square(*h, Qt::black);
    }
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    if (const auto band = mouse_.rubberBand()) painter.drawRect(band->Left, band->Top, band->Width, band->Height);
    if (const auto line = mouse_.lineBeingDrawn())
        painter.drawLine(line->first.x, line->first.y, line->second.x, line->second.y);
}

void TfrDesignerPage::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    const MouseButton button = event->button() == Qt::RightButton ? MouseButton::Right : MouseButton::Left;
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
    const PressResult result = mouse_.press(toPage(event->pos()), modifiersOf(event->modifiers()), button);
    update();
    if (result.OpenPopupMenu) emit popupMenuRequested(event->globalPosition().toPoint());
}

void TfrDesignerPage::mouseMoveEvent(QMouseEvent* event)
{
    const Point p = toPage(event->pos());
    const KeyModifiers keys = modifiersOf(event->modifiers());
    if (mouse_.dragging()) {
        mouse_.move(p, keys);
        update();
    } else {
        setCursor(cursorOf(mouse_.pointerAt(p, keys)));
    }
    emit pointerMoved(p);
}

void TfrDesignerPage::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !mouse_.dragging()) return;
    const ReleaseResult result = mouse_.release(toPage(event->pos()), modifiersOf(event->modifiers()));
    update();
    if (result.Inserted) emit objectInserted(result.Inserted, result.OpenEditor);
}

void TfrDesignerPage::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    if (doc_.selectedCount() == 1) emit editRequested(event->modifiers().testFlag(Qt::ControlModifier));
    else if (doc_.selectedCount() == 0) emit pageOptionsRequested();
}

void TfrDesignerPage::keyPressEvent(QKeyEvent* event)
{
    if (keyHandler && keyHandler(event)) {
        update();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace pemvora::report
