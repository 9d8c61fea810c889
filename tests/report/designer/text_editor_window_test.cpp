// The "Text editor" window without a screen, opened on the cheque template's
// payee field: insertions at the caret, OK through the designer as one undo
// entry, a script that does not compile, text GBK cannot hold, restrictions.

#include "tests/report/designer/cheque_template.h"

#include "platform/text/gbk.h"
#include "report/designer/designer_form.h"
#include "report/designer/designer_session.h"
#include "report/designer/designer_settings.h"
#include "report/designer/text_editing.h"
#include "report/designer/text_editor_window.h"
#include "report/data/memorydataset.h"
#include "report/model/engine_context.h"
#include "report/script/displayformat.h"
#include "report/printer/printer_backend.h"
#include "report/printer/printing_context.h"
#include "tests/support/qt_application.h"
#include "tests/support/recording_ui.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSettings>
#include <QSpinBox>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace pemvora::report::test {
namespace {

class TextEditorWindowTest : public ::testing::Test {
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

    static void caretToEnd(QPlainTextEdit* box)
    {
        QTextCursor c = box->textCursor();
        c.movePosition(QTextCursor::End);
        box->setTextCursor(c);
    }

    testsupport::ScopedRecordingUi ui;
    TfrReport report;
    std::unique_ptr<TfrDesignerForm> form;
    TfrView* payee = nullptr;
};

TEST_F(TextEditorWindowTest, AVariableInsertedAtTheCaretIsKeptOnOkAsOneUndoEntry)
{
    DesignerDocument& doc = form->document();
    TextEditorWindow editor(doc, *payee);
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Text editor"));
    EXPECT_EQ(editor.textBox()->toPlainText(), QStringLiteral("[dskdw]"));
    EXPECT_EQ(editor.scriptBox()->toPlainText(), QStringLiteral("begin\n  \nend"));
    for (const char* hint : {"OK", "Cancel", "Insert expression", "Insert data field", "Word wrap",
                             "Show/hide script", "Cut", "Copy", "Paste"})
        EXPECT_NE(editor.button(QString::fromLatin1(hint)), nullptr) << hint;

    caretToEnd(editor.textBox());
    editor.insert({" " + expressionInsertion("dkhh")});
    EXPECT_EQ(editor.textBox()->toPlainText(), QStringLiteral("[dskdw] [dkhh]"));
    EXPECT_EQ(editor.textBox()->textCursor().position(), 14);
    // A function lands with its first argument selected, to type over.
    editor.insert(functionInsertionInText("COPY", "COPY(<String>, <Position>, <Length>)/Part"));
    EXPECT_EQ(editor.textBox()->textCursor().selectedText(), QStringLiteral("<String>"));
    editor.textBox()->insertPlainText(QStringLiteral("[dx]"));
    // Word wrap changes only the display.
    editor.button(QStringLiteral("Word wrap"))->click();
    EXPECT_EQ(editor.textBox()->lineWrapMode(), QPlainTextEdit::WidgetWidth);

    const std::size_t before = doc.undoCount();
    editor.accept();
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(payee->Memo, (StringList{"[dskdw] [dkhh][COPY([dx], <Position>, <Length>)]"}));
    EXPECT_TRUE(payee->ScriptLines.empty());   // the untouched skeleton is not kept
    EXPECT_EQ(doc.undoCount(), before + 1);
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(report.FindObject("Payee")->Memo, (StringList{"[dskdw]"}));
}

TEST_F(TextEditorWindowTest, AScriptThatDoesNotCompileKeepsTheEditorOpenAtTheError)
{
    TextEditorWindow editor(form->document(), *payee);
    editor.scriptBox()->setPlainText(QStringLiteral("begin\n  a := 1\n  b := 2;\nend"));
    editor.accept();
    EXPECT_NE(editor.result(), QDialog::Accepted);
    EXPECT_TRUE(payee->ScriptLines.empty());
    const std::optional<ScriptError> error = checkScript({"begin", "  a := 1", "  b := 2;", "end"});
    ASSERT_TRUE(error);
    const QTextCursor caret = editor.scriptBox()->textCursor();
    EXPECT_EQ(caret.blockNumber() + 1, error->Line);
    EXPECT_EQ(caret.positionInBlock() + 1, error->Column);
    EXPECT_TRUE(editor.errorLabel()->text().startsWith(QStringLiteral("Line %1/%2").arg(error->Line).arg(error->Column)))
        << editor.errorLabel()->text().toStdString();

    editor.scriptBox()->setPlainText(QStringLiteral("begin\n  a := 1;\n  b := 2\nend"));
    editor.accept();
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(payee->ScriptLines, (StringList{"begin", "  a := 1;", "  b := 2", "end"}));
}

TEST_F(TextEditorWindowTest, TextGbkCannotHoldIsRefusedWithTheCharacterNamed)
{
    TextEditorWindow editor(form->document(), *payee);
    editor.textBox()->setPlainText(QStringLiteral("收款人 한 [dskdw]"));
    editor.accept();
    EXPECT_NE(editor.result(), QDialog::Accepted);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_NE(ui.shown[0].text.find("한"), std::string::npos) << ui.shown[0].text;
    EXPECT_EQ(payee->Memo, (StringList{"[dskdw]"}));
    EXPECT_EQ(editor.textBox()->toPlainText(), QStringLiteral("收款人 한 [dskdw]"));   // nothing typed is lost

    editor.textBox()->setPlainText(QStringLiteral("收款人：[dskdw]"));
    editor.accept();
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(payee->Memo, (StringList{"\xCA\xD5\xBF\xEE\xC8\xCB\xA3\xBA[dskdw]"}));
}

TEST_F(TextEditorWindowTest, RestrictionsMakeTheirPaneReadOnlyAndBandsShowOnlyTheScript)
{
    payee->Restrictions = restrict::DontEditMemo;
    {
        TextEditorWindow editor(form->document(), *payee);
        EXPECT_TRUE(editor.textBox()->isReadOnly());
        EXPECT_FALSE(editor.scriptBox()->isReadOnly());
        editor.insert({"[dx]"});
        EXPECT_EQ(editor.textBox()->toPlainText(), QStringLiteral("[dskdw]"));
    }
    // A script locked against editing is neither checked nor rewritten, so a
    // faulty one cannot keep the text's changes from being applied.
    payee->Restrictions = restrict::DontEditScript;
    payee->ScriptLines = {"begin", "  a := 1", "  b := 2", "end"};
    ASSERT_TRUE(checkScript(payee->ScriptLines));
    {
        TextEditorWindow editor(form->document(), *payee);
        EXPECT_TRUE(editor.scriptBox()->isReadOnly());
        editor.textBox()->setPlainText(QStringLiteral("[dskdw] [dx]"));
        editor.accept();
        EXPECT_EQ(editor.result(), QDialog::Accepted);
        EXPECT_EQ(payee->Memo, (StringList{"[dskdw] [dx]"}));
        EXPECT_EQ(payee->ScriptLines, (StringList{"begin", "  a := 1", "  b := 2", "end"}));
    }
    auto& band = report.Pages[0].Add<TfrBandView>();
    band.Name = "Title";
    TextEditorWindow editor(form->document(), band);
    EXPECT_TRUE(editor.textBox()->isHidden());
    EXPECT_EQ(editor.scriptBox()->toPlainText(), QStringLiteral("begin\n  \nend"));
}

TEST_F(TextEditorWindowTest, TheBuilderPutsTogetherVariablesAndFunctionCalls)
{
    report.Dictionary.VarList.SetVariable(" Cheque", Value(std::string()));
    report.Dictionary.VarList.SetVariable("Amount", Value(std::string("[dx]")));
    {
        VariablesDialog variables(report);
        EXPECT_EQ(variables.windowTitle(), QStringLiteral("Variables"));
        ASSERT_EQ(variables.categories()->count(), 2);
        EXPECT_EQ(variables.categories()->item(1)->text(), QStringLiteral("System variables"));
        variables.categories()->setCurrentRow(1);
        ASSERT_EQ(variables.variables()->count(), 8);
        EXPECT_EQ(variables.variables()->item(0)->text(), QStringLiteral("Page#"));
        variables.variables()->setCurrentRow(-1);
        EXPECT_EQ(variables.name(), "PAGE#");   // nothing chosen in the system list
        variables.variables()->setCurrentRow(6);
        EXPECT_EQ(variables.name(), "CURRENT#");
        variables.categories()->setCurrentRow(0);
        ASSERT_EQ(variables.variables()->count(), 1);
        variables.variables()->setCurrentRow(0);
        EXPECT_EQ(variables.name(), "Amount");
    }
    // The category chosen last is preselected next time.
    VariablesDialog again(report);
    EXPECT_EQ(again.categories()->currentItem()->text(), QStringLiteral("Cheque"));

    struct Case {
        const char* typed;
        std::string chosen;   // a name given by the variables dialog, after the typed text
        const char* builder;
        const char* inserted;
    } cases[] = {
        {"dx", "", "dx", "[dx]"},
        {"", "PAGE#", "[PAGE#]", "[PAGE#]"},
        {"[a] + [b]", "", "[a] + [b]", "[[a] + [b]]"},
        {"", "Amount", "Amount", "[Amount]"},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.builder);
        ExpressionBuilder builder(report);
        EXPECT_EQ(builder.windowTitle(), QStringLiteral("Expression builder"));
        builder.edit()->setText(QString::fromUtf8(c.typed));
        if (!c.chosen.empty()) builder.insertName(c.chosen);
        EXPECT_EQ(builder.edit()->text(), QString::fromUtf8(c.builder));
        EXPECT_EQ(expressionInsertion(builder.expression()), c.inserted);
    }

