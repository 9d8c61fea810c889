#pragma once
// What the report engine needs of a database dataset (a query or table cursor of
// the application's data layer): open and close, a cursor over records, an end
// flag, bookmarks, and the fields of the current record.
//
// Implementations speak engine text: names and string values are GBK. The
// in-memory dataset (memorydataset.h) serves tests and small lists.

#include "platform/value/value.h"
#include "report/data/datacomponent.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pemvora::report {

// A failure of data access (a closed dataset, a lost bookmark, a missing source).
class DataError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class FieldKind {
    String,       // variable-length text
    WideString,
    FixedChar,    // fixed-length text
    Integer,
    LargeInt,     // 64-bit integer
    Float,
    Currency,
    Boolean,
    DateTime,
    Memo,
    Blob,
    Other,
};

struct FieldInfo {
    std::string name;
    FieldKind kind = FieldKind::String;
    bool hasDisplayText = false;   // the data layer formats this field's display text itself
};

// A record position remembered by a dataset; meaningful only to the dataset that made it.
using Bookmark = std::string;

class IDataSet : public DataComponent {
public:
    using DataComponent::DataComponent;

    virtual bool isOpen() const = 0;
    virtual void open() = 0;
    virtual void close() = 0;

    virtual void first() = 0;
    virtual void next() = 0;
    virtual void prior() = 0;
    // True past the last record (and at once for an empty dataset).
    virtual bool eof() const = 0;

    virtual Bookmark bookmark() const = 0;
    virtual void gotoBookmark(const Bookmark& b) = 0;
    virtual bool sameBookmark(const Bookmark& a, const Bookmark& b) const { return a == b; }

    virtual const std::vector<FieldInfo>& fields() const = 0;
    // The native value of a field of the current record; Null for a database NULL.
    virtual Value fieldValue(int index) const = 0;
    // The display text of a field of the current record.
    virtual std::string fieldDisplayText(int index) const { return fieldValue(index).toText(); }

    // Index of the field named so (ASCII case ignored); -1 when there is none.
    int fieldIndex(std::string_view name) const;
};

// A field's value as reports see it: display text for fields that have their
// own display text and for 64-bit integers; a NULL becomes "" for text fields,
// false for booleans and 0 for everything else.
Value reportFieldValue(const IDataSet& dataSet, int index);

} // namespace pemvora::report
