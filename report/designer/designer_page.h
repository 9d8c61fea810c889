#pragma once
// TfrDesignerPage: the drawing surface of the designer window. It shows the
// current page of the document (paper, margins, grid, the objects as they
// draw themselves, the selection's handles, the rubber band) at one screen
// pixel per design pixel, and turns the mouse into PageInteraction calls.
// Keys go to the window, which knows every command.

#include "report/designer/designer_document.h"
#include "report/designer/page_interaction.h"

#include <QWidget>

#include <functional>

namespace pemvora::report {

class TfrDesignerPage : public QWidget, public DocumentObserver {
    Q_OBJECT
public:
    TfrDesignerPage(DesignerDocument& document, PageInteraction& mouse, QWidget* parent = nullptr);
    ~TfrDesignerPage() override;

    // Where the page's top-left corner lies in this widget.
    QPoint pageOrigin() const { return {kBorder, kBorder}; }
    Point toPage(QPoint widgetPoint) const;
    QPoint toWidget(Point pagePoint) const;
    // Sets the widget's size from the page's.
    void updatePageSize();

    // Keys the window handles; returns whether it did.
    std::function<bool(QKeyEvent*)> keyHandler;

    void pageChanged() override;
    void selectionChanged() override;
    void documentChanged() override;

    // The space around the page: band titles are drawn above their bands.
    static constexpr int kBorder = 24;

signals:
    void popupMenuRequested(QPoint globalPosition);
    // A double click: with one object selected its editor (textEditor: with
    // Ctrl held), with none the page's options.
    void editRequested(bool textEditor);
    void pageOptionsRequested();
    void objectInserted(TfrView* view, bool openEditor);
    void pointerMoved(Point pagePoint);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void paintObjects(QPainter& painter);
    void paintSelection(QPainter& painter);
    QSize pageSize() const;

    DesignerDocument& doc_;
    PageInteraction& mouse_;
};

// The modifier keys of an event as the interaction takes them.
KeyModifiers modifiersOf(Qt::KeyboardModifiers modifiers);

} // namespace pemvora::report
