// The prepared pages as the band engine fills them: new pages take the
// template page's paper, objects written into a page come back from its
// stream only while needed, edited objects go back into the stream.

#include "tests/report/engine/prepared_fixture.h"

#include "report/model/template_codec.h"

#include <gtest/gtest.h>

#include <vector>

namespace pemvora::report::enginetest {
namespace {

using PreparedPagesList = PreparedFixture;

TEST_F(PreparedPagesList, ANewPageTakesThePaperMarginsAndMetricsOfItsTemplatePage)
{
    const auto landscape = templatePage({kA4, 2100, 2970, 1, 7}, {10, 20, 30, 40});
    const auto stretched = templatePage({kCustomPaper, 1000, 2000, 0, kDefaultBin}, {}, true);

    EXPECT_TRUE(pages.Insert(0, *landscape));
    EXPECT_FALSE(pages.Insert(99, *stretched));   // beyond the end: appended

    ASSERT_EQ(pages.Count(), 2);
    const TfrPreparedPage& first = pages.Page(0);
    EXPECT_EQ(first.Paper.size, kA4);
    EXPECT_EQ(first.Paper.width, 2970);            // the printer turned the sheet
    EXPECT_EQ(first.Paper.height, 2100);
    EXPECT_EQ(first.Paper.orientation, 1);
    EXPECT_EQ(first.Paper.bin, landscape->Paper.bin);
    EXPECT_TRUE(first.UseMargins);
    EXPECT_EQ(first.Margins.Left, 10);
    EXPECT_EQ(first.Margins.Bottom, 40);
    EXPECT_EQ(first.Paper.metrics.PaperWidth, 1071);
    EXPECT_EQ(first.Paper.metrics.PaperHeight, 758);
    EXPECT_FALSE(first.InUse);
    EXPECT_EQ(first.PageObjects, nullptr);
    EXPECT_EQ(first.Stream.data(), std::string(1, '\x19'));

    const TfrPreparedPage& second = pages.Page(1);
    EXPECT_EQ(second.Paper.size, kCustomPaper);
    EXPECT_EQ(second.Paper.width, 1000);
    EXPECT_FALSE(second.UseMargins);
    EXPECT_EQ(second.Paper.metrics.PaperWidth, 361);

    // Inserting before the first page moves the others down.
    pages.Insert(0, *stretched);
    EXPECT_EQ(pages.Page(0).Paper.size, kCustomPaper);
    EXPECT_EQ(pages.Page(1).Paper.size, kA4);
}

TEST_F(PreparedPagesList, AddTellsTheCurrentAndTheRootReportThatAPageBegins)
{
    TfrReport root;
    std::vector<std::string> heard;
    report.OnBeginPage = [&](int pageNo) { heard.push_back("sub " + std::to_string(pageNo)); };
    root.OnBeginPage = [&](int pageNo) { heard.push_back("root " + std::to_string(pageNo)); };
    const auto page = templatePage();

    engine().RootReport = &report;
    engine().PageNo = 0;
    pages.Add(*page);
    EXPECT_EQ(heard, (std::vector<std::string>{"sub 0"}));   // one report: told once

    heard.clear();
    engine().RootReport = &root;
    engine().PageNo = 1;
    pages.Add(*page);
    EXPECT_EQ(heard, (std::vector<std::string>{"sub 1", "root 1"}));
    EXPECT_EQ(pages.Count(), 2);
}

TEST_F(PreparedPagesList, ObjectsWrittenIntoAPageComeBackAsPrintedWhileThePageIsInUse)
{
    const auto page = templatePage({kA4, 2100, 2970, 0, kDefaultBin}, {5, 6, 7, 8});
    pages.Add(*page);
    auto text = printedText("Memo1", 30, 40, 120, 18, {"1 234,50", "second line\x01"});
    text->Font.Name = "SimSun";
    text->Font.Size = 12;
    text->Alignment = 2;
    text->Tag = "@2";
    pages.AppendObject(0, *text);
    TfrLineView line;
    line.Name = "Line1";
    line.PlaceAt(0, 100, 300, 0);
    line.FrameColor = 0x0000FF;
    pages.AppendObject(0, line);
    EXPECT_FALSE(text->PreparedMode);   // writing leaves the object as it was
    EXPECT_EQ(text->Memo, StringList{"[expression]"});

    pages.LoadPageObjects(0);
    TfrPage* objects = pages.Page(0).PageObjects.get();
    ASSERT_NE(objects, nullptr);
    EXPECT_EQ(engine().CurrentPage, objects);
    EXPECT_EQ(objects->Margins.Left, 5);
    EXPECT_TRUE(objects->MarginsInUse);
    ASSERT_EQ(objects->ObjectCount(), 2);

    const auto* memo = dynamic_cast<TfrMemoView*>(objects->PageObjects[0].get());
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->Name, "Memo1");
    EXPECT_EQ(memo->Memo, (StringList{"1 234,50", "second line\x01"}));   // the printed text, not the expression
    EXPECT_EQ(memo->Left, 30);
    EXPECT_EQ(memo->Height, 18);
    EXPECT_EQ(memo->Font.Name, "SimSun");
    EXPECT_EQ(memo->Font.Size, 12);
    EXPECT_EQ(memo->Alignment, 2u);
    EXPECT_EQ(memo->Tag, "@2");
    EXPECT_FALSE(memo->PreparedMode);
    EXPECT_EQ(memo->OwnerPage, objects);
    const auto* readLine = dynamic_cast<TfrLineView*>(objects->PageObjects[1].get());
    ASSERT_NE(readLine, nullptr);
    EXPECT_EQ(readLine->Width, 300);
    EXPECT_EQ(readLine->FrameColor, 0x0000FFu);

