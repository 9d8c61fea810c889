#pragma once
// Comma-separated values as a dataset: what the command line and batch
// printing hand to a report as a data source.
//
// The text is UTF-8 (a leading byte-order mark is skipped) and is held as
// engine text (GBK). The first record holds the column names; every later
// record is a row. Fields follow RFC 4180: separated by commas, records by
// CR LF or LF, a field in double quotes may hold commas, line breaks and
// doubled quotes. Lines that hold nothing at all are skipped.
//
// A field in plain decimal notation becomes a number: an integer when it has
// no decimal point (at most 18 digits), a floating-point number otherwise (at
// most 15 digits). Everything else stays text, and so do digit strings that
// begin with a 0 ("007", account numbers), carry a sign "+", blanks,
// thousands separators or an exponent: such texts are codes more often than
// amounts, and turning them into numbers would lose digits.

#include "report/data/memorydataset.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace pemvora::report {

// The most bytes a CSV file may have.
inline constexpr std::size_t kMaxCsvBytes = std::size_t{512} << 20;

// Reads CSV text into a dataset of that name (closed; open() it before use).
// Raises DataError naming the line for text that is no CSV or that GBK cannot
// hold, a record with another number of fields than the column names, a
// quote left open, an empty text, and two columns of the same name (names
// compare ignoring case, as field lookup does).
std::unique_ptr<MemoryDataSet> ReadCsv(std::string_view utf8, std::string name);

// Reads a CSV file; a file that cannot be read, or is larger than
// kMaxCsvBytes, raises DataError.
std::unique_ptr<MemoryDataSet> LoadCsvFile(const std::string& path, std::string name);

// The value of one CSV field (engine text) by the rule above.
Value CsvFieldValue(std::string field);

} // namespace pemvora::report
