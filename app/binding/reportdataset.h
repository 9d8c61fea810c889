#pragma once
// A dataset of the data module as the report engine sees it (a report data
// source's IDataSet): the same cursor, field values in engine text (GBK), and
// field kinds from the columns' declared types.
//
// The cursor is the dataset's own: a report that walks it moves the window's
// current row, as a window's data source would.

#include "app/data/dataset.h"
#include "report/data/dataset.h"

namespace pemvora::app {

class ReportDataSet : public report::IDataSet, private data::DatasetListener {
public:
    // `name` is the component name (engine text) reports refer to it by.
    ReportDataSet(data::Dataset& dataset, std::string name);
    ~ReportDataSet() override;
    ReportDataSet(const ReportDataSet&) = delete;
    ReportDataSet& operator=(const ReportDataSet&) = delete;

    bool isOpen() const override;
    void open() override;
    void close() override;
    void first() override;
    void next() override;
    void prior() override;
    bool eof() const override;
    report::Bookmark bookmark() const override;
    void gotoBookmark(const report::Bookmark& b) override;
    const std::vector<report::FieldInfo>& fields() const override;
    Value fieldValue(int index) const override;

private:
    void datasetDestroyed(data::Dataset&) override;
    data::Dataset& dataset() const;

    data::Dataset* dataset_;
    mutable std::vector<report::FieldInfo> fields_;
};

} // namespace pemvora::app
