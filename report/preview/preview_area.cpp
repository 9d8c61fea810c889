// The page area of the preview: the page box and its bars, buttons and labels.

#include "report/preview/preview_widgets.h"

#include "report/engine/prepared_pages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace pemvora::report {

namespace {

Point toPoint(const QPointF& p) { return {static_cast<int>(p.x()), static_cast<int>(p.y())}; }

} // namespace

// ---------------------------------------------------------------- page box

PreviewPageBox::PreviewPageBox(PreviewSession& session, PreviewArea& area)
    : QWidget(&area), session_(session), area_(area)
{
    setObjectName(QStringLiteral("PageBox"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(40, 40);
    setWhatsThis(tr("The pages of the report. Drag them with the mouse, click a link to follow it, "
                    "and use the right button for the zoom menu."));
}

void PreviewPageBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect r = event->rect();
    session_.Paint(painter, {r.left(), r.top(), r.right() + 1, r.bottom() + 1});
}

void PreviewPageBox::resizeEvent(QResizeEvent*)
{
    session_.SetBoxSize({width(), height()});
    area_.Sync();
}

void PreviewPageBox::mousePressEvent(QMouseEvent* event)
{
    if (!session_.HasPages()) return;
    if (event->button() == Qt::RightButton) {
        emit area_.contextMenuWanted(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (ignoreNextClick_) {
        ignoreNextClick_ = false;
        return;
    }
    const int before = session_.CurrentPage();
    const PreviewSession::Pointed pointed = session_.Click(toPoint(event->position()));
    if (!pointed.status.empty()) area_.SetStatus(QString::fromStdString(pointed.status));
    if (!pointed.taken) {
        dragging_ = true;
        lastPosition_ = event->position().toPoint();
        setCursor(Qt::ClosedHandCursor);
    }
    if (pointed.taken || session_.CurrentPage() != before) area_.Sync();
}

void PreviewPageBox::mouseMoveEvent(QMouseEvent* event)
{
    if (!session_.HasPages()) return;
    const QPoint p = event->position().toPoint();
    if (dragging_) {
        // The content follows the mouse.
        const QPoint delta = p - lastPosition_;
        lastPosition_ = p;
        session_.ScrollBy(-delta.x(), -delta.y());
        area_.Sync();
        return;
    }
    const PreviewSession::Pointed pointed = session_.Hover(toPoint(event->position()));
    setCursor(static_cast<Qt::CursorShape>(pointed.cursor));
    area_.SetStatus(QString::fromStdString(pointed.status));
}

void PreviewPageBox::mouseReleaseEvent(QMouseEvent*)
{
    if (!dragging_) return;
    dragging_ = false;
    unsetCursor();
}

void PreviewPageBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    dragging_ = false;
    unsetCursor();
    ignoreNextClick_ = true;
    if (!session_.HasPages() || event->button() != Qt::LeftButton) return;
    if (const std::optional<int> page = session_.PageAt(toPoint(event->position()))) {
        session_.GoToPage(*page + 1);
        area_.Sync();
        emit area_.editWanted();
    }
}

void PreviewPageBox::wheelEvent(QWheelEvent* event)
{
    if (!session_.HasPages()) return;
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0) return;
    area_.VerticalBar().setValue(area_.VerticalBar().value() - notches * kSmallScrollStep * area_.WheelMultiplier);
    event->accept();
}

// ---------------------------------------------------------------- page area

PreviewArea::PreviewArea(PreviewSession& session, QWidget* parent) : QWidget(parent), session_(session)
{
    setObjectName(QStringLiteral("PageArea"));
    pageBox_ = new PreviewPageBox(session, *this);

    rightPanel_ = new QWidget(this);
    rightPanel_->setFixedWidth(16);
    vertical_ = new QScrollBar(Qt::Vertical, rightPanel_);
    vertical_->setObjectName(QStringLiteral("VerticalBar"));
    pageUp_ = new QToolButton(rightPanel_);
    pageUp_->setObjectName(QStringLiteral("PageUp"));
    pageUp_->setArrowType(Qt::UpArrow);
    pageUp_->setToolTip(tr("Previous page"));
    pageDown_ = new QToolButton(rightPanel_);
    pageDown_->setObjectName(QStringLiteral("PageDown"));
    pageDown_->setArrowType(Qt::DownArrow);
    pageDown_->setToolTip(tr("Next page"));
    for (QToolButton* b : {pageUp_, pageDown_}) {
        b->setFixedSize(16, 16);
        b->setFocusPolicy(Qt::NoFocus);
    }
    auto* right = new QVBoxLayout(rightPanel_);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    right->addWidget(vertical_, 1);
    right->addWidget(pageUp_);
    right->addWidget(pageDown_);

    bottomPanel_ = new QWidget(this);
    bottomPanel_->setFixedHeight(18);
    pageLabel_ = new QLabel(bottomPanel_);
    pageLabel_->setObjectName(QStringLiteral("PageLabel"));
    pageLabel_->setMinimumWidth(90);
    statusLabel_ = new QLabel(bottomPanel_);
    statusLabel_->setObjectName(QStringLiteral("StatusLabel"));
    statusLabel_->setMinimumWidth(120);
    horizontal_ = new QScrollBar(Qt::Horizontal, bottomPanel_);
    horizontal_->setObjectName(QStringLiteral("HorizontalBar"));
    const QString labelsHelp = tr("The current page and the page count; the link under the mouse.");
    pageLabel_->setWhatsThis(labelsHelp);
    statusLabel_->setWhatsThis(labelsHelp);
    auto* bottom = new QHBoxLayout(bottomPanel_);
    bottom->setContentsMargins(4, 0, 0, 0);
    bottom->addWidget(pageLabel_);
    bottom->addWidget(statusLabel_);
    bottom->addWidget(horizontal_, 1);

    for (QScrollBar* bar : {vertical_, horizontal_}) {
        bar->setSingleStep(kSmallScrollStep);
        bar->setPageStep(kLargeScrollStep);
        bar->setFocusPolicy(Qt::NoFocus);
    }

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(pageBox_, 0, 0);
    grid->addWidget(rightPanel_, 0, 1);
    grid->addWidget(bottomPanel_, 1, 0, 1, 2);

    connect(vertical_, &QScrollBar::valueChanged, this, [this](int value) {
        if (syncing_) return;
        const int before = session_.CurrentPage();
        session_.SetVerticalPosition(value);
        if (session_.CurrentPage() != before) Sync();
        pageBox_->update();
    });
    connect(horizontal_, &QScrollBar::valueChanged, this, [this](int value) {
        if (syncing_) return;
        session_.SetHorizontalPosition(value);
        pageBox_->update();
    });
    connect(pageUp_, &QToolButton::clicked, this, [this] {
        session_.GoToPage(session_.CurrentPage() - 1);
        Sync();
    });
    connect(pageDown_, &QToolButton::clicked, this, [this] {
        session_.GoToPage(session_.CurrentPage() + 1);
        Sync();
    });
}

void PreviewArea::ShowBars(bool vertical, bool horizontal)
{
    rightPanel_->setVisible(vertical);
    bottomPanel_->setVisible(horizontal);
}

void PreviewArea::Sync()
{
    syncing_ = true;
    const PageLayout& layout = session_.Layout();
    const Point scroll = session_.ScrollPosition();
    vertical_->setRange(0, layout.verticalRange);
    vertical_->setValue(scroll.y);
    vertical_->setEnabled(layout.verticalRange > 0);
    horizontal_->setRange(0, layout.horizontalRange);
    horizontal_->setValue(scroll.x);
    horizontal_->setEnabled(layout.horizontalRange > 0);
    syncing_ = false;
    const QString label = session_.HasPages() ? QString::fromStdString(session_.PageLabel()) : QString();
    if (label != pageLabel_->text()) {
        pageLabel_->setText(label);
        emit pageChanged(session_.CurrentPage());
    }
    pageBox_->update();
}

void PreviewArea::SetStatus(const QString& text) { statusLabel_->setText(text); }

} // namespace pemvora::report
