// The designer window without a screen: the component, the keys on the page,
// the page options dialog, the inspector, the band dialog and closing.

#include "tests/report/designer/cheque_template.h"

#include "report/designer/designer_dialogs.h"
#include "report/designer/designer_form.h"
#include "report/designer/designer_page.h"
#include "report/designer/object_inspector.h"
#include "report/designer/tfr_designer.h"
#include "report/engine/prepared_pages.h"
#include "report/engine/run_control.h"
#include "report/model/engine_context.h"
#include "report/printer/printer_backend.h"
#include "report/printer/printing_context.h"
#include "tests/support/qt_application.h"
#include "tests/support/recording_ui.h"
#include "tests/support/test_pictures.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace pemvora::report::test {
namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::testApplication();
        QStandardPaths::setTestModeEnabled(true);
        resetEngine();
        resetPrinting(std::make_unique<VirtualPrinterBackend>());
        resetDesignerSession();
        buildChequeTemplate(report);
        form = std::make_unique<TfrDesignerForm>(report);
        payee = report.FindObject("Payee");
    }
    void TearDown() override
    {
        if (form) form->document().setModified(false);
    }

    void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(form->pageWidget(), Qt::Key(k), m); }

    testsupport::ScopedRecordingUi ui;
    TfrReport report;
    std::unique_ptr<TfrDesignerForm> form;
    TfrView* payee = nullptr;
};

TEST(DesignerComponent, OnlyOneMayExistAndItOpensTheDesignerForDesignReport)
{
    testsupport::testApplication();
    resetEngine();
    resetPrinting(std::make_unique<VirtualPrinterBackend>());
    // Without the component DesignReport shows nothing.
    {
        TfrReport nothing;
        EXPECT_EQ(DesignReport(nothing), kModalCancel);
    }
    {
        TfrDesigner designer;
        EXPECT_EQ(TfrDesigner::instance(), &designer);
        EXPECT_TRUE(engine().Presenters.Designer);
        try {
            TfrDesigner second;
            FAIL() << "a second designer component was made";
        } catch (const DesignerError& e) {
            EXPECT_STREQ(e.what(), "You already have one TfrDesigner component");
        }
        EXPECT_EQ(TfrDesigner::instance(), &designer);

        // What DesignReport calls: the window, modal, until it is closed.
        TfrReport report;
        buildChequeTemplate(report);
        report.TemplateFileName = "/tmp/carry1.frf";
        QString caption;
        bool shown = false;
        designer.OnShow = [&] { shown = true; };
        QTimer::singleShot(200, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* form = qobject_cast<TfrDesignerForm*>(w); form && form->isVisible()) {
                    caption = form->windowTitle();
                    form->close();
                }
        });
        EXPECT_EQ(DesignReport(report), kModalCancel);
        EXPECT_EQ(caption, QStringLiteral("Designer - carry1.frf"));
        EXPECT_TRUE(shown);
    }
    EXPECT_EQ(TfrDesigner::instance(), nullptr);
    EXPECT_FALSE(engine().Presenters.Designer);
}

