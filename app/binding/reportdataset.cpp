#include "app/binding/reportdataset.h"

#include "platform/text/gbk.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <charconv>

namespace pemvora::app {

namespace {

// SQLite's rules for a declared type, as the report's field kinds.
report::FieldKind kindOfDeclaredType(std::string type, bool date)
{
    if (date) return report::FieldKind::DateTime;
    std::transform(type.begin(), type.end(), type.begin(), [](unsigned char c) { return std::toupper(c); });
    const auto has = [&](const char* part) { return type.find(part) != std::string::npos; };
    if (has("INT")) return report::FieldKind::Integer;
    if (has("CHAR") || has("CLOB") || has("TEXT")) return report::FieldKind::String;
    if (has("BOOL")) return report::FieldKind::Boolean;
    if (has("REAL") || has("FLOA") || has("DOUB") || has("NUM") || has("DEC")) return report::FieldKind::Float;
    if (has("BLOB")) return report::FieldKind::Blob;
    return report::FieldKind::Other;
}

} // namespace

ReportDataSet::ReportDataSet(data::Dataset& dataset, std::string name)
    : IDataSet(std::move(name)), dataset_(&dataset)
{
    dataset_->addListener(this);
}

ReportDataSet::~ReportDataSet()
{
    if (dataset_) dataset_->removeListener(this);
}

void ReportDataSet::datasetDestroyed(data::Dataset&)
{
    dataset_ = nullptr;
}

data::Dataset& ReportDataSet::dataset() const
{
    if (!dataset_) throw report::DataError(fmt::format("Unable to open dataset {}", text::gbkToUtf8(Name())));
    return *dataset_;
}

bool ReportDataSet::isOpen() const { return dataset_ && dataset_->isOpen(); }
void ReportDataSet::open() { dataset().open(); }
void ReportDataSet::close() { dataset().close(); }
void ReportDataSet::first() { dataset().first(); }
void ReportDataSet::next() { dataset().next(); }
void ReportDataSet::prior() { dataset().prior(); }
bool ReportDataSet::eof() const { return !dataset_ || dataset_->eof(); }

report::Bookmark ReportDataSet::bookmark() const
{
    return std::to_string(dataset().bookmark().serial);
}

void ReportDataSet::gotoBookmark(const report::Bookmark& b)
{
    data::Bookmark mark;
    const auto [end, error] = std::from_chars(b.data(), b.data() + b.size(), mark.serial);
    if (error != std::errc() || end != b.data() + b.size() || !dataset().gotoBookmark(mark))
        throw report::DataError("The record of the bookmark is gone");
}

const std::vector<report::FieldInfo>& ReportDataSet::fields() const
{
    if (!isOpen()) {
        fields_.clear();
        return fields_;
    }
    if (static_cast<int>(fields_.size()) == dataset_->fieldCount()) return fields_;
    fields_.clear();
    for (int i = 0; i < dataset_->fieldCount(); ++i)
        fields_.push_back({text::utf8ToGbk(dataset_->fieldName(i)),
                           kindOfDeclaredType(dataset_->declaredType(i), dataset_->isDateField(i))});
    return fields_;
}

Value ReportDataSet::fieldValue(int index) const
{
    const Value v = dataset().value(index);
    return v.isString() ? Value(text::utf8ToGbk(v.string())) : v;
}

} // namespace pemvora::app
