// The preview window as a thin view, offscreen: the buttons the report asks
// for, the zoom menu and button, keys reaching the session from any control,
// the page label, Exit, and the pages being gone once the window closes.

#include "tests/report/engine/prepared_fixture.h"
#include "tests/support/qt_application.h"
#include "tests/support/recording_ui.h"
#include "tests/support/screenshot.h"

#include "report/engine/run_control.h"
#include "report/preview/preview_widgets.h"
#include "report/printer/recording_printer.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace pemvora::report {
namespace {

// Three A4 pages, each with one text, and the cheque program's preview
// settings (modeless here, so that a test can drive the window).
class PreviewPages : public enginetest::PreparedFixture {
protected:
    void SetUp() override
    {
        testsupport::testApplication();
        PreparedFixture::SetUp();
        ui::installServices(&ui);
        for (int i = 0; i < 3; ++i) {
            pages.Add(*templatePage());
            auto text = printedText("Memo" + std::to_string(i), 40, 500, 200, 24,
                                    {"Amount on page " + std::to_string(i + 1)});
            pages.AppendObject(i, *text);
        }
        report.PreviewButtons = previewbutton::pbZoom | previewbutton::pbLoad | previewbutton::pbSave
            | previewbutton::pbPrint | previewbutton::pbFind | previewbutton::pbHelp | previewbutton::pbExit;
        report.ModifyPrepared = false;
        report.ModalPreview = false;
        report.Title = "Cheque";
    }
    void TearDown() override
    {
        ui::installServices(nullptr);
        PreparedFixture::TearDown();
    }

    testsupport::RecordingUi ui;
};

class PreviewWindow : public PreviewPages {
protected:
    void SetUp() override
    {
        PreviewPages::SetUp();
        form = new TfrPreviewForm(report);
        form->Show();
        form->resize(900, 700);
        QTest::qWait(50);
    }
    void TearDown() override
    {
        delete form.data();
        PreviewPages::TearDown();
    }

    QToolButton* button(const char* name) const { return form->Commands().Button(name); }
    QAction* zoomItem(const QString& text) const
    {
        for (QAction* a : form->Commands().ZoomMenu().actions())
            if (a->text() == text) return a;
        return nullptr;
    }
    QString pageLabel() const { return form->Area().PageLabel().text(); }

    QPointer<TfrPreviewForm> form;
};

TEST_F(PreviewWindow, TheButtonsAndMenuItemsAreThoseTheReportAsksFor)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Preview - Cheque"));
    for (const char* shown : {"Zoom", "Open", "Save", "Print", "Find", "Help", "Exit"})
        EXPECT_TRUE(button(shown)->isVisibleTo(form)) << shown;
    EXPECT_FALSE(button("PageSetup")->isVisibleTo(form));
    EXPECT_EQ(button("Open")->toolTip(), QStringLiteral("Open report"));
    EXPECT_EQ(button("Exit")->toolTip(), QStringLiteral("Close preview"));
    // No page editor is installed: the editing items stay hidden.
    for (const char* item : {"Edit page", "Add page", "Delete page"})
        EXPECT_FALSE(zoomItem(QString::fromLatin1(item))->isVisible()) << item;
    EXPECT_TRUE(zoomItem("100%")->isChecked());
    EXPECT_EQ(button("Zoom")->text(), QStringLiteral("100%"));
    EXPECT_EQ(pageLabel(), QStringLiteral("Page 1/3"));
}

TEST_F(PreviewWindow, ZoomMenuItemsChangeTheScaleAndTheButtonShowsIt)
{
    zoomItem("&Two pages")->trigger();
    const int boxWidth = form->Area().PageBox().width();
    const double expected = (boxWidth - 30) / (2.0 * pages.Page(0).Paper.metrics.PaperWidth);
    EXPECT_EQ(button("Zoom")->text(), QString::fromStdString(zoomCaption(expected)));
    EXPECT_TRUE(zoomItem("&Two pages")->isChecked());
    EXPECT_FALSE(zoomItem("100%")->isChecked());
    EXPECT_EQ(engine().PreviewZoomMode, 3);

    zoomItem("50%")->trigger();
    EXPECT_EQ(button("Zoom")->text(), QStringLiteral("50%"));
    EXPECT_TRUE(zoomItem("50%")->isChecked());
    EXPECT_DOUBLE_EQ(engine().PreviewZoom, 0.5);
    testsupport::saveScreenshot(*form, "preview-window-50");
}

