// The designer window under a real X display, driven by xdotool as a person
// drives it: open a cheque template (225 x 80 mm), drag the payee field 5 mm to the right
// with the mouse, nudge it with the arrow keys, save with Ctrl+S; the file
// holds the new position (pemvora-cli dump shows it) and reopening shows it
// there. Run under xvfb-run; without a display the tests are skipped.

#include "tests/report/designer/cheque_template.h"

#include "report/canvas/fontmap.h"
#include "report/designer/designer_dialogs.h"
#include "report/designer/designer_form.h"
#include "report/designer/designer_page.h"
#include "report/designer/designer_settings.h"
#include "report/designer/text_editor_window.h"
#include "report/designer/tfr_designer.h"
#include "report/model/engine_context.h"
#include "report/preview/preview_widgets.h"
#include "report/printer/printer_backend.h"
#include "report/printer/printing_context.h"
#include "tests/support/recording_ui.h"
#include "tests/support/test_pictures.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>

namespace pemvora::report::test {
namespace {

// Runs xdotool with the arguments while the window keeps handling events
// (modal dialogs that the input opens included).
bool xdotool(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForStarted(5000)) return false;
    QElapsedTimer t;
    t.start();
    while (p.state() != QProcess::NotRunning && t.elapsed() < 30000) QTest::qWait(20);
    QTest::qWait(200);
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

nlohmann::json dump(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral(PEMVORA_CLI), {QStringLiteral("dump"), file});
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return nlohmann::json::parse(p.readAllStandardOutput().toStdString());
}

const nlohmann::json* objectNamed(const nlohmann::json& doc, const std::string& name)
{
    for (const auto& o : doc["pages"][0]["objects"])
        if (o["name"] == name) return &o;
    return nullptr;
}

void savePicture(QWidget& w, const char* name)
{
    if (const auto path = testsupport::testPicturePath(name)) w.grab().save(*path);
}

class DesignerOnScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qgetenv("DISPLAY").isEmpty()) GTEST_SKIP() << "no X display (run under xvfb-run)";
        ASSERT_TRUE(dir.isValid());
        resetEngine();
        resetPrinting(std::make_unique<VirtualPrinterBackend>());
        resetDesignerSession();
        file = dir.filePath(QStringLiteral("carry1.frf"));
        TfrReport cheque;
        buildChequeTemplate(cheque);
        cheque.SaveToFile(file.toStdString());
        // The operator's grid: 18 pixels (5 mm), aligned.
        DesignerWindowSettings settings = readDesignerSettings();
        settings.Grid = {true, true, 18};
        writeDesignerSettings(settings);
    }

    // The page point's place on the screen.
    static QPoint onScreen(TfrDesignerForm& form, Point p)
    {
        return form.pageWidget()->mapToGlobal(form.pageWidget()->toWidget(p));
    }

    static QString num(int v) { return QString::number(v); }

    QTemporaryDir dir;
    QString file;
    TfrDesigner component;
};

