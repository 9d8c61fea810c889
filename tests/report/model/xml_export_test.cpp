// The XML export (.fr3): the exact text of a small report worked out from the
// export's rules; a report full of quotes, "<", "&" and Chinese text read back
// by python's XML parser with every value as it was; the script and
// dictionary conversions; values XML cannot carry.

#include "tests/report/model/template_sample.h"
#include "tests/report/model/template_support.h"

#include "platform/text/gbk.h"
#include "report/data/datacomponent.h"
#include "report/data/memorydataset.h"
#include "report/model/binary_stream.h"
#include "report/model/report_files.h"
#include "report/model/template_codec.h"
#include "report/model/xml_export.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fmt/format.h>

namespace pemvora::report::test {
namespace {

using namespace std::string_literals;

std::string crlfLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

class XmlExport : public ::testing::Test {
protected:
    void SetUp() override { resetAll(); }
    RecordingUi ui;
};

TEST_F(XmlExport, SmallReportHasItsExactText)
{
    TfrReport report;
    report.Information = {"Cheque", "Pemvora", "c", "1", "2", "3", "4"};
    report.Created = DateTime{45000.5};
    report.Modified = DateTime{45001.25};
    report.ReportPassword = "Ab";

    TfrPage& page = report.Pages.Items(report.Pages.Add());
    page.Paper.size = 9;
    page.Paper.orientation = 0;
    page.Paper.metrics.PaperWidth = 794;
    page.Paper.metrics.PaperHeight = 1123;
    page.Margins = {38, 19, 57, 76};
    page.MarginsInUse = true;
    page.Columns = 1;
    page.ColumnWidth = 0;
    page.ScriptLines = {"begin", "  x := 1;", "end"};

    auto& memo = page.Add<TfrMemoView>();
    memo.Name = "Memo1";
    memo.PlaceAt(50, 10, 100, 20);
    memo.Memo = {"a\"b", "<&>"};
    memo.Flags = flag::Stretched | flag::WordWrap;
    memo.FrameTyp = frame::Left | frame::Top;
    memo.FrameWidth = 0.5f;
    memo.FrameColor = 0xFF0000;
    memo.FillColor = kNoColor;
    memo.BandAlign = bandalign::Rest;
    memo.Restrictions = restrict::DontSize | restrict::DontEditMemo;
    memo.ScriptLines = {"Memo1.Visible := True"};
    memo.Font = {"Arial", 10, 0, 0, 1};
    memo.Highlight = {fontstyle::Bold, 0, 0xFFFFFF};
    memo.LineSpacing = 2;
    memo.CharSpacing = 0;
    memo.Alignment = textalign::Center | textalign::Middle;

    auto& band = page.Add<TfrBandView>();
    band.Name = "Band1";
    band.SetBandKind(bandkind::MasterData);
    band.PlaceAt(0, 40, 700, 30);
    band.Flags = flag::Stretched | flag::OnFirstPage;
    band.DisplayFormatText = "Table1";
    band.Columns = 1;
    band.ColumnWidth = 200;
    band.ColumnGap = 20;

    auto& overlay = page.Add<TfrBandView>();
    overlay.Name = "Band2";
    overlay.SetBandKind(bandkind::Overlay);

    auto& line = page.Add<TfrLineView>();
    line.Name = "Line1";
    line.PlaceAt(38, 80, 200, 0);
    line.Flags = 0;
    line.FrameTyp = frame::Left;
    line.FrameWidth = 2.0f;
    line.FillColor = 0xFFFFFF;
    line.Visible = false;

    auto& sub = page.Add<TfrSubReportView>();
    sub.Name = "SubReport1";
    sub.PlaceAt(40, 100, 50, 50);
    sub.FillColor = kNoColor;
    sub.SubPageIndex = 1;

    report.Pages.Add();   // a dialog page without objects
    TfrPage& dialog = report.Pages.Items(1);
    dialog.Type = pagetype::Dialog;

    const std::string script =
        "procedure Page1OnBeforePrint(Sender: TfrComponent);&#13;&#10;begin&#13;&#10;  with Page1, Engine do&#13;&#10;"
        "  begin&#13;&#10;  x := 1;&#13;&#10;  end&#13;&#10;end;&#13;&#10;&#13;&#10;"
        "procedure Memo1OnBeforePrint(Sender: TfrComponent);&#13;&#10;begin&#13;&#10;  with Memo1, Engine do&#13;&#10;"
        "  begin&#13;&#10;Memo1.Visible := True&#13;&#10;  end&#13;&#10;end;&#13;&#10;&#13;&#10;"
        "begin&#13;&#10;&#13;&#10;end.&#13;&#10;";
    const std::string expected = crlfLines({
        R"(<?xml version="1.0"?>)",
        R"(<TfrReport ScriptLanguage="PascalScript" ScriptText.text=")" + script
            + R"(" Propdata="0844617461736574730E00095661726961626C65730E00")"
              R"( ReportOptions.Name="Cheque" ReportOptions.Author="Pemvora" ReportOptions.Description.text="c")"
              R"( ReportOptions.CreateDate="45000.5" ReportOptions.LastChange="45001.25")"
              R"( ReportOptions.VersionMajor="1" ReportOptions.VersionMinor="2" ReportOptions.VersionRelease="3")"
              R"( ReportOptions.VersionBuild="4" ReportOptions.Password="7X")",
        ">",
        R"(<TfrReportPage Name="Page1" Orientation="poPortrait" PaperWidth="220" PaperHeight="311" PaperSize="9")"
        R"( LeftMargin="11" RightMargin="16" TopMargin="5" BottomMargin="21" Columns="1" ColumnWidth="0")"
        R"( OnBeforePrint="Page1OnBeforePrint")",
        ">",
        R"(<TfrMemoView Name="Memo1" Left="12" Top="10" Width="100" Height="20" Color="536870911" Frame.Typ="5")"
        R"( Frame.Width="0.5" Frame.Color="16711680" Frame.Style="0" GapX="2" GapY="1" TagStr="")"
        R"( Memo.text="a&#34;b&#13;&#10;&#60;&#38;&#62;&#13;&#10;" Align="4" OnBeforePrint="Memo1OnBeforePrint")"
        R"( OnClick="Memo1OnBeforePrint" OnActivate="Memo1OnBeforePrint" Restrictions="3" StretchMode="smMaxHeight")"
        R"( Font.Name="Arial" Font.Height="-13" Font.Color="0" Font.Style="0" Highlight.Condition="")"
        R"( Highlight.Font.Style="2" Highlight.Font.Color="0" Highlight.Color="16777215" LineSpacing="2")"
        R"( CharSpacing="0" HAlign="2" VAlign="1")",
        "/>",
        R"(<TfrMasterData Name="Band1" Left="-38" Top="40" Width="700" Height="30" Columns="1" ColumnWidth="200")"
        R"( ColumnGap="20" Stretched="True" PrintOnLastPage="False" DataSet="Table1")",
        "/>",
        R"(<TfrLineView Name="Line1" Left="0" Top="80" Width="200" Height="0" Color="16777215" Visible="False")"
        R"( Frame.Typ="1" Frame.Width="2" Frame.Color="0" Frame.Style="0" GapX="2" GapY="1" TagStr="" Memo.text="")"
        R"( Align="0" Restrictions="0" Stretched="False")",
        "/>",
        R"(<TfrSubReportView Name="SubReport1" Left="2" Top="100" Width="50" Height="50" Color="536870911")"
        R"( Frame.Typ="0" Frame.Width="1" Frame.Color="0" Frame.Style="0" GapX="2" GapY="1" TagStr="" Memo.text="")"
        R"( Align="0" Restrictions="0" Page="Page2")",
        "/>",
        "</TfrReportPage>",
        R"(<TfrDialogPage Name="Page2" Height="300" Left="220" Top="120" Width="380" BorderStyle="3" Caption="Form")"
        R"( Color="-16777201" Position="4")",
        "/>",
        "</TfrReport>",
    });
    EXPECT_EQ(ExportXml(report), expected);

