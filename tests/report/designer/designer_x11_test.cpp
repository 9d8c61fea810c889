// The designer window under a real X display, driven by xdotool as a person
// drives it: open a cheque template (225 x 80 mm), drag the payee field 5 mm to the right
// with the mouse, nudge it with the arrow keys, save with Ctrl+S; the file
// holds the new position (pemvora-cli dump shows it) and reopening shows it
// there. Run under xvfb-run; without a display the tests are skipped.

#include "tests/report/designer/cheque_template.h"

#include "report/canvas/fontmap.h"
#include "report/designer/designer_form.h"
#include "report/designer/designer_page.h"
#include "report/designer/designer_settings.h"
#include "report/designer/tfr_designer.h"
#include "report/model/engine_context.h"
#include "report/printer/printer_backend.h"
#include "report/printer/printing_context.h"
#include "tests/support/recording_ui.h"
#include "tests/support/test_pictures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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
