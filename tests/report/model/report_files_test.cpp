// The dictionary file (.frd) and the new-report template file (.frt): their
// bytes as the layouts lay them down (built here field by field, not by our
// writer), reading them back, merging a dictionary file, and damaged files
// that fail with a message instead of a crash.

#include "tests/report/model/template_sample.h"
#include "tests/report/model/template_support.h"

#include "report/model/report_files.h"
#include "report/model/template_codec.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace pemvora::report::test {
namespace {

using namespace std::string_literals;

std::string bitmapFile()
{
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 30));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return data.toStdString();
}

std::vector<std::pair<std::string, std::string>> entries(const TfrVariables& list)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (int i = 0; i < list.Count(); ++i) out.emplace_back(list.NameAt(i), list.ValueAt(i).toText());
    return out;
}

using Entries = std::vector<std::pair<std::string, std::string>>;

void listBytes(Bytes& b, const Entries& list)
{
    b.i32(static_cast<std::int64_t>(list.size()));
    for (const auto& [name, value] : list) b.str(name).str(value);
}

class ReportFiles : public ::testing::Test {
protected:
    void SetUp() override { resetAll(); }
    RecordingUi ui;
};

// ---------------------------------------------------------------- .frd

const Entries kVariables = {{" Cheque", ""}, {"Amount", "[dx]"}, {"\xB4\xF3\xD0\xB4", "Table1.\"Sum\""}};
const Entries kAliases = {{"Table1", "Payments"}};
const Entries kSourceAliases = {{"Source1", "Rows"}};

std::string dictionaryFile(const Entries& vars, const Entries& aliases, const Entries& sources, int marker = -2)
{
    Bytes b;
    b.u8(25).u16(marker & 0xFFFF);
    listBytes(b, vars);
    listBytes(b, aliases);
    listBytes(b, sources);
    return b.s;
}

void fill(TfrDataDictionary& d)
{
    for (const auto& [name, value] : kVariables) d.VarList.SetVariable(name, Value(value));
    for (const auto& [name, value] : kAliases) d.AliasList.SetVariable(name, Value(value));
    for (const auto& [name, value] : kSourceAliases) d.SourceAliasList.SetVariable(name, Value(value));
}

TEST_F(ReportFiles, DictionaryFileIsTheVersionByteAndTheDictionaryBlock)
{
    TfrReport report;
    fill(report.Dictionary);
    const std::string expected = dictionaryFile(kVariables, kAliases, kSourceAliases);
    EXPECT_EQ(SaveDictionaryToBytes(report.Dictionary), expected);

    TfrReport copy;
    LoadDictionaryFromBytes(copy, expected);
    EXPECT_EQ(entries(copy.Dictionary.VarList), kVariables);
    EXPECT_EQ(entries(copy.Dictionary.AliasList), kAliases);
    EXPECT_EQ(entries(copy.Dictionary.SourceAliasList), kSourceAliases);

    QTemporaryDir dir;
    const std::string file = (dir.path() + "/cheque.frd").toStdString();
    SaveDictionaryToFile(report.Dictionary, file);
    TfrReport fromFile;
    LoadDictionaryFromFile(fromFile, file);
    EXPECT_EQ(entries(fromFile.Dictionary.VarList), kVariables);
}

