#include "report/data/memorydataset.h"

#include <algorithm>

#include <fmt/format.h>

namespace pemvora::report {

MemoryDataSet::MemoryDataSet(std::string name, std::vector<FieldInfo> fields)
    : IDataSet(std::move(name)), fields_(std::move(fields))
{
}

void MemoryDataSet::appendRow(std::vector<Value> row)
{
    row.resize(fields_.size(), Value::null());
    rows_.push_back(std::move(row));
}

void MemoryDataSet::moveTo(int row)
{
    requireOpen();
    cursor_ = std::clamp(row, 0, rowCount());
}

void MemoryDataSet::open()
{
    if (open_) return;
    open_ = true;
    ++opens_;
    cursor_ = 0;
}

void MemoryDataSet::close() { open_ = false; }

void MemoryDataSet::requireOpen() const
{
    if (!open_) throw DataError(fmt::format("{}: Cannot perform this operation on a closed dataset", Name()));
}

void MemoryDataSet::first()
{
    requireOpen();
    cursor_ = 0;
}

void MemoryDataSet::next()
{
    requireOpen();
    if (cursor_ < rowCount()) ++cursor_;
}

void MemoryDataSet::prior()
{
    requireOpen();
    if (cursor_ > 0) --cursor_;
}

bool MemoryDataSet::eof() const
{
    requireOpen();
    return cursor_ >= rowCount();
}

Bookmark MemoryDataSet::bookmark() const
{
    requireOpen();
    return std::to_string(cursor_);
}

void MemoryDataSet::gotoBookmark(const Bookmark& b)
{
    requireOpen();
    int row = -1;
    try {
        row = std::stoi(b);
    } catch (const std::exception&) {
    }
    if (row < 0 || row > rowCount()) throw DataError(fmt::format("{}: Record not found", Name()));
    cursor_ = row;
}

Value MemoryDataSet::fieldValue(int index) const
{
    requireOpen();
    if (index < 0 || index >= static_cast<int>(fields_.size()))
        throw DataError(fmt::format("{}: Field index out of range", Name()));
    // Past the end the last record stays current, as on a database cursor.
    if (rows_.empty()) return Value::null();
    const int row = std::min(cursor_, rowCount() - 1);
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(index)];
}

} // namespace pemvora::report
