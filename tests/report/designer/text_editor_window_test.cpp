// The "Text editor" window without a screen, opened on the cheque template's
// payee field: insertions at the caret, OK through the designer as one undo
// entry, a script that does not compile, text GBK cannot hold, restrictions.

#include "tests/report/designer/cheque_template.h"

#include "report/designer/designer_form.h"
#include "report/designer/designer_session.h"
#include "report/designer/text_editing.h"
#include "report/designer/text_editor_window.h"
#include "report/model/engine_context.h"
#include "report/printer/printer_backend.h"
#include "report/printer/printing_context.h"
#include "tests/support/qt_application.h"
#include "tests/support/recording_ui.h"

#include <QApplication>
#include <QLabel>
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
    auto& band = report.Pages[0].Add<TfrBandView>();
    band.Name = "Title";
    TextEditorWindow editor(form->document(), band);
    EXPECT_TRUE(editor.textBox()->isHidden());
    EXPECT_EQ(editor.scriptBox()->toPlainText(), QStringLiteral("begin\n  \nend"));
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
