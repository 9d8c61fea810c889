// New, open, save, save as and the save question. A template that was not
// read whole is never written over its file.

#include "tests/report/designer/designer_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <deque>

namespace pemvora::report::test {
namespace {

class ScriptedDialogs : public DesignerFileDialogs {
public:
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> proposed;
    int opened = 0;

    std::optional<std::string> openFileName(const std::string&) override { return next(); }
    std::optional<std::string> saveFileName(const std::string&, const std::string& proposal) override
    {
        proposed.push_back(proposal);
        return next();
    }

private:
    std::optional<std::string> next()
    {
        ++opened;
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

std::string readFile(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll().toStdString();
}

class FilesTest : public DesignerTest {
protected:
    FilesTest() { doc->setFileDialogs(&dialogs); }

    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }

    // A small template saved to `name` and opened in the designer.
    void openSaved(const char* name)
    {
        memo("Payee", 100, 40);
        report->SaveToFile(path(name));
        ASSERT_TRUE(doc->openFile(path(name)));
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
};

TEST_F(FilesTest, SaveWritesTheOpenedFileInPlaceWithoutADialog)
{
    openSaved("carry1.frf");
    EXPECT_EQ(doc->caption(), "Designer - carry1.frf");
    doc->selectOnly(*page().FindObject("Payee"));
    doc->moveSelection(18, 0);
    EXPECT_TRUE(doc->modified());
    ASSERT_TRUE(doc->save());
    EXPECT_EQ(dialogs.opened, 0);
    EXPECT_FALSE(doc->modified());

    TfrReport again;
    ASSERT_TRUE(again.LoadFromFile(path("carry1.frf")));
    EXPECT_EQ(again.FindObject("Payee")->Left, 118);
}

TEST_F(FilesTest, AnUntitledTemplateAsksForANameAndACancelKeepsItModified)
{
    ASSERT_TRUE(doc->newReport());
    EXPECT_EQ(doc->caption(), "Designer - Untitled");
    doc->insertObject(kind::Memo, {0, 0, 40, 20});
    EXPECT_FALSE(doc->save());   // dialog cancelled
    EXPECT_TRUE(doc->modified());
    dialogs.answers.push_back(path("new"));
    ASSERT_TRUE(doc->save());
    EXPECT_EQ(doc->documentName(), path("new.frf"));
    EXPECT_FALSE(readFile(path("new.frf")).empty());
}

TEST_F(FilesTest, SavingOverATemplateThatWasNotReadWholeAsksForAnotherName)
{
    // A template written by a newer version: it cannot be read.
    openSaved("good.frf");
    std::string bytes = report->SaveToBytes();
    bytes[0] = 26;
    {
        QFile f(QString::fromStdString(path("cash1.frf")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), qint64(bytes.size()));
    }
    ASSERT_TRUE(doc->openFile(path("cash1.frf")));
    EXPECT_TRUE(doc->loadFailed());
    ASSERT_FALSE(ui.shown.empty());
    EXPECT_EQ(ui.shown.back().text, "Unsupported FRF format");

    // Save goes to "save as"; the same name is refused with a message and asked again.
    ui.shown.clear();
    dialogs.answers = {path("cash1.frf"), path("cash1-fixed.frf")};
    ASSERT_TRUE(doc->save());
    EXPECT_EQ(dialogs.opened, 2);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_NE(ui.shown[0].text.find("cash1.frf"), std::string::npos);
    EXPECT_EQ(readFile(path("cash1.frf")), bytes);
    EXPECT_FALSE(readFile(path("cash1-fixed.frf")).empty());
    EXPECT_EQ(doc->documentName(), path("cash1-fixed.frf"));
    // From now on the new file is the document and saves in place.
    EXPECT_FALSE(doc->loadFailed());
    dialogs.opened = 0;
    doc->moveSelection(1, 0);
    EXPECT_TRUE(doc->save());
    EXPECT_EQ(dialogs.opened, 0);
}

TEST_F(FilesTest, ADamagedTemplateOpenedByTheApplicationIsNotWrittenOverEither)
{
    const std::string damaged = std::string("\x19\x00\x00\x00\x00\x00\x00\xFF\x01\x02", 10);
    {
        QFile f(QString::fromStdString(path("carry2.frf")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(damaged.data(), qint64(damaged.size()));
    }
    // As the cheque window does it: load, then design.
    TfrReport loaded;
    ASSERT_TRUE(loaded.LoadFromFile(path("carry2.frf")));
    ASSERT_TRUE(loaded.LoadFailed);
    DesignerDocument design(loaded);
    design.setFileDialogs(&dialogs);
    dialogs.answers = {std::nullopt};
    EXPECT_FALSE(design.save());
    EXPECT_EQ(readFile(path("carry2.frf")), damaged);
    ASSERT_EQ(dialogs.proposed.size(), 1u);
}

TEST_F(FilesTest, SaveAsWritesTheFormItsExtensionNamesAndOnlyATemplateBecomesTheDocument)
{
    openSaved("carry1.frf");
    report->Dictionary.VarList.SetVariable(" Cheque", Value(""));
    report->Dictionary.VarList.SetVariable("Payee", Value("[dskdw]"));
    doc->selectOnly(*page().FindObject("Payee"));
    doc->moveSelection(4, 0);
    const std::string saved = readFile(path("carry1.frf"));

    QDir(dir.path()).mkdir("templates");
    doc->hooks().TemplateDir = path("templates");
    ui.inputs = {std::string("Cheque of the first bank")};
    dialogs.answers = {path("copy.fr3"), path("words.frd"), path("cheque.frt")};
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(doc->saveAs()) << i;
    EXPECT_NE(readFile(path("copy.fr3")).find("Payee"), std::string::npos);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("cheque.frt"))));
    TfrReport fromTemplate;
    const NewReportTemplateInfo info =
        LoadNewReportTemplateFromFile(fromTemplate, path("templates/cheque.frt"));
    EXPECT_EQ(info.Description, (StringList{"Cheque of the first bank"}));
    ASSERT_NE(fromTemplate.FindObject("Payee"), nullptr);
    EXPECT_EQ(fromTemplate.FindObject("Payee")->Left, 104);
    // Copies in other forms leave the document, its file and its flag alone.
    EXPECT_EQ(doc->documentName(), path("carry1.frf"));
    EXPECT_TRUE(doc->modified());
    EXPECT_EQ(readFile(path("carry1.frf")), saved);

    // Opening the dictionary file merges it into the report's dictionary.
    report->Dictionary.Clear();
    ASSERT_TRUE(doc->openFile(path("words.frd")));
    EXPECT_TRUE(report->Dictionary.IsVariable("Payee"));
    EXPECT_EQ(doc->documentName(), path("carry1.frf"));
    EXPECT_EQ(page().FindObject("Payee")->Left, 104);

    // A cancelled description writes nothing.
    ui.inputs = {std::nullopt};
    dialogs.answers = {path("other.frt")};
    EXPECT_FALSE(doc->saveAs());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("templates/other.frt"))));
}

