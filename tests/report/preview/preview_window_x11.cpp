// The preview window on a real display, for preview_window_x11.sh.
//
//   preview_window_x11 --sample OUT.frp   writes a 3-page prepared report
//   preview_window_x11 FILE.frp           shows it in the preview window (modal,
//                                          as the cheque program shows its pages)
//
// While the window is open, writing a name into $PEMVORA_SHOT_DIR/request makes
// the program save a picture of the whole screen as <name>.png there (popup
// menus and dialogs included) and remove the request. After the window closes
// the program prints the state a script checks: whether it opened maximised,
// the zoom it closed with, the page shown, the found text.

#include "platform/text/gbk.h"
#include "platform/ui/qtuiservices.h"
#include "report/canvas/fontmap.h"
#include "report/engine/prepared_pages.h"
#include "report/model/engine_context.h"
#include "report/model/memo.h"
#include "report/model/report.h"
#include "report/preview/preview_widgets.h"
#include "report/printer/printer_backend.h"
#include "report/printer/printing_context.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <iostream>

using namespace pemvora::report;

namespace {

void addText(TfrEMFPages& pages, int page, std::string name, int left, int top, int width, int height,
             StringList lines, int size = 10, bool bold = false, bool framed = false)
{
    TfrMemoView memo;
    memo.Name = std::move(name);
    memo.PlaceAt(left, top, width, height);
    memo.Font.Size = size;
    if (bold) memo.Font.Style = fontstyle::Bold;
    if (framed) memo.FrameTyp = frame::All;
    memo.Memo = {"[expression]"};
    memo.WorkLines = std::move(lines);
    pages.AppendObject(page, memo);
}

// Three A4 pages of a payment list: a title, a header row, 30 rows per page,
// a page footer; page 2 holds the subtotal the script searches for.
void writeSample(const std::string& fileName)
{
    TfrReport report;
    TfrEMFPages& pages = PreparedPages(report);
    TfrPage paper;
    for (int p = 0; p < 3; ++p) {
        pages.Add(paper);
        addText(pages, p, "Title", 40, 40, 600, 30, {"Payment list"}, 16, true);
        addText(pages, p, "HeadNo", 40, 90, 60, 20, {"No."}, 10, true, true);
        addText(pages, p, "HeadPayee", 100, 90, 300, 20, {"Payee"}, 10, true, true);
        addText(pages, p, "HeadAmount", 400, 90, 150, 20, {"Amount"}, 10, true, true);
        for (int r = 0; r < 30; ++r) {
            const int n = p * 30 + r + 1;
            const int top = 110 + r * 24;
            addText(pages, p, "No", 40, top, 60, 24, {std::to_string(n)}, 10, false, true);
            addText(pages, p, "Payee", 100, top, 300, 24, {"Payee " + std::to_string(n)}, 10, false, true);
            addText(pages, p, "Amount", 400, top, 150, 24, {std::to_string(n * 125) + ".00"}, 10, false, true);
        }
        if (p == 1) addText(pages, p, "Subtotal", 250, 850, 300, 24, {"Subtotal of page 2: 208,125.00"}, 11, true);
        addText(pages, p, "Footer", 40, 1000, 200, 20, {"Page " + std::to_string(p + 1) + " of 3"});
        addText(pages, p, "URLNext", 450, 1000, 120, 20, {p < 2 ? "Next page" : "First page"}, 10, false);
    }
    pages.SaveToFile(fileName);
}

} // namespace

int main(int argc, char** argv)
{
    loadFontConfiguration();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pemvora-preview-check"));
    const QStringList args = app.arguments();
    resetPrinting(std::make_unique<VirtualPrinterBackend>());
    if (args.size() == 3 && args[1] == QLatin1String("--sample")) {
        writeSample(args[2].toStdString());
        return 0;
    }
    if (args.size() != 2) {
        std::cerr << "usage: preview_window_x11 --sample OUT.frp | FILE.frp\n";
        return 2;
    }
    pemvora::ui::QtUiServices services;
    pemvora::ui::setProgramServices(&services);

    TfrReport report;
    report.Title = "Payment list";
    try {
        LoadPreparedReport(report, args[1].toStdString());
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }

    const QString shots = qEnvironmentVariable("PEMVORA_SHOT_DIR");
    QTimer shooter;
    if (!shots.isEmpty()) {
        QObject::connect(&shooter, &QTimer::timeout, [&] {
            QFile request(shots + QStringLiteral("/request"));
            if (!request.open(QIODevice::ReadOnly)) return;
            const QString name = QString::fromUtf8(request.readAll()).trimmed();
            request.close();
            if (name.isEmpty()) return;
            QGuiApplication::primaryScreen()->grabWindow(0).save(shots + QLatin1Char('/') + name + ".png");
            request.remove();
        });
        shooter.start(100);
    }

    std::string state;
    {
        TfrPreviewForm form(report);
        bool openedMaximized = false;
        QTimer::singleShot(0, &form, [&] {
            openedMaximized = form.isMaximized();
            form.activateWindow();
            form.raise();
        });
        form.Show();
        const PreviewSession& session = form.Session();
        const auto& found = session.Found();
        state = "opened maximised: " + std::string(openedMaximized ? "yes" : "no") + '\n'
              + "zoom at close: " + zoomCaption(session.CurrentZoom().factor) + '\n'
              + "page at close: " + session.PageLabel() + '\n' + "found: "
              + (found ? pemvora::text::gbkToUtf8(found->text) + " on page " + std::to_string(found->page + 1)
                       : std::string("nothing"))
              + '\n';
    }
    std::cout << state << "pages after close: " << PreparedPages(report).Count() << std::endl;
    return 0;
}
