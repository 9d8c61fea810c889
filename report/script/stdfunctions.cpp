#include "report/script/stdfunctions.h"

#include "platform/text/gbk.h"
#include "platform/ui/uiservices.h"
#include "platform/value/datetime.h"
#include "platform/value/editmask.h"
#include "platform/value/locale.h"
#include "platform/value/numberformat.h"
#include "report/data/dataset.h"
#include "report/model/report.h"
#include "report/script/aggregates.h"
#include "report/script/names.h"
#include "report/script/valueops.h"

#include <fmt/format.h>

namespace pemvora::report {

namespace {

struct Description {
    const char* name;
    const char* category;
    const char* text;
};

// Names, categories and descriptions of the standard library's list; some name
// what the evaluator, the system names or the script procedures handle.
const Description kStandardDescriptions[] = {
    {"AVG", "Aggregate", "AVG(<Expression> [,BandName [,1]])/Calculates the average of <Expression> for [BandName] row given. If [1] parameter is used, calculates average for non-visible rows too."},
    {"COUNT", "Aggregate", "COUNT(<BandName>)/Returns count of data-rows given in the <BandName>. "},
    {"MAX", "Aggregate", "MAX(<Expression> [,BandName [,1]])/Calculates the maximum of <Expression> for [BandName] row given. If [1] parameter is used, calculates maximum for non-visible rows too."},
    {"MIN", "Aggregate", "MIN(<Expression> [,BandName [,1]])/Calculates the minimum of <Expression> for [BandName] row given. If [1] parameter is used, calculates minimum for non-visible rows too."},
    {"SUM", "Aggregate", "SUM(<Expression> [,BandName [,1]])/Calculates the sum of <Expression> for [BandName] row given. If [1] parameter is used, calculates sum for non-visible rows too."},
    {"DAYOF", "Date and time", "DAYOF(<Date>)/Returns day number (1..31) of given <Date>."},
    {"MONTHOF", "Date and time", "MONTHOF(<Date>)/Returns month number (1..12) of given <Date>."},
    {"YEAROF", "Date and time", "YEAROF(<Date>)/Returns year of given <Date>."},
    {"STRTODATE", "Date and time", "STRTODATE(<String>)/Converts <String> to date."},
    {"STRTOTIME", "Date and time", "STRTOTIME(<String>)/Converts <String> to time."},
    {"DATE", "Date and time", "DATE/Returns current date."},
    {"TIME", "Date and time", "TIME/Returns current time."},
    {"FORMATDATETIME", "String", "FORMATDATETIME(<Fmt>, <DateTime>)/Converts a <DateTime> value to a string using mask in <Fmt>."},
    {"FORMATFLOAT", "String", "FORMATFLOAT(<Fmt>, <Numeric>)/Converts a <Numeric> value to a string using mask in <Fmt>."},
    {"FORMATTEXT", "String", "FORMATTEXT(<Mask>, <String>)/Applies <Mask> to given <String> and returns formatted string."},
    {"LENGTH", "String", "LENGTH(<String>)/Returns length of <String>."},
    {"LOWERCASE", "String", "LOWERCASE(<String>)/Converts <String> symbols to lower case."},
    {"NAMECASE", "String", "NAMECASE(<String>)/Converts <String> symbols to lower case, and first symbol is in upper case."},
    {"TRIM", "String", "TRIM(<String>)/Trims all heading and trailing spaces in <String> and returns resulting string."},
    {"UPPERCASE", "String", "UPPERCASE(<String>)/Converts <String> symbols to upper case."},
    {"POS", "String", "POS(<SubString>, <String>)/Returns position of substring in given string."},
    {"COPY", "String", "COPY(<String>, <From>, <Count>)/Returns a substring of string."},
    {"STR", "String", "STR(<Value>)/Converts number given in <Value> to a string."},
    {"INPUT", "Other", "INPUT(<Caption> [,Default])/Shows dialog window with headstring <Caption> and edit box. If [Default] parameter is set, puts this string in edit box. After user clicks OK, returns input string."},
    {"MESSAGEBOX", "Other", "MESSAGEBOX(<Text>, <Title>, <Buttons>)/Shows standard dialog window with title, text and buttons."},
    {"IF", "Other", "IF(<Expression>, <Value1>, <Value2>)/Returns <Value1>, if expression <Expression> is True; otherwise returns <Value2>. Return value can be not only string."},
    {"PAGE#", "Other", "PAGE#/Returns current page number."},
    {"LINE#", "Other", "LINE#/Returns current data-row number (starting at group beginning)."},
    {"LINETHROUGH#", "Other", "LINETHROUGH#/Returns current data-row number (starting at report beginning)."},
    {"COLUMN#", "Other", "COLUMN#/Returns current column number."},
    {"TOTALPAGES", "Other", "TOTALPAGES/Returns number of total pages in the report."},
    {"MAXNUM", "Math", "MAXNUM(<Value1>, <Value2>)/Returns max of given values."},
    {"MINNUM", "Math", "MINNUM(<Value1>, <Value2>)/Returns min of given values."},
    {"MOD", "Math", "<Value1> MOD <Value2>/Returns remainder from dividing <Value1> by <Value2>."},
    {"ROUND", "Math", "ROUND(<Value>)/Returns rounded <Value>."},
    {"FRAC", "Math", "FRAC(<Value>)/Returns fractional part of <Value>."},
    {"INT", "Math", "INT(<Value>)/Returns integer part of <Value>."},
    {"NOT", "Boolean", "NOT <Value>/Logical 'NOT'."},
    {"AND", "Boolean", "<Value1> AND <Value2>/Logical 'AND'."},
    {"OR", "Boolean", "<Value1> OR <Value2>/Logical 'OR'."},
    {"TRUE", "Boolean", "TRUE/Logical 'TRUE'."},
    {"FALSE", "Boolean", "FALSE/Logical 'FALSE'."},
    {"REPORTCOMMENT", "Report info", "REPORTCOMMENT/Returns report comment"},
    {"REPORTNAME", "Report info", "REPORTNAME/Returns report name"},
    {"REPORTAUTOR", "Report info", "REPORTAUTOR/Returns report author"},
    {"VMAJOR", "Report info", "VMAJOR/Returns version major"},
    {"VMINOR", "Report info", "VMINOR/Returns version minor"},
    {"VRELEASE", "Report info", "VRELEASE/Returns version release"},
    {"VBUILD", "Report info", "VBUILD/Returns version build"},
    {"REPORTDATE", "Report info", "REPORTDATE/Returns report create date"},
    {"REPORTLASTCHANGE", "Report info", "REPORTLASTCHANGE/Returns report modification date"},
    {"MROK", "Interpreter", "MROK/Modal result constant."},
    {"MRCANCEL", "Interpreter", "MRCANCEL/Modal result constant."},
    {"CURY", "Interpreter", "CURY/Returns 'Y' position (in pixels) where current band will be shown. You can also assign value to CurY."},
    {"FREESPACE", "Interpreter", "FREESPACE/Returns remain space on the page in pixels."},
    {"FINALPASS", "Interpreter", "FINALPASS/Returns True if report engine performs final pass."},
    {"PAGEHEIGHT", "Interpreter", "PAGEHEIGHT/Returns height of the page in pixels."},
    {"PAGEWIDTH", "Interpreter", "PAGEWIDTH/Returns width of the page in pixels."},
    {"PROGRESS", "Interpreter", "PROGRESS/Value assigned to Progress will be showed in Progress window."},
    {"MODALRESULT", "Interpreter", "MODALRESULT/Assigning non-zero value to ModalResult will close dialog form."},
    {"STOPREPORT", "Interpreter", "STOPREPORT/Stops report building."},
    {"NEWPAGE", "Interpreter", "NEWPAGE/Starts new page."},
    {"NEWCOLUMN", "Interpreter", "NEWCOLUMN/Starts new column."},
    {"SHOWBAND", "Interpreter", "SHOWBAND(<BandName>)/Shows band with name <BandName> given."},
    {"INC", "Interpreter", "INC(<Value>)/Increments <Value>."},
    {"DEC", "Interpreter", "DEC(<Value>)/Decrements <Value>."},
};

enum StdFunction {
    Avg, Count, DayOf, FormatDateTime, FormatFloat, FormatText, Input, Length, LowerCase, Max, MaxNum,
    MessageBox, Min, MinNum, MonthOf, NameCase, Pos, Sum, Trim, UpperCase, YearOf,
};

const Locale& locale() { return defaultLocale(); }

std::string textOf(const FunctionCall& call, int index) { return call.Evaluate(index).toText(locale()); }

DateTime dateOf(const FunctionCall& call, int index) { return call.Evaluate(index).toDateTime(locale()); }

// The platform's message box flags: buttons in the low four bits, the icon above.
ui::Buttons messageButtons(int flags)
{
    switch (flags & 0x0F) {
    case 1: return ui::Buttons::OkCancel;
    case 3: return ui::Buttons::YesNoCancel;
    case 4: return ui::Buttons::YesNo;
    default: return ui::Buttons::Ok;
    }
}

ui::Icon messageIcon(int flags)
{
    switch (flags & 0xF0) {
    case 16: return ui::Icon::Error;
    case 32: return ui::Icon::Question;
    case 48: return ui::Icon::Warning;
    case 64: return ui::Icon::Information;
    default: return ui::Icon::None;
    }
}

// The dialog results: mrOk 1, mrCancel 2, mrYes 6, mrNo 7.
int modalResult(ui::Answer answer)
{
    switch (answer) {
    case ui::Answer::Ok: return 1;
    case ui::Answer::Cancel: return 2;
    case ui::Answer::Yes: return 6;
    case ui::Answer::No: return 7;
    }
    return 2;
}

std::string inputBox(const FunctionCall& call)
{
    const std::string prompt = textOf(call, 0);
    // An omitted default is an empty text, which evaluates to 0.
    const std::string initial = textOf(call, 1);
    const std::optional<std::string> typed =
        ui::services().input("", text::gbkToUtf8(prompt), text::gbkToUtf8(initial));
    if (!typed) return initial;
    return text::utf8ToGbk(*typed);
}

int messageBox(const FunctionCall& call)
{
    const std::string message = textOf(call, 0);
    const std::string title = textOf(call, 1);
    const int flags = ops::toInt32(call.Evaluate(2), locale());
    return modalResult(ui::services().message(text::gbkToUtf8(message), text::gbkToUtf8(title), messageIcon(flags),
                                              messageButtons(flags)));
}

std::string nameCase(std::string s)
{
    s = text::toLower(s);
    if (!s.empty()) s.replace(0, 1, text::toUpper(s.substr(0, 1)));
    return s;
}

} // namespace

TfrStdFunctionLibrary::TfrStdFunctionLibrary()
{
    FunctionNames = {"AVG",     "COUNT",  "DAYOF",      "FORMATDATETIME", "FORMATFLOAT", "FORMATTEXT", "INPUT",
                     "LENGTH",  "LOWERCASE", "MAX",     "MAXNUM",         "MESSAGEBOX",  "MIN",        "MINNUM",
                     "MONTHOF", "NAMECASE", "POS",      "SUM",            "TRIM",        "UPPERCASE",  "YEAROF"};
}

void TfrStdFunctionLibrary::FileDescriptions()
{
    for (const Description& d : kStandardDescriptions) AddDescription(d.name, d.category, d.text);
}

void TfrStdFunctionLibrary::ExecuteFunction(int number, const FunctionCall& call, Value& value)
{
    value = Value(std::string("0"));
    switch (number) {
    case Avg: value = AggregateCall(aggregate::Avg, call); break;
    case Count: value = AggregateCall(aggregate::Count, call); break;
    case Max: value = AggregateCall(aggregate::Max, call); break;
    case Min: value = AggregateCall(aggregate::Min, call); break;
    case Sum: value = AggregateCall(aggregate::Sum, call); break;
    case DayOf: value = Value(decodeDate(dateOf(call, 0)).day); break;
    case MonthOf: value = Value(decodeDate(dateOf(call, 0)).month); break;
    case YearOf: value = Value(decodeDate(dateOf(call, 0)).year); break;
    case FormatDateTime: {
        const std::string pattern = textOf(call, 0);
        value = Value(formatDateTimePattern(dateOf(call, 1), pattern, locale()));
        break;
    }
    case FormatFloat: {
        const std::string pattern = textOf(call, 0);
        const double x = ops::toNumber(call.Evaluate(1), locale());
        value = Value(formatNumberPattern(x, pattern, {locale().decimalSeparator, locale().thousandSeparator}));
        break;
    }
    case FormatText: {
        const std::string text = textOf(call, 1);
        value = Value(formatMaskText(textOf(call, 0) + ";0; ", text, locale()));
        break;
    }
    case Input: value = Value(inputBox(call)); break;
    case Length: value = Value(static_cast<long long>(textOf(call, 0).size())); break;
    case LowerCase: value = Value(text::toLower(textOf(call, 0))); break;
    case UpperCase: value = Value(text::toUpper(textOf(call, 0))); break;
    case NameCase: value = Value(nameCase(textOf(call, 0))); break;
    case Pos: {
        const std::string needle = textOf(call, 0);
        const std::string hay = textOf(call, 1);
        const std::size_t at = text::find(hay, needle);
        value = Value(at == std::string::npos ? 0LL : static_cast<long long>(at + 1));
        break;
    }
    case Trim: value = Value(std::string(text::trim(textOf(call, 0)))); break;
    case MaxNum:
    case MinNum: {
        const Value a = call.Evaluate(0);
        const Value b = call.Evaluate(1);
        const int c = ops::compare(a, b, locale());
        value = (number == MaxNum ? c > 0 : c < 0) ? a : b;
        break;
    }
    case MessageBox: value = Value(messageBox(call)); break;
    default: break;
    }
}

TDatabaseFunctionLibrary::TDatabaseFunctionLibrary() { FunctionNames = {"FIELDISNULL"}; }

void TDatabaseFunctionLibrary::FileDescriptions()
{
    AddDescription("FIELDISNULL", "Database", "FIELDISNULL(<FieldName>)/Returns 'true' if DB-field is null");
}

void TDatabaseFunctionLibrary::ExecuteFunction(int number, const FunctionCall& call, Value& value)
{
    (void)number;
    value = Value(0);
    const std::string reference = textOf(call, 0);
    ReportDictionaryHost host(call.Report);
    IDataSet* defaultDataSet = call.Report.UseDefaultDataSetName ? host.defaultDataSet() : nullptr;
    const std::optional<FieldReference> field = call.Report.Dictionary.LocateField(reference, defaultDataSet, host);
    if (!field) {
        value = Value(true);
        return;
    }
    const int index = field->dataSet->fieldIndex(field->field);
    if (index < 0) throw DataError(fmt::format("Field '{}' not found", field->field));
    value = Value(field->dataSet->fieldValue(index).isNull());
}

} // namespace pemvora::report
