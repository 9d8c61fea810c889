#include "report/data/csv_dataset.h"

#include "platform/text/gbk.h"
#include "platform/value/numbertext.h"

#include <fmt/format.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace pemvora::report {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The 1-based line of `text` at which a conversion to GBK first fails.
int firstUnconvertibleLine(std::string_view text)
{
    int line = 1;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string ignored;
        if (!text::tryUtf8ToGbk(text.substr(start, end - start), ignored)) return line;
        ++line;
        start = end + 1;
    }
    return line;
}

std::string toEngineText(std::string_view utf8)
{
    std::string gbk;
    if (text::tryUtf8ToGbk(utf8, gbk)) return gbk;
    const int line = firstUnconvertibleLine(utf8);
    try {
        (void)text::utf8ToGbk(utf8);
    } catch (const std::exception& e) {
        throw DataError(fmt::format("CSV line {}: {}", line, e.what()));
    }
    throw DataError(fmt::format("CSV line {}: the text cannot be read as UTF-8", line));
}

// Splits GBK text into records of fields. Commas, quotes and line breaks are
// ASCII and GBK trail bytes are 0x40 or above, so none of them can be the
// second byte of a Chinese character; the walk still steps over characters whole.
class RecordReader {
public:
    explicit RecordReader(std::string_view text) : text_(text) {}

    // The next record, or nullopt at the end of the text. `line` is the
    // 1-based line the record starts on.
    std::optional<std::vector<std::string>> next(int& line)
    {
        while (pos_ < text_.size() && atLineBreak()) skipLineBreak();   // lines that hold nothing
        if (pos_ >= text_.size()) return std::nullopt;
        line = line_;
        std::vector<std::string> fields(1);
        bool atFieldStart = true;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == ',') {
                fields.emplace_back();
                atFieldStart = true;
                ++pos_;
            } else if (atLineBreak()) {
                skipLineBreak();
                return fields;
            } else if (c == '"' && atFieldStart) {
                readQuoted(fields.back());
                atFieldStart = false;
            } else {
                // A quote inside a field that does not begin with one is taken as it is.
                const std::size_t n = text::charLength(text_, pos_);
                fields.back().append(text_.substr(pos_, n));
                pos_ += n;
                atFieldStart = false;
            }
        }
        return fields;
    }

private:
    bool atLineBreak() const { return text_[pos_] == '\n' || text_[pos_] == '\r'; }
    void skipLineBreak()
    {
        if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
        ++pos_;
        ++line_;
    }
    void readQuoted(std::string& field)
    {
        const int opened = line_;
        ++pos_;
        while (true) {
            if (pos_ >= text_.size())
                throw DataError(fmt::format("CSV line {}: a quoted field is not closed", opened));
            const char c = text_[pos_];
            if (c == '"') {
                if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                    field += '"';
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                break;
            }
            if (c == '\n' || (c == '\r' && !(pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n'))) ++line_;
            const std::size_t n = text::charLength(text_, pos_);
            field.append(text_.substr(pos_, n));
            pos_ += n;
        }
        if (pos_ < text_.size() && text_[pos_] != ',' && !atLineBreak())
            throw DataError(fmt::format("CSV line {}: text after the closing quote of a field", line_));
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

bool allDigits(std::string_view s)
{
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

} // namespace

Value CsvFieldValue(std::string field)
{
    std::string_view s = field;
    const bool negative = !s.empty() && s.front() == '-';
    if (negative) s.remove_prefix(1);
    const std::size_t point = s.find('.');
    const std::string_view whole = s.substr(0, point);
    // "0", "0.5" and "12" are numbers; "007" and "00.5" are codes.
    if (!allDigits(whole) || (whole.size() > 1 && whole.front() == '0')) return Value(std::move(field));
    if (point == std::string_view::npos) {
        if (whole.size() > 18) return Value(std::move(field));
        return Value(static_cast<long long>(*parseInteger(field)));
    }
    const std::string_view fraction = s.substr(point + 1);
    if (!allDigits(fraction) || whole.size() + fraction.size() > 15) return Value(std::move(field));
    return Value(*parseNumber(field));
}

std::unique_ptr<MemoryDataSet> ReadCsv(std::string_view utf8, std::string name)
{
    if (utf8.substr(0, kByteOrderMark.size()) == kByteOrderMark) utf8.remove_prefix(kByteOrderMark.size());
    const std::string text = toEngineText(utf8);
    RecordReader reader(text);
    int line = 0;
    std::optional<std::vector<std::string>> header = reader.next(line);
    if (!header) throw DataError("The CSV text is empty: its first line must name the columns");

    std::vector<FieldInfo> fields;
    for (std::string& column : *header) {
        for (const FieldInfo& f : fields)
            if (!column.empty() && text::equalsNoCase(f.name, column))
                throw DataError(fmt::format("CSV line {}: the column \"{}\" is named twice", line, text::gbkToUtf8(column)));
        fields.push_back({std::move(column), FieldKind::String, false});
    }

    auto data = std::make_unique<MemoryDataSet>(std::move(name), fields);
    while (std::optional<std::vector<std::string>> record = reader.next(line)) {
        if (record->size() != fields.size())
            throw DataError(fmt::format("CSV line {}: {} fields, but the first line names {} columns", line,
                                        record->size(), fields.size()));
        std::vector<Value> row;
        row.reserve(record->size());
        for (std::string& field : *record) row.push_back(CsvFieldValue(std::move(field)));
        data->appendRow(std::move(row));
    }
    return data;
}

std::unique_ptr<MemoryDataSet> LoadCsvFile(const std::string& path, std::string name)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw DataError(fmt::format("Cannot open the CSV file {}", path));
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) throw DataError(fmt::format("Cannot read the CSV file {}", path));
    if (static_cast<std::size_t>(size) > kMaxCsvBytes)
        throw DataError(fmt::format("The CSV file {} is larger than {} MiB", path, kMaxCsvBytes >> 20));
    in.seekg(0);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in.read(bytes.data(), size)) throw DataError(fmt::format("Cannot read the CSV file {}", path));
    return ReadCsv(bytes, std::move(name));
}

} // namespace pemvora::report