    // The report's own save writes the export while its switch is set, and
    // the file gets the export's extension.
    report.XmlExport = true;
    EXPECT_EQ(report.SaveToBytes(), expected);
    report.XmlExport = false;
    QTemporaryDir dir;
    const std::string written = SaveXmlExportToFile(report, (dir.path() + "/cheque.frf").toStdString());
    EXPECT_EQ(written, (dir.path() + "/cheque.fr3").toStdString());
    EXPECT_EQ(LoadBytesFromFile(written), expected);
}

// ---- read back by python's XML parser

constexpr const char* kParse = R"(
import json, sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
print(json.dumps([[e.tag, e.attrib] for e in root.iter()]))
)";

nlohmann::json parsedByPython(const std::string& file)
{
    QProcess python;
    python.start("python3", {"-c", kParse, QString::fromStdString(file)});
    EXPECT_TRUE(python.waitForFinished(60000));
    if (python.exitCode() != 0) {
        ADD_FAILURE() << python.readAllStandardError().toStdString();
        return nullptr;
    }
    return nlohmann::json::parse(python.readAllStandardOutput().toStdString());
}

std::string u(std::string_view gbk) { return text::gbkToUtf8(gbk); }

TEST_F(XmlExport, PythonReadsBackQuotesAnglesAmpersandsAndChinese)
{
    const std::string payee = "\xCA\xD5\xBF\xEE\xC8\xCB";   // 收款人
    const std::string amount = "\xBD\xF0\xB6\xEE";           // 金额
    TfrReport report;
    buildSample(report);
    report.Information.Name = "\"" + payee + "\" <&> 'x'";
    report.Information.Comment = "line 1\r\nline 2 & <3>";
    report.ReportPassword = "p\xC3\xDC";   // "p" and 密
    report.Dictionary.VarList.SetVariable(payee, Value("[dskdw] & \"x\""));
    TfrPage& page = report.Pages.Items(0);
    auto& memo = static_cast<TfrMemoView&>(*page.PageObjects[0]);
    memo.Memo = {"He said \"hi\" <b> & 'x' > y", payee + "\t" + amount, ""};
    memo.Tag = "&amp; is not an entity here";
    memo.HighlightCondition = "[a] < [b] & \"c\"";
    memo.ScriptLines = {"if a < b then", "  Memo1.Memo.Text := '" + amount + "&';"};
    auto& data = static_cast<TfrBandView&>(*page.PageObjects[24 + bandkind::MasterData]);
    data.DisplayFormatText = "Table1.\"" + amount + "\"";
    auto& group = static_cast<TfrBandView&>(*page.PageObjects[24 + bandkind::GroupHeader]);
    group.DisplayFormatText = "[a] < [b] & c";
    TfrPage& dialog = report.Pages.Items(1);
    dialog.Caption = payee + " & <ok> \"?\"";

    QTemporaryDir dir;
    const std::string file = SaveXmlExportToFile(report, (dir.path() + "/sample").toStdString());
    const std::string bytes = LoadBytesFromFile(file);
    ASSERT_EQ(bytes.rfind("<?xml version=\"1.0\"?>\r\n", 0), 0u);

    const nlohmann::json elements = parsedByPython(file);
    ASSERT_TRUE(elements.is_array());
    // The report, two pages, 24 texts, the bands that have elements (23 kinds
    // less 5 left out), the picture and the line.
    ASSERT_EQ(elements.size(), 1u + 2u + 24u + 18u + 2u);

    const nlohmann::json& root = elements[0][1];
    EXPECT_EQ(elements[0][0], "TfrReport");
    EXPECT_EQ(root["ReportOptions.Name"], u(report.Information.Name));
    EXPECT_EQ(root["ReportOptions.Description.text"], report.Information.Comment);
    // Each password byte less 10, as the character of that code.
    EXPECT_EQ(root["ReportOptions.Password"], "f\xC2\xB9\xC3\x92");
    const std::string scriptText = root["ScriptText.text"];
    EXPECT_NE(scriptText.find("procedure Memo1OnBeforePrint(Sender: TfrComponent);\r\nbegin\r\n  with Memo1, Engine do"
                              "\r\n  begin\r\nif a < b then\r\n  Memo1.Memo.Text := '"
                              + u(amount) + "&';\r\n  end\r\nend;\r\n"),
              std::string::npos)
        << scriptText;
    const std::string propdata = root["Propdata"];
    // The variable's name in the component stream: a string (06) of 6 bytes.
    EXPECT_NE(propdata.find("0606CAD5BFEEC8CB"), std::string::npos);

    const nlohmann::json& first = elements[2][1];
    EXPECT_EQ(elements[2][0], "TfrMemoView");
    EXPECT_EQ(first["Name"], "Memo1");
    EXPECT_EQ(first["Memo.text"], u(memo.Memo[0] + "\r\n" + memo.Memo[1] + "\r\n\r\n"));
    EXPECT_EQ(first["TagStr"], memo.Tag);
    EXPECT_EQ(first["Highlight.Condition"], memo.HighlightCondition);
    EXPECT_EQ(first["Font.Name"], u(memo.Font.Name));
    EXPECT_EQ(first["OnBeforePrint"], "Memo1OnBeforePrint");

    auto element = [&](std::string_view tag) -> const nlohmann::json& {
        for (const auto& e : elements)
            if (e[0] == tag) return e[1];
        ADD_FAILURE() << "no " << tag;
        return elements[0][1];
    };
    EXPECT_EQ(element("TfrMasterData")["DataSet"], u(data.DisplayFormatText));
    EXPECT_EQ(element("TfrGroupHeader")["Condition"], group.DisplayFormatText);
    EXPECT_EQ(element("TfrDialogPage")["Caption"], u(dialog.Caption));
    const auto& picture = static_cast<const TfrPictureView&>(*page.PageObjects[47]);
    const std::string pictureHex = element("TfrPictureView")["Picture.Propdata"];
    EXPECT_EQ(pictureHex.size(), picture.Picture.Data.size() * 2);
    EXPECT_EQ(pictureHex.substr(0, 6), "FFD8FF");
}

