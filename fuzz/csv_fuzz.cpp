// Fuzz target: the CSV reader.
//
// Any text either reads into a dataset or is refused with DataError; nothing
// crashes, hangs or reads out of bounds. A dataset that was read has at least
// one column, every row holds a value for every column, and a walk from the
// first row to the end visits each row once.

#include "report/data/csv_dataset.h"
#include "report/data/dataset.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace pemvora::report;

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "csv: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<MemoryDataSet> dataset;
    try {
        dataset = ReadCsv(input, "Csv");
    } catch (const DataError& e) {
        if (std::string_view(e.what()).empty()) fail("refused without a message");
        return 0;
    }
    if (!dataset) fail("no dataset and no error");
    const int columns = static_cast<int>(dataset->fields().size());
    if (columns == 0) fail("a dataset without columns");
    dataset->open();
    int rows = 0;
    for (dataset->first(); !dataset->eof(); dataset->next()) {
        for (int i = 0; i < columns; ++i) (void)dataset->fieldValue(i).toText();
        if (++rows > dataset->rowCount()) fail("the walk visits more rows than there are");
    }
    if (rows != dataset->rowCount()) fail("the walk misses rows");
    dataset->close();

    // Each field of the text on its own, as a value.
    std::string field;
    for (const char c : input) {
        if (c == ',' || c == '\n') {
            (void)CsvFieldValue(std::move(field));
            field.clear();
        } else {
            field += c;
        }
    }
    (void)CsvFieldValue(std::move(field));
    return 0;
}
