#include "report/engine/pdf_export_qt.h"

#include "platform/text/gbk.h"
#include "report/canvas/painter_canvas.h"
#include "report/model/view.h"
#include "report/printer/paper.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <stdexcept>

namespace pemvora::report {

struct TfrPdfExportFilter::Writer {
    std::unique_ptr<QPdfWriter> pdf;
    QPainter painter;
    std::unique_ptr<PainterCanvas> canvas;
    bool firstPage = true;
    // Where the design page lies on the PDF page, device pixels.
    Rect target;
    double scaleX = 1, scaleY = 1;
};

TfrPdfExportFilter::TfrPdfExportFilter() = default;
TfrPdfExportFilter::~TfrPdfExportFilter()
{
    if (writer_ && writer_->painter.isActive()) writer_->painter.end();
}

namespace {

// The paper as Qt's page layout: the size as given, in the orientation its
// width and height show, without margins.
QPageLayout pageLayout(const PagePaper& paper)
{
    const double w = std::max(paper.width, 10) / 10.0;
    const double h = std::max(paper.height, 10) / 10.0;
    const bool landscape = w > h;
    const QPageSize size(landscape ? QSizeF(h, w) : QSizeF(w, h), QPageSize::Millimeter, QString(),
                         QPageSize::ExactMatch);
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

} // namespace

void TfrPdfExportFilter::StartExport()
{
    if (Stream == nullptr) throw std::logic_error("the PDF export has no stream to write to");
    writer_ = std::make_unique<Writer>();
    writer_->pdf = std::make_unique<QPdfWriter>(Stream);
    writer_->pdf->setResolution(kResolution);
    writer_->pdf->setCreator(QStringLiteral("Pemvora"));
    if (!Title.empty()) writer_->pdf->setTitle(text::toQString(Title));
}

void TfrPdfExportFilter::StartExportPage(const ExportPageInfo& page)
{
    Writer& w = *writer_;
    if (!w.pdf->setPageLayout(pageLayout(page.Paper))) throw std::runtime_error("the PDF writer refused a page size");
    if (w.firstPage) {
        if (!w.painter.begin(w.pdf.get())) throw std::runtime_error("the PDF file cannot be started");
        w.firstPage = false;
    } else if (!w.pdf->newPage()) {
        throw std::runtime_error("the PDF file cannot take another page");
    }
    const QRect device = w.pdf->pageLayout().fullRectPixels(kResolution);
    const int devW = device.width();
    const int devH = device.height();
    w.canvas = std::make_unique<PainterCanvas>(w.painter, kResolution, kResolution, Rect{0, 0, devW, devH}, true);

    // Design pixels of the paper; a borderless device prints all of it.
    const TfrPageMetrics& m = page.Paper.metrics;
    const int paperW = m.PaperWidth > 0 ? m.PaperWidth : tenthsToDesignPixels(page.Paper.width);
    const int paperH = m.PaperHeight > 0 ? m.PaperHeight : tenthsToDesignPixels(page.Paper.height);
    if (page.UseMargins || paperW <= 0 || paperH <= 0) {
        w.target = {0, 0, devW, devH};
    } else {
        // Stretched to the printable area less the margins.
        const PageMargins& g = page.Margins;
        const auto sx = [&](int v) { return roundEven(double(v) * devW / paperW); };
        const auto sy = [&](int v) { return roundEven(double(v) * devH / paperH); };
        w.target = {sx(g.Left), sy(g.Top), devW - sx(g.Right), devH - sy(g.Bottom)};
    }
    w.scaleX = paperW > 0 ? double(w.target.width()) / paperW : 1;
    w.scaleY = paperH > 0 ? double(w.target.height()) / paperH : 1;
}

void TfrPdfExportFilter::ExportObject(int, int, TfrView& object)
{
    Writer& w = *writer_;
    object.DeviceScaleX = w.scaleX;
    object.DeviceScaleY = w.scaleY;
    object.DeviceOffsetX = w.target.left;
    object.DeviceOffsetY = w.target.top;
    object.ToPrinter = true;
    object.Paint(*w.canvas);
}

void TfrPdfExportFilter::FinishExportPage() { writer_->canvas.reset(); }

void TfrPdfExportFilter::FinishExport()
{
    Writer& w = *writer_;
    if (w.firstPage) {
        // No pages: a PDF still needs one to be a file a reader opens.
        w.painter.begin(w.pdf.get());
    }
    w.canvas.reset();
    w.painter.end();
    writer_.reset();
}

} // namespace pemvora::report