TEST_F(DesignerOnScreen, DragThePayeeFiveMillimetresNudgeItSaveAndReopen)
{
    component.HideDisabledButtons = false;   // as the cheque window has it
    TfrReport report;
    ASSERT_TRUE(report.LoadFromFile(file.toStdString()));
    {
        TfrDesignerForm form(report, &component);
        form.showDesigner();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();
        QTest::qWait(300);
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Designer - carry1.frf"));
        TfrView* payee = report.FindObject("Payee");
        ASSERT_NE(payee, nullptr);
        savePicture(form, "designer-opened.png");

        // The page options of the cheque's paper, and the band dialog, as they look.
        {
            PageOptionsDialog options(form.document(), &form);
            options.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&options));
            EXPECT_EQ(options.paperList()->currentText(), QStringLiteral("Custom"));
            EXPECT_EQ(options.widthBox()->text(), QStringLiteral("225"));
            EXPECT_EQ(options.heightBox()->text(), QStringLiteral("80"));
            savePicture(options, "designer-page-options.png");
            options.reject();
        }
        {
            BandDialog bands(enabledBandKinds(report, 0), &form);
            bands.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&bands));
            savePicture(bands, "designer-band-dialog.png");
            bands.reject();
        }

        // Press inside the field, drag 18 pixels (5 mm) right in small steps.
        const QPoint at = onScreen(form, {payee->Left + 20, payee->Top + 10});
        ASSERT_TRUE(xdotool({"mousemove", num(at.x()), num(at.y()), "sleep", "0.2", "mousedown", "1", "sleep", "0.2",
                             "mousemove", num(at.x() + 5), num(at.y()), "sleep", "0.1", "mousemove", num(at.x() + 11),
                             num(at.y() + 1), "sleep", "0.1", "mousemove", num(at.x() + 18), num(at.y()), "sleep",
                             "0.2", "mouseup", "1"}));
        EXPECT_EQ(payee->Left, 72 + 18);
        EXPECT_EQ(payee->Top, 72);
        EXPECT_TRUE(payee->Selected);
        EXPECT_EQ(form.document().undoCount(), 1u);
        savePicture(form, "designer-dragged.png");

        // Nudge: two pixels right, one down.
        const QString window = num(int(form.winId()));
        ASSERT_TRUE(xdotool({"windowfocus", "--sync", window}));
        ASSERT_TRUE(xdotool({"key", "--clearmodifiers", "ctrl+Right", "ctrl+Right", "ctrl+Down"}));
        EXPECT_EQ(payee->Left, 92);
        EXPECT_EQ(payee->Top, 73);

        ASSERT_TRUE(xdotool({"key", "--clearmodifiers", "ctrl+s"}));
        EXPECT_FALSE(form.document().modified());
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Designer - carry1.frf"));

        // Ctrl+P: the cheque as it prints, in the preview window; closing it
        // comes back to the designer with its objects and undo as they were.
        for (const char* name : {"dskdw", "dx", "mm", "year", "month", "day", "dkhh", "dyhzh", "dskyt"})
            engine().Variables.SetVariable(name, Value(std::string("[") + name + "]"));
        engine().Variables.SetVariable("dskdw", Value(std::string("\xB6\xAB\xB7\xBD\xB9\xAB\xCB\xBE")));
        InstallPreview();
        form.document().selectOnly(*payee);   // the buttons follow the installed preview
        QString previewTitle;
        QTimer::singleShot(1500, [&] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                previewTitle = w->windowTitle();
                savePicture(*w, "designer-preview.png");
                w->close();
            }
        });
        ASSERT_TRUE(xdotool({"key", "--clearmodifiers", "ctrl+p"}));
        QTest::qWait(2500);
        EXPECT_FALSE(previewTitle.isEmpty());
        EXPECT_EQ(report.FindObject("Payee"), payee);
        EXPECT_EQ(payee->Left, 92);
        EXPECT_FALSE(form.document().modified());
        engine().Presenters.Preview = nullptr;
        form.close();
    }

    // The file as pemvora-cli reads it: exactly the new position, the rest as it was.
    const nlohmann::json saved = dump(file);
    EXPECT_EQ(saved["pages"][0]["paperSize"], kCustomPaper);
    EXPECT_EQ(saved["pages"][0]["paperWidth"], 2250);
    EXPECT_EQ(saved["pages"][0]["paperHeight"], 800);
    const nlohmann::json* payee = objectNamed(saved, "Payee");
    ASSERT_NE(payee, nullptr);
    EXPECT_EQ((*payee)["left"], 92);
    EXPECT_EQ((*payee)["top"], 73);
    EXPECT_EQ((*payee)["width"], 288);
    EXPECT_EQ((*payee)["memo"][0], "[dskdw]");
    for (const ChequeField& f : kChequeFields) {
        if (std::string(f.name) == "Payee") continue;
        const nlohmann::json* o = objectNamed(saved, f.name);
        ASSERT_NE(o, nullptr) << f.name;
        EXPECT_EQ((*o)["left"], f.left) << f.name;
        EXPECT_EQ((*o)["top"], f.top) << f.name;
    }

    // Reopened, the field is there.
    TfrReport reopened;
    ASSERT_TRUE(reopened.LoadFromFile(file.toStdString()));
    TfrDesignerForm again(reopened, &component);
    again.showDesigner();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    QTest::qWait(300);
    TfrView* field = reopened.FindObject("Payee");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->Left, 92);
    EXPECT_EQ(field->Top, 73);
    // A click on the field's new place selects it.
    const QPoint click = onScreen(again, {field->Left + 3, field->Top + 3});
    ASSERT_TRUE(xdotool({"mousemove", num(click.x()), num(click.y()), "click", "1"}));
    EXPECT_TRUE(field->Selected);
    savePicture(again, "designer-reopened.png");
    again.close();
}

