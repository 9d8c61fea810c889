// The preview window as a thin view, offscreen: the buttons the report asks
// for, the zoom menu and button, keys reaching the session from any control,
// the page label, Exit, and the pages being gone once the window closes.

#include "tests/report/engine/prepared_fixture.h"
#include "tests/support/qt_application.h"
#include "tests/support/recording_ui.h"
#include "tests/support/screenshot.h"

#include "report/preview/preview_widgets.h"

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

class PreviewWindow : public enginetest::PreparedFixture {
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
        // The cheque program's settings: modal there; here modeless so the
        // test can drive the window.
        report.PreviewButtons = previewbutton::pbZoom | previewbutton::pbLoad | previewbutton::pbSave
            | previewbutton::pbPrint | previewbutton::pbFind | previewbutton::pbHelp | previewbutton::pbExit;
        report.ModifyPrepared = false;
        report.ModalPreview = false;
        report.Title = "Cheque";
        form = new TfrPreviewForm(report);
        form->Show();
        form->resize(900, 700);
        QTest::qWait(50);
    }
    void TearDown() override
    {
        delete form.data();
        ui::installServices(nullptr);
        PreparedFixture::TearDown();
    }

    QToolButton* button(const char* name) const { return form->Commands().Button(name); }
    QAction* zoomItem(const QString& text) const
    {
        for (QAction* a : form->Commands().ZoomMenu().actions())
            if (a->text() == text) return a;
        return nullptr;
    }
    QString pageLabel() const { return form->Area().PageLabel().text(); }

    testsupport::RecordingUi ui;
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

} // namespace
} // namespace pemvora::report