// ---- the pieces

TEST_F(XmlExport, ScriptsBecomeProceduresOfTheirObjects)
{
    struct Case {
        StringList script;
        std::vector<std::string> body;   // the lines after "  begin"
    } cases[] = {
        {{"a := 1;"}, {"a := 1;", "  end", "end;"}},
        {{"a := 1;", "b := 2;"}, {"a := 1;", "b := 2;", "  end", "end;"}},
        {{"begin", "a := 1;", "end"}, {"a := 1;", "  end", "end;"}},
        {{"begin", "end"}, {"  end", "end;"}},
        {{"begin"}, {"  end", "begin;"}},
        {{"Begin", "end"}, {"Begin", "end", "  end", "end;"}},
    };
    for (const Case& c : cases) {
        TfrReport report;
        TfrPage& page = report.Pages.Items(report.Pages.Add());
        page.Add<TfrLineView>().Name = "Quiet";   // no script: no procedure
        auto& line = page.Add<TfrLineView>();
        line.Name = "Line2";
        line.ScriptLines = c.script;
        std::vector<std::string> lines = {"procedure Line2OnBeforePrint(Sender: TfrComponent);", "begin",
                                          "  with Line2, Engine do", "  begin"};
        lines.insert(lines.end(), c.body.begin(), c.body.end());
        lines.insert(lines.end(), {"", "begin", "", "end."});
        EXPECT_EQ(xmlexport::ScriptText(report), crlfLines(lines)) << c.script.front();
    }
}