// A double click on the payee field opens the text editor; the expression
// builder, reached from its button, inserts the capital amount variable
// typed as dx at the end of the field's text; Ctrl+Enter is OK, Ctrl+S saves,
// and the file holds the new text.
TEST_F(DesignerOnScreen, TheTextEditorInsertsAVariableIntoThePayeeFieldAndTheTemplateKeepsIt)
{
    TfrReport report;
    ASSERT_TRUE(report.LoadFromFile(file.toStdString()));
    {
        TfrDesignerForm form(report, &component);
        form.showDesigner();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();
        QTest::qWait(300);
        TfrView* payee = report.FindObject("Payee");
        ASSERT_NE(payee, nullptr);

        // While the editor is open (modally, inside the double click), timers
        // drive it: the builder's button is clicked, dx typed, Enter; then
        // the editor is looked at and Ctrl+Enter closes it.
        QString editorTitle, textBefore, textAfter;
        QProcess typing;
        QTimer::singleShot(1500, [&] {
            auto* editor = qobject_cast<TextEditorWindow*>(QApplication::activeModalWidget());
            if (!editor) return;
            editorTitle = editor->windowTitle();
            textBefore = editor->textBox()->toPlainText();
            QToolButton* expression = editor->button(QStringLiteral("Insert expression"));
            const QPoint at = expression->mapToGlobal(expression->rect().center());
            typing.start(QStringLiteral("xdotool"),
                         {"key", "--clearmodifiers", "ctrl+End", "sleep", "0.3", "mousemove", num(at.x()), num(at.y()),
                          "sleep", "0.2", "click", "1", "sleep", "1", "key", "d", "x", "sleep", "0.3", "key", "Return"});
        });
        QTimer::singleShot(5000, [&] {
            auto* editor = qobject_cast<TextEditorWindow*>(QApplication::activeModalWidget());
            if (!editor) return;
            textAfter = editor->textBox()->toPlainText();
            savePicture(*editor, "texteditor-payee.png");
            QProcess::execute(QStringLiteral("xdotool"), {"key", "--clearmodifiers", "ctrl+Return"});
        });
        const QPoint at = onScreen(form, {payee->Left + 20, payee->Top + 10});
        ASSERT_TRUE(xdotool({"mousemove", num(at.x()), num(at.y()), "sleep", "0.2", "click", "--repeat", "2",
                             "--delay", "80", "1"}));
        QElapsedTimer waited;
        waited.start();
        while (QApplication::activeModalWidget() && waited.elapsed() < 10000) QTest::qWait(100);
        typing.waitForFinished(5000);
        EXPECT_EQ(editorTitle, QStringLiteral("Text editor"));
        EXPECT_EQ(textBefore, QStringLiteral("[dskdw]"));
        EXPECT_EQ(textAfter, QStringLiteral("[dskdw][dx]"));
        EXPECT_EQ(payee->Memo, (StringList{"[dskdw][dx]"}));
        EXPECT_TRUE(payee->ScriptLines.empty());
        EXPECT_TRUE(form.document().modified());
        savePicture(form, "texteditor-designer-after.png");
        {
            ExpressionBuilder builder(report, &form);
            builder.edit()->setText(QStringLiteral("[dx] + ' '"));
            builder.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&builder));
            savePicture(builder, "texteditor-builder.png");
            builder.reject();
            DisplayFormatDialog format(payee->DisplayFormat, payee->DisplayFormatText, &form);
            format.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&format));
            savePicture(format, "texteditor-format.png");
            format.reject();
            HighlightDialog highlight(static_cast<TfrMemoView*>(payee)->Highlight, "[dx] = ''", &form);
            highlight.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&highlight));
            savePicture(highlight, "texteditor-highlight.png");
            highlight.reject();
        }

        ASSERT_TRUE(xdotool({"windowfocus", "--sync", num(int(form.winId()))}));
        ASSERT_TRUE(xdotool({"key", "--clearmodifiers", "ctrl+s"}));
        EXPECT_FALSE(form.document().modified());
        form.close();
    }
    const nlohmann::json saved = dump(file);
    const nlohmann::json* payee = objectNamed(saved, "Payee");
    ASSERT_NE(payee, nullptr);
    EXPECT_EQ((*payee)["memo"], nlohmann::json::array({"[dskdw][dx]"}));
}

TEST_F(DesignerOnScreen, SavingATemplateThatFailedToLoadAsksForAnotherNameAndKeepsTheFile)
{
    // Written by a newer version: it cannot be read.
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray bytes = f.readAll();
    bytes[0] = char(26);
    f.seek(0);
    f.write(bytes);
    f.close();

    testsupport::ScopedRecordingUi ui;   // message boxes answered at once
    TfrReport report;
    ASSERT_TRUE(report.LoadFromFile(file.toStdString()));
    ASSERT_TRUE(report.LoadFailed);
    TfrDesignerForm form(report, &component);
    form.showDesigner();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    QTest::qWait(300);
    form.document().setModified(true);

    // Ctrl+S: the save dialog proposes the file; accepting it (and the dialog's
    // own "replace?" question) is refused with a message, the dialog comes
    // again, Escape cancels.
    ASSERT_TRUE(xdotool({"windowfocus", "--sync", num(int(form.winId()))}));
    ASSERT_TRUE(xdotool({"key", "--clearmodifiers", "ctrl+s", "sleep", "1.5", "key", "Return", "sleep", "1", "key", "y",
                         "sleep", "1.5", "key", "Escape", "sleep", "0.5"}));
    EXPECT_TRUE(form.document().modified());
    ASSERT_FALSE(ui.shown.empty());
    EXPECT_NE(ui.shown.back().text.find("carry1.frf"), std::string::npos) << ui.shown.back().text;
    QFile after(file);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytes);
    form.document().setModified(false);
    form.close();
}

} // namespace
} // namespace pemvora::report::test

int main(int argc, char** argv)
{
    pemvora::report::loadFontConfiguration();
    // Settings of this run only.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    // The real display, whatever the test environment asks for.
    qputenv("QT_QPA_PLATFORM", qgetenv("DISPLAY").isEmpty() ? "offscreen" : "xcb");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