    // A function with an argument list goes through "Function arguments"; a
    // box left empty keeps its placeholder.
    FunctionArgumentsDialog arguments("COPY", "COPY(<String>, <Position>, <Length>)/Part of a string");
    EXPECT_EQ(arguments.windowTitle(), QStringLiteral("Function arguments"));
    ASSERT_EQ(arguments.boxes().size(), 3u);
    arguments.boxes()[0]->setText(QStringLiteral("[dskdw]"));
    arguments.boxes()[1]->setText(QStringLiteral(" 1 "));
    EXPECT_EQ(arguments.call(), "COPY([dskdw], 1, <Length>)");
    ExpressionBuilder builder(report);
    builder.insertFunction("PAGE#", "PAGE#/The page number");
    EXPECT_EQ(builder.edit()->text(), QStringLiteral("[PAGE#]"));
}

TEST_F(TextEditorWindowTest, TheFormatDialogReadsAndPacksTheDisplayFormat)
{
    const std::uint32_t thousands = DisplayFormat{category::Number, 3, 2, ','}.pack();
    DisplayFormatDialog dialog(thousands, "");
    EXPECT_EQ(dialog.categories()->currentItem()->text(), QStringLiteral("Number"));
    EXPECT_EQ(dialog.kinds()->currentItem()->text(), QStringLiteral("1 234,50"));
    EXPECT_EQ(dialog.decimals()->value(), 2);
    EXPECT_FALSE(dialog.custom()->isEnabled());
    EXPECT_EQ(dialog.format(), thousands);

    dialog.categories()->setCurrentRow(category::Date);
    EXPECT_EQ(dialog.kinds()->count(), 5);
    dialog.kinds()->setCurrentRow(kCustomKind);
    ASSERT_TRUE(dialog.custom()->isEnabled());
    dialog.custom()->setText(QStringLiteral("yyyy年mm月dd日"));
    EXPECT_EQ(DisplayFormat::unpack(dialog.format()).category, category::Date);
    EXPECT_EQ(DisplayFormat::unpack(dialog.format()).kind, kCustomKind);
    EXPECT_EQ(dialog.formatText(), "yyyy\xC4\xEAmm\xD4\xC2" "dd\xC8\xD5");

    // Applied as one undo entry of its own.
    DesignerDocument& doc = form->document();
    const std::uint32_t before = payee->DisplayFormat;
    ASSERT_TRUE(doc.setDisplayFormat(*payee, dialog.format(), dialog.formatText()));
    EXPECT_EQ(payee->DisplayFormatText, dialog.formatText());
    EXPECT_FALSE(doc.setDisplayFormat(*payee, dialog.format(), dialog.formatText()));
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(report.FindObject("Payee")->DisplayFormat, before);
    EXPECT_TRUE(report.FindObject("Payee")->DisplayFormatText.empty());
}