TEST_F(XmlExport, DictionaryDataIsTheComponentStreamOfTheVariables)
{
    TfrDataDictionary dictionary;
    dictionary.VarList.SetVariable(" Cheque", Value(""));
    const std::string longValue(300, 'x');
    dictionary.VarList.SetVariable("Amount", Value(longValue));
    Bytes expected;
    expected.u8(8).raw("Datasets").u8(14).u8(0);
    expected.u8(9).raw("Variables").u8(14);
    expected.u8(1).u8(4).raw("Name").u8(6).u8(7).raw(" Cheque").u8(5).raw("Value").u8(6).u8(0).u8(0);
    expected.u8(1).u8(4).raw("Name").u8(6).u8(6).raw("Amount").u8(5).raw("Value").u8(12).i32(300).raw(longValue);
    expected.u8(0).u8(0);
    EXPECT_EQ(xmlexport::DictionaryData(dictionary), expected.s);
}

TEST_F(XmlExport, BandsAreNamedByTheirKindAndSomeAreLeftOut)
{
    const char* names[bandkind::Count] = {
        "TfrReportTitle", "TfrReportSummary", "TfrPageHeader", "TfrPageFooter", "TfrHeader", "TfrMasterData",
        "TfrFooter", "TfrHeader", "TfrDetailData", "TfrFooter", "TfrHeader", "TfrSubDetailData", "TfrFooter",
        nullptr, "TfrColumnHeader", "TfrColumnFooter", "TfrGroupHeader", "TfrGroupFooter", nullptr, nullptr,
        nullptr, "TfrChild", nullptr,
    };
    TfrReport report;
    TfrPage& page = report.Pages.Items(report.Pages.Add());
    for (int k = 0; k < bandkind::Count; ++k) {
        auto& band = page.Add<TfrBandView>();
        band.Name = "Band" + std::to_string(k);
        band.SetBandKind(k);
    }
    const std::string xml = ExportXml(report);
    for (int k = 0; k < bandkind::Count; ++k) {
        const std::string name = " Name=\"Band" + std::to_string(k) + "\"";
        if (!names[k]) {
            EXPECT_EQ(xml.find(name), std::string::npos) << k;
            continue;
        }
        EXPECT_NE(xml.find(fmt::format("<{}{}", names[k], name)), std::string::npos) << k;
    }
}

