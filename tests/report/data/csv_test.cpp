// CSV text as a dataset: the fields RFC 4180 quoting gives, which fields turn
// into numbers, Chinese text held as GBK, and the texts that are refused with
// the line they fail on.

#include "report/data/csv_dataset.h"

#include "platform/text/gbk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pemvora::report {
namespace {

struct FieldCase {
    const char* text;
    Value expected;
};

const FieldCase kFields[] = {
    {"12", Value(12)},
    {"-3", Value(-3)},
    {"0", Value(0)},
    {"0.5", Value(0.5)},
    {"1234.50", Value(1234.5)},
    {"-0.25", Value(-0.25)},
    {"999999999999999999", Value(999999999999999999LL)},   // 18 digits
    {"3.14159265358979", Value(3.14159265358979)},          // 15 digits
    // Codes and texts that only look like numbers stay as written.
    {"007", Value("007")},
    {"00.5", Value("00.5")},
    {"+5", Value("+5")},
    {" 5", Value(" 5")},
    {"5 ", Value("5 ")},
    {"1e5", Value("1e5")},
    {"1,000", Value("1,000")},
    {"$FF", Value("$FF")},
    {"1.", Value("1.")},
    {".5", Value(".5")},
    {"-", Value("-")},
    {"", Value("")},
    {"6222021234567890123", Value("6222021234567890123")},   // 19 digits: an account number
    {"3.141592653589793", Value("3.141592653589793")},       // 16 digits would lose one
};

TEST(CsvFieldValue, NumbersInPlainDecimalNotationBecomeNumbers)
{
    for (const FieldCase& c : kFields) EXPECT_EQ(CsvFieldValue(c.text), c.expected) << "\"" << c.text << "\"";
}

// The rows of a dataset, every value as text, fields joined by "|".
std::vector<std::string> rowsOf(MemoryDataSet& data)
{
    std::vector<std::string> rows;
    data.open();
    for (data.first(); !data.eof(); data.next()) {
        std::string row;
        for (int i = 0; i < static_cast<int>(data.fields().size()); ++i) {
            if (i > 0) row += "|";
            row += data.fieldValue(i).toText();
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(ReadCsv, QuotedFieldsHoldCommasLineBreaksAndQuotes)
{
    const auto data = ReadCsv("name,memo,amount\r\n"
                              "\"Smith, J\",\"line 1\r\nline 2\",12\r\n"
                              "plain,\"say \"\"hi\"\"\",-0.5\r\n"
                              "\"\",a\"b,7",
                              "Payments");
    ASSERT_EQ(data->fields().size(), 3u);
    EXPECT_EQ(data->fields()[2].name, "amount");
    EXPECT_EQ(rowsOf(*data), (std::vector<std::string>{"Smith, J|line 1\r\nline 2|12", "plain|say \"hi\"|-0.5",
                                                       "|a\"b|7"}));
    EXPECT_EQ(data->Name(), "Payments");
}

TEST(ReadCsv, ChineseTextBecomesEngineTextAndBlankLinesAreSkipped)
{
    const auto data = ReadCsv("\xEF\xBB\xBF收款人,金额\n\n北京某某公司,1200\n\n上海公司,30\n", "Data");
    EXPECT_EQ(data->fields()[0].name, text::utf8ToGbk("收款人"));
    EXPECT_EQ(data->fieldIndex(text::utf8ToGbk("金额")), 1);
    EXPECT_EQ(rowsOf(*data),
              (std::vector<std::string>{text::utf8ToGbk("北京某某公司|1200"), text::utf8ToGbk("上海公司|30")}));
}

TEST(ReadCsv, AHeaderWithoutRowsIsAnEmptyDataset)
{
    const auto data = ReadCsv("a,b\n", "Data");
    EXPECT_EQ(data->fields().size(), 2u);
    EXPECT_EQ(data->rowCount(), 0);
}

struct BadCase {
    const char* name;
    std::string text;
    const char* message;
};

const BadCase kBad[] = {
    {"Empty", "", "The CSV text is empty: its first line must name the columns"},
    {"OnlyBlankLines", "\r\n\n", "The CSV text is empty: its first line must name the columns"},
    {"TooManyFields", "a,b\n1,2\n1,2,3\n", "CSV line 3: 3 fields, but the first line names 2 columns"},
    {"TooFewFields", "a,b\n1\n", "CSV line 2: 1 fields, but the first line names 2 columns"},
    {"QuoteLeftOpen", "a,b\n1,\"open\nstill open\n", "CSV line 2: a quoted field is not closed"},
    {"TextAfterTheQuote", "a,b\n\"x\"y,2\n", "CSV line 2: text after the closing quote of a field"},
    // A line number counts the line breaks inside quoted fields too.
    {"LineAfterAQuotedBreak", "a\n\"1\n2\"\n3,4\n", "CSV line 4: 2 fields, but the first line names 1 columns"},
    {"ColumnNamedTwice", "Amount,amount\n", "CSV line 1: the column \"amount\" is named twice"},
    {"NotUtf8", "a\n\xC3(\n", "CSV line 2: The text is not valid UTF-8 (byte 0xC3)"},
    {"NotInGbk", "a\nok\n\xF0\x9F\x98\x80\n", "CSV line 3: The character \"\xF0\x9F\x98\x80\" (U+1F600) cannot be written in GBK"},
};

class BadCsv : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadCsv, IsRefusedWithTheLineItFailsOn)
{
    try {
        ReadCsv(GetParam().text, "Data");
        FAIL() << "no error";
    } catch (const DataError& e) {
        EXPECT_EQ(std::string(e.what()), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BadCsv, ::testing::ValuesIn(kBad),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LoadCsvFile, AFileThatCannotBeReadIsRefused)
{
    EXPECT_THROW(LoadCsvFile("/nonexistent/data.csv", "Data"), DataError);
}

} // namespace
} // namespace pemvora::report