TEST_F(TextEditorWindowTest, TheHighlightDialogKeepsTheConditionStyleAndColours)
{
    auto& field = static_cast<TfrMemoView&>(*payee);
    TfrHighlight start;
    start.FontStyle = fontstyle::Bold | fontstyle::Underline;
    start.FontColor = rgb(255, 0, 0);
    HighlightDialog dialog(start, "", nullptr);
    EXPECT_TRUE(dialog.styleBox(fontstyle::Bold)->isChecked());
    EXPECT_TRUE(dialog.styleBox(fontstyle::Underline)->isChecked());
    EXPECT_FALSE(dialog.styleBox(fontstyle::Italic)->isChecked());
    EXPECT_EQ(dialog.highlight(), start);

    dialog.styleBox(fontstyle::Bold)->setChecked(false);
    dialog.styleBox(fontstyle::StrikeOut)->setChecked(true);
    dialog.conditionBox()->setText(QStringLiteral(" [dx] <> '零' "));
    const TfrHighlight chosen = dialog.highlight();
    EXPECT_EQ(chosen.FontStyle, fontstyle::Underline | fontstyle::StrikeOut);
    EXPECT_EQ(chosen.FontColor, rgb(255, 0, 0));
    EXPECT_EQ(dialog.condition(), "[dx] <> '\xC1\xE3'");

    DesignerDocument& doc = form->document();
    ASSERT_TRUE(doc.setHighlight(field, chosen, dialog.condition()));
    EXPECT_EQ(field.Highlight, chosen);
    ASSERT_TRUE(doc.undo());
    EXPECT_TRUE(static_cast<TfrMemoView*>(report.FindObject("Payee"))->HighlightCondition.empty());
}

