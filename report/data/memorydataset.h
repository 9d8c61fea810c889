#pragma once
// A dataset held in memory: fields and rows of values, a cursor, bookmarks that
// stay valid while rows are only appended.

#include "report/data/dataset.h"

namespace pemvora::report {

class MemoryDataSet : public IDataSet {
public:
    MemoryDataSet(std::string name, std::vector<FieldInfo> fields);

    void appendRow(std::vector<Value> row);
    int rowCount() const { return static_cast<int>(rows_.size()); }
    // 0-based row of the cursor; rowCount() past the end.
    int position() const { return cursor_; }
    void moveTo(int row);
    int openCount() const { return opens_; }

    bool isOpen() const override { return open_; }
    void open() override;
    void close() override;
    void first() override;
    void next() override;
    void prior() override;
    bool eof() const override;
    Bookmark bookmark() const override;
    void gotoBookmark(const Bookmark& b) override;
    const std::vector<FieldInfo>& fields() const override { return fields_; }
    Value fieldValue(int index) const override;

private:
    void requireOpen() const;

    std::vector<FieldInfo> fields_;
    std::vector<std::vector<Value>> rows_;
    int cursor_ = 0;
    bool open_ = false;
    int opens_ = 0;
};

} // namespace pemvora::report