TEST_F(FilesTest, TheSaveQuestionOnClosing)
{
    openSaved("carry1.frf");
    ModalResult result{};
    // Nothing changed: no question.
    EXPECT_TRUE(doc->mayClose(result));
    EXPECT_TRUE(ui.shown.empty());

    doc->selectOnly(*page().FindObject("Payee"));
    doc->moveSelection(4, 0);
    ui.answers = {ui::Answer::Cancel};
    EXPECT_FALSE(doc->mayClose(result));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "Save changes to carry1.frf?");
    EXPECT_EQ(ui.shown[0].caption, "Confirm");
    EXPECT_EQ(ui.shown[0].buttons, ui::Buttons::YesNoCancel);

    ui.answers = {ui::Answer::No};
    EXPECT_TRUE(doc->mayClose(result));
    EXPECT_EQ(result, ModalResult::Cancel);

    ui.answers = {ui::Answer::Yes};
    EXPECT_TRUE(doc->mayClose(result));
    EXPECT_EQ(result, ModalResult::Ok);
    EXPECT_FALSE(doc->modified());
}

TEST_F(FilesTest, AFailedSaveKeepsTheTemplateModifiedAndTheWindowOpen)
{
    openSaved("carry1.frf");
    doc->selectOnly(*page().FindObject("Payee"));
    doc->moveSelection(4, 0);
    // Save as into a folder that does not exist.
    dialogs.answers = {path("missing/dir/x.frf")};
    EXPECT_FALSE(doc->saveAs());
    EXPECT_TRUE(doc->modified());
    ASSERT_FALSE(ui.shown.empty());
    EXPECT_EQ(ui.shown.back().caption, "Error");
    ui.answers = {ui::Answer::Yes};
    QFile::remove(QString::fromStdString(path("carry1.frf")));
    QDir().mkpath(QString::fromStdString(path("carry1.frf")));   // a folder where the file was
    ModalResult result{};
    EXPECT_FALSE(doc->mayClose(result));
}

} // namespace
} // namespace pemvora::report::test