    // Built only while absent: a second load keeps the same objects.
    pages.LoadPageObjects(0);
    EXPECT_EQ(pages.Page(0).PageObjects.get(), objects);

    pages.ReleasePageObjects(0);
    EXPECT_EQ(pages.Page(0).PageObjects, nullptr);
    EXPECT_EQ(engine().CurrentPage, nullptr);
}

TEST_F(PreparedPagesList, APrintedObjectLandsInThePageUnlessItIsInvisible)
{
    const auto page = templatePage();
    pages.Add(*page);
    pages.Add(*page);
    TfrLineView line;
    line.Name = "Line1";
    line.PlaceAt(10, 20, 100, 0);
    pages.PrintObject(1, line);
    EXPECT_FALSE(line.PreparedMode);
    TfrLineView hidden;
    hidden.Name = "Hidden";
    hidden.Visible = false;
    pages.PrintObject(1, hidden);

    EXPECT_EQ(pages.Page(0).Stream.data(), std::string(1, '\x19'));
    pages.LoadPageObjects(1);
    const TfrPage& objects = *pages.Page(1).PageObjects;
    ASSERT_EQ(objects.ObjectCount(), 1);
    EXPECT_EQ(objects.PageObjects[0]->Name, "Line1");
    EXPECT_EQ(objects.PageObjects[0]->Top, 20);
}

TEST_F(PreparedPagesList, AnEditedPageGoesBackIntoItsStream)
{
    const auto page = templatePage();
    pages.Add(*page);
    pages.AppendObject(0, *printedText("Memo1", 10, 10, 50, 20, {"before"}));
    pages.AppendObject(0, *printedText("Memo2", 10, 40, 50, 20, {"kept"}));
    pages.LoadPageObjects(0);
    TfrPage& objects = *pages.Page(0).PageObjects;
    objects.PageObjects[0]->Memo = {"after"};
    objects.PageObjects[0]->Left = 70;
    objects.Delete(1);

    pages.StorePageObjects(0);
    pages.ReleasePageObjects(0);
    pages.LoadPageObjects(0);

    const TfrPage& again = *pages.Page(0).PageObjects;
    ASSERT_EQ(again.ObjectCount(), 1);
    EXPECT_EQ(again.PageObjects[0]->Memo, StringList{"after"});
    EXPECT_EQ(again.PageObjects[0]->Left, 70);
    EXPECT_EQ(static_cast<unsigned char>(pages.Page(0).Stream.data()[0]), kPreparedRecordVersion);
}

TEST_F(PreparedPagesList, AnObjectThatCannotBeStoredLeavesTheStreamAsItWas)
{
    const auto page = templatePage();
    pages.Add(*page);
    pages.AppendObject(0, *printedText("Memo1", 10, 10, 50, 20, {"text"}));
    const std::string before = pages.Page(0).Stream.data();
    pages.LoadPageObjects(0);
    pages.Page(0).PageObjects->PageObjects[0]->Tag.assign(70000, 'x');

    EXPECT_THROW(pages.StorePageObjects(0), TemplateSaveError);
    EXPECT_EQ(pages.Page(0).Stream.data(), before);
}

TEST_F(PreparedPagesList, DeletingThePageInUseFreesItAndTheNextTakesItsPlace)
{
    const auto a4 = templatePage({kA4, 2100, 2970, 0, kDefaultBin});
    const auto a5 = templatePage({11, 1480, 2100, 0, kDefaultBin});
    pages.Add(*a4);
    pages.Add(*a5);
    pages.AppendObject(0, *printedText("Memo1", 1, 1, 5, 5, {"x"}));
    pages.LoadPageObjects(0);
    pages.Page(0).InUse = true;
    ASSERT_EQ(engine().CurrentPage, pages.Page(0).PageObjects.get());

    pages.Delete(0);
    EXPECT_EQ(engine().CurrentPage, nullptr);   // the freed page is no longer current
    ASSERT_EQ(pages.Count(), 1);
    EXPECT_EQ(pages.Page(0).Paper.size, 11);
    pages.Delete(5);                             // out of range: nothing
    EXPECT_EQ(pages.Count(), 1);
    pages.Clear();
    EXPECT_EQ(pages.Count(), 0);
}

TEST_F(PreparedPagesList, AStreamThatCannotBeReadGivesItsReasonAndNoObjects)
{
    const auto page = templatePage();
    struct Case {
        const char* what;
        std::string stream;
        const char* reason;
    };
    BinaryWriter good;
    good.u8(kPreparedRecordVersion);
    WritePreparedRecord(good, *printedText("Memo1", 1, 1, 5, 5, {"x"}));
    const std::string whole = good.data();
    const std::vector<Case> cases{
        {"a newer record format", std::string(1, '\x1A') + whole.substr(1), "unknown format (26)"},
        {"a kind that creates nothing", whole + '\x07', "unknown object kind 7"},
        {"a class nobody registered", whole + std::string("\x0A\x05\x00TfrXY\x00", 9), "class \"TfrXY\""},
        {"a record cut short", whole.substr(0, whole.size() - 3), "ends early"},
    };
    for (const Case& c : cases) {
        pages.Clear();
        pages.Add(*page);
        BinaryWriter stream;
        stream.bytes(c.stream);
        pages.Page(0).Stream = std::move(stream);
        try {
            pages.LoadPageObjects(0);
            ADD_FAILURE() << c.what << ": loaded";
        } catch (const PreparedReportError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << c.what << ": " << e.what();
        }
        EXPECT_EQ(pages.Page(0).PageObjects, nullptr) << c.what;
    }
}

TEST_F(PreparedPagesList, TheReportKeepsOneListOfPreparedPages)
{
    EXPECT_EQ(&PreparedPages(report), &pages);
    EXPECT_EQ(pages.Report(), &report);
}

} // namespace
} // namespace pemvora::report::enginetest
