// The windows of a run over Qt Widgets: the progress window shows the run
// and its Cancel stops it at the next page; the print dialog's presets,
// choices and printer list over the engine's printer wrapper.

#include "tests/report/engine/run_fixture.h"
#include "tests/support/screenshot.h"

#include "report/canvas/fontmap.h"
#include "report/engine/print_dialog_widgets.h"
#include "report/engine/progress_window_widgets.h"
#include "report/printer/recording_printer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    pemvora::report::loadFontConfiguration();
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform == nullptr || *platform == '\0') ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

namespace pemvora::report::enginetest {
namespace {

using namespace bandkind;

TfrProgressForm* shownProgressWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* form = qobject_cast<TfrProgressForm*>(w); form && form->isVisible() && form->isModal()) return form;
    return nullptr;
}

class RunWindows : public RunFixture {
protected:
    void SetUp() override
    {
        RunFixture::SetUp();
        band(PageHeader, 0, 20, "PageHeader1").Flags = flag::OnFirstPage;
        text("Header", 20, 0, {"H[PAGE#]"});
        TfrBandView& rows = band(MasterData, 100, 20, "MasterData1");
        rows.SetProperty("DataSource", "40");
        text("Row", 20, 100, {"R[LINE#]"});
    }
};

TEST_F(RunWindows, CancelInTheProgressWindowStopsTheRun)
{
    installProgressWindow();
    report.Title = "List";
    std::vector<std::string> seen;
    report.OnBeginPage = [&](int pageNo) {
        // After Cancel the window is gone; the run goes on to its next check.
        auto* form = shownProgressWindow();
        if (form == nullptr) return;
        seen.push_back(form->windowTitle().toStdString() + " | " + form->label1()->text().toStdString());
        if (pageNo == 1) {
            testsupport::saveScreenshot(*form, "progress_window");
            // The user's click, seen at the run's next look at the window.
            QTimer::singleShot(0, form->cancelButton(), &QPushButton::click);
        }
    };
    EXPECT_FALSE(PrepareReport(report));
    EXPECT_EQ(pageCount(), 1);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), "Preparing report - List | Processing page:  1");
    EXPECT_EQ(shownProgressWindow(), nullptr);

    // Without Cancel the run goes to its end inside the same kind of window.
    report.OnBeginPage = nullptr;
    EXPECT_TRUE(PrepareReport(report));
    EXPECT_EQ(pageCount(), 5);
}

FakePrinter printerNamed(const char* name)
{
    FakePrinter f;
    f.name = name;
    return f;
}

class PrintDialogTest : public RunWindows {
protected:
    void SetUp() override
    {
        RunWindows::SetUp();
        resetPrinting(std::make_unique<RecordingPrinterBackend>(
            std::vector<FakePrinter>{printerNamed("Office"), printerNamed("Lab")}));
        report.DefaultCopies = 3;
        report.DefaultCollate = false;
    }
};

TEST_F(PrintDialogTest, PresetsAndChoices)
{
    TfrPrintForm form(report, 4);
    form.show();
    testsupport::saveScreenshot(form, "print_dialog");
    EXPECT_EQ(form.windowTitle(), "Print");
    ASSERT_EQ(form.printers()->count(), 3);
    EXPECT_EQ(form.printers()->itemText(0), "Office");
    EXPECT_EQ(form.printers()->itemText(2), "Virtual printer");
    EXPECT_EQ(form.printers()->currentIndex(), 0);
    EXPECT_TRUE(form.allPages()->isChecked());
    EXPECT_EQ(form.copies()->value(), 3);
    EXPECT_FALSE(form.collate()->isChecked());
    EXPECT_EQ(form.printPages()->itemText(1), "Odd pages");

    PrintChoice c = form.Choice();
    EXPECT_EQ(c.Pages, "");
    EXPECT_EQ(c.Copies, 3);
    EXPECT_FALSE(c.Collate);
    EXPECT_EQ(c.PrintPagesMode, printpages::All);

    form.currentPage()->setChecked(true);
    EXPECT_EQ(form.Choice().Pages, "4");

    // Entering the edit box chooses "Pages:".
    form.pageListEdit()->setText("1,3-5");
    QFocusEvent focusIn(QEvent::FocusIn);
    QApplication::sendEvent(form.pageListEdit(), &focusIn);
    EXPECT_TRUE(form.pageList()->isChecked());
    form.copies()->stepDown();
    form.copies()->stepDown();
    form.copies()->stepDown();
    form.collate()->setChecked(true);
    form.printPages()->setCurrentIndex(2);
    c = form.Choice();
    EXPECT_EQ(c.Pages, "1,3-5");
    EXPECT_EQ(c.Copies, 1) << "never below one";
    EXPECT_TRUE(c.Collate);
    EXPECT_EQ(c.PrintPagesMode, printpages::Even);
}

TEST_F(PrintDialogTest, APrinterChosenIsSelectedAtOnceAndCancelPutsTheOldOneBack)
{
    TfrPrinter& printer = printing().printer();
    {
        TfrPrintForm form(report, 1);
        emit form.printers()->activated(1);
        EXPECT_EQ(printer.PrinterIndex, 1);
        form.reject();
    }
    EXPECT_EQ(printer.PrinterIndex, 0);
    {
        TfrPrintForm form(report, 1);
        emit form.printers()->activated(1);
        form.accept();
    }
    EXPECT_EQ(printer.PrinterIndex, 1);
}

} // namespace
} // namespace pemvora::report::enginetest