TEST_F(XmlExport, PictureNamesTheDataFieldItsFirstLineResolvesTo)
{
    ComponentContainer form("Form1");
    MemoryDataSet table("Table1", {{"Photo", FieldKind::Blob}});
    form.add(&table);
    TfrReport report;
    report.Owner = &form;
    report.Dictionary.VarList.SetVariable(" Pictures", Value(""));
    report.Dictionary.VarList.SetVariable("Logo", Value("Table1.\"Photo\""));
    TfrPage& page = report.Pages.Items(report.Pages.Add());
    struct Case {
        std::string line;
        bool bound;
    } cases[] = {
        {"[Table1.\"Photo\"]", true},
        {"[Logo]", true},
        {"[Table1.\"Missing\"]", false},
        {"[Nowhere.\"Photo\"]", false},
        {"", false},
    };
    for (const Case& c : cases) {
        auto& picture = page.Add<TfrPictureView>();
        picture.Name = "Picture" + std::to_string(page.ObjectCount());
        if (!c.line.empty()) picture.Memo = {c.line};
    }
    const std::string xml = ExportXml(report);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string start = "<TfrPictureView Name=\"Picture" + std::to_string(i + 1) + "\"";
        const std::size_t at = xml.find(start);
        ASSERT_NE(at, std::string::npos);
        const std::string element = xml.substr(at, xml.find("\r\n", at) - at);
        EXPECT_EQ(element.find(" DataSet=\"Form1.Table1\" DataField=\"Photo\"") != std::string::npos, cases[i].bound)
            << cases[i].line;
    }
}

TEST_F(XmlExport, ValuesXmlCannotCarryStopTheExport)
{
    TfrReport report;
    TfrPage& page = report.Pages.Items(report.Pages.Add());
    auto& memo = page.Add<TfrMemoView>();
    memo.Name = "Memo1";
    memo.Memo = {"bell \x07"};
    try {
        ExportXml(report);
        ADD_FAILURE();
    } catch (const TemplateSaveError& e) {
        EXPECT_NE(std::string(e.what()).find("Memo.text of Memo1"), std::string::npos) << e.what();
    }
    memo.Memo = {"tab\there"};
    EXPECT_NO_THROW(ExportXml(report));
    // A space less 10 is a control character.
    report.ReportPassword = "a b";
    EXPECT_THROW(ExportXml(report), TemplateSaveError);

    QTemporaryDir dir;
    const std::string file = (dir.path() + "/kept.fr3").toStdString();
    SaveBytesToFile(file, "old");
    EXPECT_THROW(SaveXmlExportToFile(report, file), TemplateSaveError);
    EXPECT_EQ(LoadBytesFromFile(file), "old");
}

} // namespace
} // namespace pemvora::report::test