TEST_F(WindowTest, KeysOnThePageRunTheCommands)
{
    form->document().selectOnly(*payee);
    key(Qt::Key_Right, Qt::ControlModifier);
    key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(payee->Left, 73);
    EXPECT_EQ(payee->Top, 73);
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(payee->Width, 289);
    key(Qt::Key_3, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(payee->FrameWidth, 3.0f);
    key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(payee->FrameTyp, frame::All);
    key(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(static_cast<TfrMemoView*>(payee)->Font.Style, fontstyle::Bold);
    key(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(static_cast<TfrMemoView*>(payee)->Font.Style, 0);
    // A plain arrow walks to the nearest object: the amount below.
    key(Qt::Key_Down);
    EXPECT_EQ(form->document().singleSelected(), report.FindObject("Amount"));
    key(Qt::Key_Delete);
    EXPECT_EQ(report.FindObject("Amount"), nullptr);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Designer - Untitled"));
    // Esc takes the selection tool again.
    form->interaction().setTool(DesignTool::Text, true);
    key(Qt::Key_Escape);
    EXPECT_EQ(form->interaction().tool(), DesignTool::Select);
}

TEST_F(WindowTest, TheMenusCarryTheirShortcutsAndTheToolbarsTheirHints)
{
    const struct {
        const char* caption;
        QKeySequence keys;
    } items[] = {
        {"&New...", QKeySequence(Qt::CTRL | Qt::Key_N)},  {"&Open...", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"&Save", QKeySequence(Qt::CTRL | Qt::Key_S)},    {"Pre&view", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z)},    {"&Redo", QKeySequence(Qt::CTRL | Qt::Key_Y)},
        {"C&ut", QKeySequence(Qt::CTRL | Qt::Key_X)},     {"&Copy", QKeySequence(Qt::CTRL | Qt::Key_C)},
        {"&Paste", QKeySequence(Qt::CTRL | Qt::Key_V)},   {"&Select all", QKeySequence(Qt::CTRL | Qt::Key_A)},
        {"&Help contents", QKeySequence(Qt::Key_F1)},     {"Help &tool", QKeySequence(Qt::SHIFT | Qt::Key_F1)},
    };
    for (const auto& item : items) {
        QAction* a = form->action(QString::fromLatin1(item.caption));
        ASSERT_NE(a, nullptr) << item.caption;
        EXPECT_EQ(a->shortcut(), item.keys) << item.caption;
    }
    for (const char* hint : {"New report", "Open report", "Save report", "Preview report", "Undo last action",
                             "Redo cancelled action", "Bring to front", "Send to back", "Fit to grid", "Close designer",
                             "Left align", "Width align", "Normal text / 90 degrees", "Top frame line", "No frame",
                             "Insert rectangle object", "Draw lines", "Align left edges", "Space equally, vertically"})
        EXPECT_NE(form->action(QString::fromLatin1(hint)), nullptr) << hint;
}

TEST_F(WindowTest, PreviewRunsTheReportIntoThePreviewAndIsOffWithoutOne)
{
    QAction* preview = form->action(QStringLiteral("Preview report"));
    EXPECT_FALSE(preview->isEnabled());
    EXPECT_NE(preview->toolTip().indexOf(QStringLiteral("not available")), -1);
    preview->trigger();   // off: nothing runs, nothing is asked
    EXPECT_TRUE(ui.shown.empty());

    // What the cheque window hands over before a run.
    for (const char* name : {"dskdw", "dx", "mm", "year", "month", "day", "dkhh", "dyhzh", "dskyt"})
        engine().Variables.SetVariable(name, Value("1"));
    TfrReport* previewed = nullptr;
    int pagesShown = 0;
    engine().Presenters.Preview = [&](TfrReport& r, const std::string&) {
        previewed = &r;
        pagesShown = PreparedPages(r).Count();
    };
    form->document().selectOnly(*payee);   // the buttons are brought up to date
    form->document().moveSelection(4, 0);
    ASSERT_TRUE(preview->isEnabled());
    EXPECT_EQ(preview->toolTip(), QStringLiteral("Preview report"));
    preview->trigger();
    EXPECT_NE(previewed, nullptr);
    EXPECT_EQ(pagesShown, 1);
    EXPECT_TRUE(ui.shown.empty()) << ui.shown.front().text;
    // The designer's objects and its undo entries are the ones it had.
    EXPECT_EQ(report.FindObject("Payee"), payee);
    EXPECT_TRUE(payee->Selected);
    EXPECT_TRUE(form->document().undo());
    EXPECT_EQ(payee->Left, 72);
    engine().Presenters.Preview = nullptr;
}

TEST_F(WindowTest, PageOptionsDialogReadsMillimetresAndRefusesTextThatIsNotANumber)
{
    PageOptionsDialog dialog(form->document());
    EXPECT_EQ(dialog.widthBox()->text(), QStringLiteral("225"));
    EXPECT_EQ(dialog.heightBox()->text(), QStringLiteral("80"));
    dialog.widthBox()->setText(QStringLiteral("190"));
    dialog.marginBox(0)->setText(QStringLiteral("10"));
    dialog.marginBox(1)->setText(QStringLiteral("abc"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);   // still open
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(report.Pages.Items(0).Paper.width, 2250);
    EXPECT_EQ(report.Pages.Items(0).Margins.Left, 0);

    dialog.marginBox(1)->setText(QStringLiteral("2,5"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(report.Pages.Items(0).Paper.width, 1900);
    EXPECT_EQ(report.Pages.Items(0).Margins.Left, 36);
    EXPECT_EQ(report.Pages.Items(0).Margins.Top, 9);
}

TEST_F(WindowTest, TheInspectorShowsAndTakesLengthsInTheDesignersUnits)
{
    form->document().options().Units = 1;
    form->document().selectOnly(*payee);
    ObjectInspector* inspector = form->inspector();
    inspector->refresh();
    const int row = inspector->rowOf(QStringLiteral("Left"));
    ASSERT_GE(row, 0);
    EXPECT_EQ(inspector->item(row, 1)->text(), QStringLiteral("20.00"));   // 72 pixels
    inspector->item(row, 1)->setText(QStringLiteral("25,4"));
    EXPECT_EQ(payee->Left, 91);
    // Nothing selected: the page's properties.
    form->document().clearSelection();
    inspector->refresh();
    EXPECT_GE(inspector->rowOf(QStringLiteral("Orientation")), 0);
    EXPECT_LT(inspector->rowOf(QStringLiteral("Name")), 0);
}

TEST_F(WindowTest, TheMemoEditorTakesLinesOfGbkTextAndKeepsTextGbkCannotHoldOpen)
{
    const StringList memo{"\xCA\xD5\xBF\xEE\xC8\xCB", "[dskdw]"};   // 收款人, then the payee
    TextLinesDialog dialog(QStringLiteral("Memo"), memo);
    EXPECT_EQ(dialog.editor()->toPlainText(), QStringLiteral("收款人\n[dskdw]"));

    dialog.editor()->setPlainText(QStringLiteral("收款人：[dskdw]\n\n第三行 \U0001F600"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);   // still open, the text kept
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_NE(ui.shown[0].text.find("\U0001F600"), std::string::npos) << ui.shown[0].text;
    EXPECT_EQ(dialog.editor()->toPlainText(), QStringLiteral("收款人：[dskdw]\n\n第三行 \U0001F600"));

    dialog.editor()->setPlainText(QStringLiteral("收款人：[dskdw]\n\n第三行"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const std::optional<StringList> lines = dialog.lines();
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, (StringList{"\xCA\xD5\xBF\xEE\xC8\xCB\xA3\xBA[dskdw]", "", "\xB5\xDA\xC8\xFD\xD0\xD0"}));

    // Given to the object as one undoable step.
    ASSERT_TRUE(form->document().setMemo(*payee, *lines));
    EXPECT_EQ(payee->Memo, *lines);
    ASSERT_TRUE(form->document().undo());
    EXPECT_EQ(payee->Memo, (StringList{"[dskdw]"}));
}

TEST_F(WindowTest, TheBandDialogOffersTheKindsInTwoColumnsAndPicksTheFirstEnabled)
{
    std::array<bool, 22> enabled{};
    enabled.fill(true);
    enabled[0] = enabled[1] = false;
    BandDialog dialog(enabled);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Insert new band"));
    EXPECT_EQ(dialog.chosenKind(), 2);
    const QList<QRadioButton*> buttons = dialog.findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 22);
    EXPECT_EQ(buttons[5]->text(), QStringLiteral("Master data"));
    EXPECT_FALSE(buttons[0]->isEnabled());
}

TEST_F(WindowTest, ThePageShowsTheObjectsAsTheyDrawThemselvesAndTheSelectionsHandles)
{
    TfrPage& page = report.Pages.Items(0);
    auto& band = page.Add<TfrBandView>();
    band.SetBandKind(bandkind::MasterData);
    band.Name = "MasterData1";
    band.PlaceAt(0, 200, 600, 40);
    auto& line = page.Add<TfrLineView>();
    line.PlaceAt(72, 260, 300, 0);
    line.FrameWidth = 2;
    restorePageOrder(page);
    form->document().selectOnly(*payee);
    form->resize(1000, 700);
    form->show();
    TfrDesignerPage* surface = form->pageWidget();
    const QImage shot = surface->grab().toImage();
    if (const auto path = testsupport::testPicturePath("designer-page.png")) shot.save(*path);

    const auto at = [&](Point p) { return QColor(shot.pixel(surface->toWidget(p))); };
    // The band is hatched, the paper outside the objects white, the line and the
    // handles black.
    int marked = 0;
    for (int x = 300; x < 340; ++x)
        if (at({x, 225}) != QColor(Qt::white)) ++marked;
    EXPECT_GT(marked, 0);
    EXPECT_EQ(at({601, 281}), QColor(Qt::white));   // between the grid dots
    EXPECT_EQ(at({200, 260}), QColor(Qt::black));
    EXPECT_EQ(at({payee->Left + payee->Width, payee->Top + payee->Height}), QColor(Qt::black));
}

TEST_F(WindowTest, ClosingAModifiedTemplateAsksAndNoClosesWithCancel)
{
    form->show();
    form->document().selectOnly(*payee);
    form->document().moveSelection(4, 0);
    ui.answers = {ui::Answer::Cancel};
    EXPECT_FALSE(form->close());
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "Save changes to Untitled?");
    ui.answers = {ui::Answer::No};
    EXPECT_TRUE(form->close());
    EXPECT_EQ(form->result(), ModalResult::Cancel);
}

} // namespace
} // namespace pemvora::report::test