TEST_F(TextEditorWindowTest, PaneFontsComeFromTheDesignerSettingsAndTheSplitterIsWrittenBack)
{
    QSettings store(QStringLiteral("Vorlentrix"), settingsApplicationTitle());
    store.beginGroup(QStringLiteral("Form/TfrDesignerForm"));
    store.remove(QStringLiteral("SplitterPos"));
    store.setValue("ScriptFontName", QStringLiteral("DejaVu Sans Mono"));
    store.setValue("ScriptFontSize", 14);
    store.setValue("TextFontName", QStringLiteral("DejaVu Serif"));
    store.setValue("TextFontSize", 12);
    store.setValue("UseDefaultFont", true);
    store.sync();
    {
        // A text object's own font name at 10 points.
        TextEditorWindow editor(form->document(), *payee);
        EXPECT_EQ(editor.textBox()->font().family(),
                  text::toQString(static_cast<TfrMemoView*>(payee)->Font.Name));
        EXPECT_EQ(editor.textBox()->font().pointSize(), 10);
        EXPECT_EQ(editor.scriptBox()->font().family(), QStringLiteral("DejaVu Sans Mono"));
        EXPECT_EQ(editor.scriptBox()->font().pointSize(), 14);
        editor.reject();
    }
    store.sync();
    EXPECT_TRUE(store.contains(QStringLiteral("SplitterPos")));

    store.setValue("UseDefaultFont", false);
    store.sync();
    TextEditorWindow editor(form->document(), *payee);
    EXPECT_EQ(editor.textBox()->font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(editor.textBox()->font().pointSize(), 12);
    for (const char* key : {"ScriptFontName", "ScriptFontSize", "TextFontName", "TextFontSize", "UseDefaultFont"})
        store.remove(QString::fromLatin1(key));
}

TEST_F(TextEditorWindowTest, TheDataFieldDialogGivesTheChosenFieldOfANamedDataSet)
{
    ComponentContainer window("Form1");
    MemoryDataSet cheques("Cheques", {{"skdw"}, {"je", FieldKind::Float}});
    window.add(&cheques);
    report.Owner = &window;

    TextEditorWindow editor(form->document(), *payee);
    caretToEnd(editor.textBox());
    QString listed;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<DataFieldDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        listed = dialog->sources()->currentItem() ? dialog->sources()->currentItem()->text() : QString();
        dialog->fields()->setCurrentRow(0);
        dialog->accept();
    });
    editor.insertDataField();
    EXPECT_EQ(listed, QStringLiteral("Cheques"));
    EXPECT_EQ(editor.textBox()->toPlainText(), QStringLiteral("[dskdw][Cheques.\"skdw\"]"));
    EXPECT_EQ(editor.textBox()->textCursor().position(), editor.textBox()->toPlainText().size());
    EXPECT_EQ(designerSession().TextEditor.DataSet, "Cheques");   // preselected next time
    report.Owner = nullptr;
}

TEST_F(TextEditorWindowTest, InsertInTheTextBoxOpensTheDataFieldDialog)
{
    TextEditorWindow editor(form->document(), *payee);
    QString opened;
    QTimer::singleShot(0, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = modal->windowTitle();
            static_cast<QDialog*>(modal)->reject();
        }
    });
    QTest::keyClick(editor.textBox(), Qt::Key_Insert);
    EXPECT_EQ(opened, QStringLiteral("Insert data field"));
    EXPECT_EQ(editor.textBox()->toPlainText(), QStringLiteral("[dskdw]"));   // nothing chosen, nothing inserted
}

} // namespace
} // namespace pemvora::report::test