TEST_F(ReportFiles, DictionaryFilesOfOtherWritersRead)
{
    struct Case {
        const char* what;
        std::string bytes;
        Entries variables;
    } cases[] = {
        // Names of the older convention (variables marked by a space) are turned round.
        {"older names", dictionaryFile({{"Sum", ""}, {" Total", "1+2"}}, {}, {}, -1),
         {{" Sum", ""}, {"Total", "1+2"}}},
        // A writer of version 22 used zero-terminated strings and the entry table.
        {"version 22",
         Bytes()
             .u8(22)
             .i32(1)
             .u8(2).i32(1).u8(0).u8(3).raw("1+2").u8(3).raw("Sum")
             .cstr("Cheque\r Sum")
             .s,
         {{" Cheque", ""}, {"Sum", "1+2"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TfrReport report;
        LoadDictionaryFromBytes(report, c.bytes);
        EXPECT_EQ(entries(report.Dictionary.VarList), c.variables);
    }
}

TEST_F(ReportFiles, DamagedDictionaryFilesFailWithAMessageAndChangeNothing)
{
    TfrReport sample;
    fill(sample.Dictionary);
    const std::string good = SaveDictionaryToBytes(sample.Dictionary);

    auto expectRefused = [](std::string_view bytes, const std::string& trace) {
        TfrReport report;
        report.Dictionary.VarList.SetVariable("Kept", Value("1"));
        try {
            LoadDictionaryFromBytes(report, bytes);
            ADD_FAILURE() << "read " << trace;
        } catch (const TemplateFormatError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("The dictionary file is damaged (", 0), 0u) << e.what();
        }
        EXPECT_EQ(entries(report.Dictionary.VarList), (Entries{{"Kept", "1"}})) << trace;
    };
    for (std::size_t length = 0; length < good.size(); ++length)
        expectRefused(std::string_view(good).substr(0, length), "cut at " + std::to_string(length));
    // A template is no dictionary file: its bytes do not end with the block.
    expectRefused(good + "\xFC"s, "a byte more");

    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> position(0, good.size() - 1);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes = good;
        bytes[position(random)] ^= static_cast<char>(1 + random() % 255);
        TfrReport report;
        try {
            LoadDictionaryFromBytes(report, bytes);
        } catch (const TemplateFormatError&) {
        }
    }
}

TEST_F(ReportFiles, DictionaryFileFromDiskFailsWithTheFileName)
{
    QTemporaryDir dir;
    const std::string missing = (dir.path() + "/none.frd").toStdString();
    TfrReport report;
    EXPECT_THROW(LoadDictionaryFromFile(report, missing), TemplateFileError);

    const std::string damaged = (dir.path() + "/damaged.frd").toStdString();
    SaveBytesToFile(damaged, "\x19\xFE\xFF\x05"s);
    try {
        LoadDictionaryFromFile(report, damaged);
        ADD_FAILURE();
    } catch (const TemplateFormatError& e) {
        EXPECT_NE(std::string(e.what()).find("damaged.frd"), std::string::npos) << e.what();
    }
    EXPECT_THROW(SaveDictionaryToFile(report.Dictionary, (dir.path() + "/no/such/dir.frd").toStdString()),
                 TemplateFileError);
}

TEST_F(ReportFiles, MergedVariablesJoinTheirCategory)
{
    TfrDataDictionary into;
    for (const auto& [name, value] : Entries{{" Cheque", ""}, {"Amount", "[dx]"}, {" Bank", ""}, {"Account", "1"}})
        into.VarList.SetVariable(name, Value(value));
    into.AliasList.SetVariable("Table1", Value("Old"));

    TfrDataDictionary from;
    for (const auto& [name, value] :
         Entries{{" Cheque", ""}, {"Payee", "[dskdw]"}, {"Amount", "[mm]"}, {" Dates", ""}, {"Year", "[year]"}})
        from.VarList.SetVariable(name, Value(value));
    from.AliasList.SetVariable("Table1", Value("Payments"));
    from.SourceAliasList.SetVariable("Source1", Value("Rows"));

    MergeDictionary(into, from);
    EXPECT_EQ(entries(into.VarList), (Entries{{" Cheque", ""},
                                              {"Amount", "[mm]"},
                                              {"Payee", "[dskdw]"},
                                              {" Bank", ""},
                                              {"Account", "1"},
                                              {" Dates", ""},
                                              {"Year", "[year]"}}));
    EXPECT_EQ(entries(into.AliasList), (Entries{{"Table1", "Payments"}}));
    EXPECT_EQ(entries(into.SourceAliasList), (Entries{{"Source1", "Rows"}}));
}

// ---------------------------------------------------------------- .frt

// A report of one page with one line on it and one variable.
void buildSmall(TfrReport& report)
{
    report.Dictionary.VarList.SetVariable(" Cheque", Value(""));
    TfrPage& page = report.Pages.Items(report.Pages.Add());
    page.Name = "Page1";
    page.Margins = {10, 20, 30, 40};
    page.ScriptLines = {"x := 1;"};
    auto& line = page.Add<TfrLineView>();
    line.Name = "Line1";
    line.PlaceAt(1, 2, 300, 0);
    line.DisplayFormat = 0x22E;
    line.Tag = "t";
}

// The same report as the layout tables lay it down. `tagStarts` receives the
// places in the pages section where a tag may begin.
std::string smallFile(const TfrReport& report, const StringList& description, const std::string& bitmap,
                      std::vector<std::size_t>* tagStarts = nullptr)
{
    std::vector<std::size_t> starts;
    const TfrPage& page = report.Pages.Items(0);
    Bytes b;
    b.list(description);
    const std::size_t pagesAt = b.reserve();
    b.u8(bitmap.empty() ? 0 : 1).raw(bitmap);
    b.patch(pagesAt);
    // PrintToDefault, TwoPass, the printer (empty: the virtual printer)
    b.u16(0).u16(0).str("");
    starts.push_back(b.size());
    b.u8(0xFF).i32(-1).i32(page.Paper.size).i32(page.Paper.width).i32(page.Paper.height);
    b.i32(10).i32(20).i32(30).i32(40).u8(0).i32(page.Paper.bin).u16(0).u16(0xFFFF).i32(1).i32(0);
    b.u8(0).str("Page1").u8(3).str("Form").i32(0xFF00000F).i32(220).i32(120).i32(380).i32(300).u8(4);
    b.list({"x := 1;"});
    starts.push_back(b.size());
    // The line: kind 4 on page 0, its end, the common record.
    b.u8(4).u8(0);
    const std::size_t end = b.reserve();
    b.str("Line1").u8(2).u8(0).i32(1).i32(2).i32(300).i32(0).u16(1).u16(4).i32(1).i32(0).u16(0).i32(0xFFFFFF);
    b.i32(0x22E).str("").list({}).list({}).u16(0xFFFF).u16(0).str("t").i32(2).i32(1).u8(0);
    b.patch(end);
    starts.push_back(b.size());
    b.u8(0xFE).u16(0xFFFE);
    listBytes(b, {{" Cheque", ""}});
    listBytes(b, {});
    listBytes(b, {});
    if (tagStarts) *tagStarts = starts;
    return b.s;
}

TEST_F(ReportFiles, NewReportTemplateHasItsLayoutAndMakesANewReport)
{
    TfrReport report;
    buildSmall(report);
    const NewReportTemplateInfo info{{"Cheque", "\xD6\xA7\xC6\xB1"}, bitmapFile()};
    const std::string expected = smallFile(report, info.Description, info.PreviewBitmap);
    EXPECT_EQ(SaveNewReportTemplateToBytes(report, info), expected);
    EXPECT_EQ(SaveNewReportTemplateToBytes(report, {{"Cheque"}, ""}), smallFile(report, {"Cheque"}, ""));

    TfrReport made;
    made.Pages.Add();
    made.TemplateFileName = "old.frf";
    made.Information.Author = "someone";
    made.PasswordProtected = true;
    const NewReportTemplateInfo read = LoadNewReportTemplate(made, expected);
    EXPECT_EQ(read.Description, info.Description);
    EXPECT_EQ(read.PreviewBitmap, info.PreviewBitmap);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_FALSE(made.LoadFailed);
    EXPECT_EQ(made.TemplateFileName, "Untitled");
    EXPECT_EQ(made.Information, ReportInformation{});
    EXPECT_FALSE(made.PasswordProtected);
    ASSERT_EQ(made.Pages.Count(), 1);
    const TfrPage& page = made.Pages.Items(0);
    EXPECT_EQ(page.Margins.Bottom, 40);
    EXPECT_EQ(page.ScriptLines, StringList{"x := 1;"});
    ASSERT_EQ(page.ObjectCount(), 1);
    EXPECT_EQ(page.PageObjects[0]->Name, "Line1");
    EXPECT_EQ(page.PageObjects[0]->Width, 300);
    EXPECT_EQ(page.PageObjects[0]->Tag, "t");
    EXPECT_EQ(entries(made.Dictionary.VarList), (Entries{{" Cheque", ""}}));

    // The new-report dialog reads only the description and the picture: what
    // follows them does not matter to it.
    const std::size_t pagesAt = Bytes().list(info.Description).size() + 4 + 1 + info.PreviewBitmap.size();
    const NewReportTemplateInfo head = ReadNewReportTemplateInfo(expected.substr(0, pagesAt));
    EXPECT_EQ(head.Description, info.Description);
    EXPECT_EQ(head.PreviewBitmap, info.PreviewBitmap);
}

TEST_F(ReportFiles, EveryObjectOfTheSampleSurvivesANewReportTemplate)
{
    TfrReport sample;
    buildSample(sample);
    const NewReportTemplateInfo info{{"A bit of everything"}, bitmapFile()};
    const std::string bytes = SaveNewReportTemplateToBytes(sample, info);

    QTemporaryDir dir;
    const std::string file = (dir.path() + "/sample.frt").toStdString();
    SaveNewReportTemplateToFile(sample, info, file);
    EXPECT_EQ(ReadNewReportTemplateInfoFromFile(file).Description, info.Description);
    TfrReport made;
    LoadNewReportTemplateFromFile(made, file);
    EXPECT_EQ(SaveNewReportTemplateToBytes(made, info), bytes);
    // The same report as a template reads the same as the one made from the
    // new-report template (all but the report information).
    made.Information = sample.Information;
    made.Created = sample.Created;
    const std::string viaTemplate = sample.SaveToBytes(), viaNew = made.SaveToBytes();
    EXPECT_EQ(viaNew.substr(0, viaNew.size() - 8), viaTemplate.substr(0, viaTemplate.size() - 8));
}

TEST_F(ReportFiles, DamagedNewReportTemplatesFailWithAMessageAndLeaveAnEmptyReport)
{
    TfrReport small;
    buildSmall(small);
    std::vector<std::size_t> tagStarts;
    const std::string good = smallFile(small, {"Cheque"}, bitmapFile(), &tagStarts);

    auto expectRefused = [](std::string_view bytes, const char* start, const std::string& trace) {
        TfrReport report;
        buildSmall(report);
        try {
            LoadNewReportTemplate(report, bytes);
            ADD_FAILURE() << "read " << trace;
        } catch (const TemplateFormatError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(start, 0), 0u) << e.what();
        }
        EXPECT_TRUE(report.LoadFailed) << trace;
        ASSERT_EQ(report.Pages.Count(), 1) << trace;
        EXPECT_EQ(report.Pages.Items(0).ObjectCount(), 0) << trace;
        EXPECT_EQ(report.Dictionary.VarList.Count(), 0) << trace;
    };
    // The pages run to the end of the file: a file cut where a tag would
    // begin is a shorter template (no pages, a page without the line, no
    // dictionary); every other cut fails.
    for (std::size_t length = 0; length < good.size(); ++length) {
        const auto at = std::find(tagStarts.begin(), tagStarts.end(), length);
        if (at == tagStarts.end()) {
            expectRefused(std::string_view(good).substr(0, length), "The new-report template is damaged (",
                          "cut at " + std::to_string(length));
            continue;
        }
        TfrReport report;
        LoadNewReportTemplate(report, std::string_view(good).substr(0, length));
        const auto kept = at - tagStarts.begin();   // 0: nothing, 1: the page, 2: the page and the line
        ASSERT_EQ(report.Pages.Count(), kept == 0 ? 0 : 1) << length;
        if (kept > 0) {
            EXPECT_EQ(report.Pages.Items(0).ObjectCount(), kept - 1) << length;
        }
    }

    // The pages said to start beyond the file, or inside the description.
    for (std::uint32_t pagesAt : {static_cast<std::uint32_t>(good.size() + 1), 3u}) {
        std::string bytes = good;
        const std::size_t at = 2 + 2 + 6 + 1;   // after the one-line description
        for (int i = 0; i < 4; ++i) bytes[at + std::size_t(i)] = static_cast<char>((pagesAt >> (8 * i)) & 0xFF);
        expectRefused(bytes, "The new-report template is damaged (The pages do not start within the file)",
                      std::to_string(pagesAt));
        EXPECT_THROW(ReadNewReportTemplateInfo(bytes), TemplateFormatError);
    }

    // A picture that is no bitmap.
    const std::string notBitmap = smallFile(small, {"Cheque"}, "not a bitmap");
    EXPECT_THROW(ReadNewReportTemplateInfo(notBitmap), TemplateFormatError);
    EXPECT_THROW(SaveNewReportTemplateToBytes(small, {{}, "not a bitmap"}), TemplateSaveError);

    // An object of a class this system does not have.
    Bytes plugIn;
    plugIn.list({}).i32(3 + 4 + 1).u8(0).u16(0).u16(0).str("");
    plugIn.u8(0xFF).i32(-1).i32(9).i32(2100).i32(2970).i32(0).i32(0).i32(0).i32(0).u8(0).i32(-1);
    plugIn.u16(0).u16(0xFFFF).i32(1).i32(0).u8(0).str("P").u8(3).str("").i32(0).i32(0).i32(0).i32(0).i32(0).u8(0);
    plugIn.list({});
    plugIn.u8(10).str("TfrChartView").u8(0);
    const std::size_t end = plugIn.reserve();
    plugIn.raw("whatever the chart keeps");
    plugIn.patch(end);
    expectRefused(plugIn.s, "Report contains the following non-plugged components:\rTfrChartView\r", "plug-in");
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(ReportFiles, FileFormsByExtension)
{
    struct Case {
        const char* name;
        std::optional<ReportFileForm> form;
    } cases[] = {
        {"carry.frf", ReportFileForm::Template}, {"a/b.FRT", ReportFileForm::NewReportTemplate},
        {"x.fr3", ReportFileForm::XmlExport},    {"dict.Frd", ReportFileForm::Dictionary},
        {"carry", std::nullopt},                 {"dir.frf/carry", std::nullopt},
        {"carry.frx", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(FileFormOf(c.name), c.form) << c.name;
    EXPECT_EQ(WithExtension("/t/carry.frf", ".fr3"), "/t/carry.fr3");
    EXPECT_EQ(WithExtension("/t.d/carry", ".fr3"), "/t.d/carry.fr3");
}

} // namespace
} // namespace pemvora::report::test