TEST_F(PreviewWindow, KeysWorkWhereverTheFocusIsAndEscapeCloses)
{
    QWidget& box = form->Area().PageBox();
    QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(pageLabel(), QStringLiteral("Page 3/3"));
    QTest::keyClick(button("Find"), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(pageLabel(), QStringLiteral("Page 2/3"));
    const int before = form->Area().VerticalBar().value();
    QTest::keyClick(&form->Area().VerticalBar(), Qt::Key_Down);
    EXPECT_EQ(form->Area().VerticalBar().value(), before + 10);

    // Find through the session, F3 through the keyboard.
    ASSERT_TRUE(form->Session().Find("amount on", false, true));
    EXPECT_EQ(form->Session().Found()->page, 0);
    QTest::keyClick(&box, Qt::Key_F3);
    EXPECT_EQ(form->Session().Found()->page, 1);
    EXPECT_EQ(pageLabel(), QStringLiteral("Page 2/3"));

    QTest::keyClick(&box, Qt::Key_Escape);
    QTest::qWait(50);
    EXPECT_TRUE(form.isNull());
    EXPECT_EQ(PreparedPages(report).Count(), 0);
}

TEST_F(PreviewWindow, ThePageButtonsAndTheBarMoveBetweenPages)
{
    auto* down = form->Area().findChild<QToolButton*>("PageDown");
    auto* up = form->Area().findChild<QToolButton*>("PageUp");
    down->click();
    down->click();
    EXPECT_EQ(pageLabel(), QStringLiteral("Page 3/3"));
    up->click();
    EXPECT_EQ(pageLabel(), QStringLiteral("Page 2/3"));
    form->Area().VerticalBar().setValue(0);
    EXPECT_EQ(pageLabel(), QStringLiteral("Page 1/3"));
}

TEST_F(PreviewPages, PrintSendsThePagesShownToThePrinterAndKeepsThemShown)
{
    // Without a printer the button is off.
    {
        TfrPreviewForm form(report);
        form.Commands().ConfigureButtons();
        EXPECT_FALSE(form.Commands().Button("Print")->isEnabled());
    }
    resetPrinting(std::make_unique<RecordingPrinterBackend>(std::vector<FakePrinter>{{"Office"}}));
    auto& printer = dynamic_cast<RecordingPrinterBackend&>(printing().backend());
    report.ShowPrintDialog = false;   // the cheque program's setting: print at once
    report.DefaultCopies = 2;
    report.DefaultCollate = true;
    QPointer<TfrPreviewForm> form = new TfrPreviewForm(report);
    form->Show();
    form->Session().GoToPage(2);
    ASSERT_TRUE(form->Commands().Button("Print")->isEnabled());
    form->Commands().Button("Print")->click();
    ASSERT_EQ(printer.jobs().size(), 1u);
    EXPECT_EQ(printer.jobs()[0].pages.size(), 6u);   // 1, 2, 3 twice
    EXPECT_EQ(printer.jobs()[0].title, QStringLiteral("Cheque"));
    EXPECT_EQ(form->Session().PageCount(), 3);
    EXPECT_EQ(form->Session().CurrentPage(), 2);
    delete form.data();
}

TEST_F(PreviewPages, PageEditingIsOfferedWithAPageEditorAndModifyPrepared)
{
    std::vector<int> edited;
    engine().PreparedPageEditor = [&](TfrReport&, int index) {
        edited.push_back(index);
        return true;
    };
    report.ModifyPrepared = true;
    report.Pages.Add();   // the paper of added pages
    QPointer<TfrPreviewForm> form = new TfrPreviewForm(report);
    form->Show();
    QMenu& menu = form->Commands().ZoomMenu();
    const auto item = [&](const char* text) {
        for (QAction* a : menu.actions())
            if (a->text() == QLatin1String(text)) return a;
        return static_cast<QAction*>(nullptr);
    };
    form->Commands().PopupZoomMenu({0, 0}, true);
    EXPECT_TRUE(item("Edit page")->isVisible());
    menu.hide();

    form->Session().GoToPage(2);
    QTest::keyClick(&form->Area().PageBox(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(edited, (std::vector<int>{1}));

    // Deleting asks first; No keeps the page, Yes removes it and shows page 1.
    ui.answers = {ui::Answer::No, ui::Answer::Yes};
    item("Delete page")->trigger();
    EXPECT_EQ(form->Session().PageCount(), 3);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "Remove this page?");
    EXPECT_EQ(ui.shown[0].caption, "Confirm");
    form->Session().GoToPage(2);
    item("Delete page")->trigger();
    EXPECT_EQ(form->Session().PageCount(), 2);
    EXPECT_EQ(form->Area().PageLabel().text(), QStringLiteral("Page 1/2"));

    item("Add page")->trigger();
    EXPECT_EQ(form->Session().PageCount(), 3);

    // Without ModifyPrepared nothing of it is offered.
    report.ModifyPrepared = false;
    form->Commands().PopupZoomMenu({0, 0}, true);
    EXPECT_FALSE(item("Edit page")->isVisible());
    menu.hide();
    QTest::keyClick(&form->Area().PageBox(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(edited.size(), 1u);
    delete form.data();
}

using PreviewPresenter = PreviewPages;

TEST_F(PreviewPresenter, ShowPreparedReportOpensTheWindowOrTheEmbeddedControl)
{
    InstallPreview();
    ShowPreparedReport(report);
    TfrPreviewForm* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<TfrPreviewForm*>(w); f && f->isVisible()) shown = f;
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->windowTitle(), QStringLiteral("Preview - Cheque"));
    EXPECT_EQ(shown->Session().PageCount(), 3);
    QPointer<TfrPreviewForm> closing = shown;
    shown->Commands().Button("Exit")->click();
    QTest::qWait(50);
    EXPECT_TRUE(closing.isNull());
    EXPECT_EQ(PreparedPages(report).Count(), 0);

    // A report with an embedded control shows its pages there.
    for (int i = 0; i < 2; ++i) pages.Add(*templatePage());
    QWidget host;
    auto* control = new TfrPreview(&host);
    std::vector<int> told;
    control->OnPageChanged = [&](TfrPreview&, int page) { told.push_back(page); };
    host.resize(600, 500);
    report.Preview = control;
    ShowPreparedReport(report);
    host.show();
    QTest::qWait(50);
    ASSERT_NE(control->Session(), nullptr);
    EXPECT_EQ(control->Session()->PageCount(), 2);
    EXPECT_FALSE(control->Commands()->Toolbar().isVisible());
    control->Commands()->HandleKey(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(control->CurrentPage(), 2);
    EXPECT_EQ(told.back(), 2);
    control->Disconnect();
    EXPECT_EQ(PreparedPages(report).Count(), 2);
    report.Preview = nullptr;
}

} // namespace
} // namespace pemvora::report
