#pragma once
// Dataset: a read-write snapshot of what one SQL statement returns, with a
// cursor, the browse/edit/insert states of the data-aware windows, and
// listeners for bound controls.
//
// Opening reads every row into memory; later changes made through other
// datasets are not seen until the dataset is opened again. When the statement
// reads columns of one table ("SELECT cols FROM table [WHERE ...]"), the rows
// come in table order (rowid) and edits are written back to that table by rowid
// with bound parameters; every post or delete is one transaction, and a failed
// one leaves both the table and the pending row as they were. Any other
// statement gives a read-only dataset in the order the statement returns.

#include "app/data/connection.h"
#include "platform/value/value.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pemvora::data {

enum class DatasetState { Inactive, Browse, Edit, Insert };

class Dataset;

// Notifications for controls bound to a dataset. Every callback has an empty
// default so a listener overrides only what it needs.
class DatasetListener {
public:
    virtual ~DatasetListener() = default;
    // The state (inactive, browse, edit, insert) changed.
    virtual void stateChanged(Dataset&) {}
    // Another row became current, the rows were read again or dropped, or the
    // current row's values were replaced as a whole (cancel, post).
    virtual void recordChanged(Dataset&) {}
    // One column of the current row was written.
    virtual void fieldChanged(Dataset&, int /*column*/) {}
    // The pending row is about to be posted or given up: bound controls write
    // their unsaved input into it now.
    virtual void updateRecord(Dataset&) {}
    // The dataset is going away; drop every reference to it.
    virtual void datasetDestroyed(Dataset&) {}
};

// Identifies one row of a result set for as long as the set is open.
struct Bookmark {
    std::uint64_t serial = 0;   // 0: no row
    bool valid() const { return serial != 0; }
    friend bool operator==(Bookmark a, Bookmark b) { return a.serial == b.serial; }
};

class Dataset {
public:
    explicit Dataset(Connection& connection, std::string name = {});
    Dataset(const Dataset&) = delete;
    Dataset& operator=(const Dataset&) = delete;
    ~Dataset();

    const std::string& name() const { return name_; }
    Connection& connection() const { return connection_; }

    // ---- Statement ----
    // The statement is kept as lines and run joined by line breaks. Setting it
    // closes the dataset.
    void setSql(std::vector<std::string> lines);
    const std::vector<std::string>& sqlLines() const { return sql_; }
    std::string sqlText() const;
    // Values for the statement's "?" parameters, in order.
    void setParams(std::vector<Value> params) { params_ = std::move(params); }
    const std::vector<Value>& params() const { return params_; }

    // ---- Opening ----
    // Reads the rows; the cursor stands on the first. Opening an open dataset
    // does nothing.
    void open();
    // Drops the rows and any pending row (unposted edits are lost).
    void close();
    bool isOpen() const { return state_ != DatasetState::Inactive; }
    // Close, replace the statement's lines (and parameters), open.
    void rerun(std::vector<std::string> lines, std::vector<Value> params = {});

    DatasetState state() const { return state_; }
    // True when the statement reads one table, so rows can be written back.
    bool canModify() const { return !table_.empty(); }
    const std::string& tableName() const { return table_; }

    // ---- Cursor ----
    // Moving first posts a modified pending row and gives up an unmodified one.
    void first();
    void last();
    void next();    // past the last row: eof() turns true, the cursor stays
    void prior();   // before the first row: bof() turns true, the cursor stays
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool isEmpty() const { return recordCount() == 0; }
    // Stored rows (a pending new row does not count until it is posted).
    int recordCount() const;
    int recNo() const { return cur_ + 1; }   // 1-based; 0 when there is no row
    void setRecNo(int recNo);
    // Moves to the first row (table order) whose column equals the value as a
    // whole; false and the cursor unmoved when there is none.
    bool locate(std::string_view column, const Value& value);
    Bookmark bookmark() const;
    bool gotoBookmark(Bookmark bookmark);

    // ---- Rows as a grid shows them ----
    // Every row held, a pending new row included (it is the last).
    int rowCount() const { return static_cast<int>(rows_.size()); }
    // 0-based index of the current row; -1 when there is none.
    int currentRow() const { return cur_; }
    // A column of any row without moving the cursor; the current row shows
    // its pending values.
    Value valueAt(int row, int column) const;

    // ---- Columns of the current row ----
    int fieldCount() const { return static_cast<int>(columns_.size()); }
    const std::string& fieldName(int column) const;
    std::vector<std::string> fieldNames() const;
    // Column names are compared without regard to case; -1 when missing.
    int fieldIndex(std::string_view name) const;
    // As fieldIndex, but a missing column is an error.
    int fieldByName(std::string_view name) const;
    bool isDateField(int column) const;
    // The column's type as the table declares it ("REAL", "TEXT"...); empty
    // for a computed column.
    const std::string& declaredType(int column) const;
    // On an empty result set every column reads as Null.
    Value value(int column) const;
    Value value(std::string_view name) const { return value(fieldByName(name)); }
    std::string text(int column) const { return value(column).toText(); }
    std::string text(std::string_view name) const { return value(name).toText(); }
    // Null (no value) raises ConversionError, as does text that is no number.
    int integer(int column) const { return value(column).toInt32(); }
    int integer(std::string_view name) const { return value(name).toInt32(); }
    // Writing needs the edit or insert state.
    void setValue(int column, Value value);
    void setValue(std::string_view name, Value value) { setValue(fieldByName(name), std::move(value)); }

    // ---- Editing ----
    // Puts the current row into edit mode; on an empty result set starts a new
    // row instead. Does nothing when already editing.
    void edit();
    // Appends a new row at the end and makes it current. `initial` values are
    // written without marking the row modified (a row holding only them is
    // given up, not posted, when the cursor moves away).
    void append(const std::vector<std::pair<std::string, Value>>& initial = {});
    // Writes the pending row to the table in one transaction. On failure the
    // exception propagates, the table is unchanged and the row stays pending.
    void post();
    // Drops the pending changes (a new row disappears).
    void cancel();
    // Deletes the current row from the table (a pending new row is cancelled).
    void remove();
    bool modified() const { return modified_; }
    // Posts a modified pending row, cancels an unmodified one.
    void checkBrowseMode();

    // ---- Listeners ----
    void addListener(DatasetListener* listener);
    void removeListener(DatasetListener* listener);

private:
    struct Column {
        std::string name;     // as the statement names it
        std::string origin;   // name in the table (for writing back)
        std::string declared; // declared type
        bool date = false;
    };
    struct Row {
        std::uint64_t serial = 0;
        std::int64_t rowid = 0;
        std::vector<Value> values;
    };

    void requireOpen() const;
    void requireModifiable() const;
    void requireColumn(int column) const;
    void moveTo(int index);
    std::vector<Value> readStoredRow(std::int64_t rowid);
    [[noreturn]] void rethrow(const DatabaseError& e, std::string_view action) const;
    template <typename F> void notify(F&& f);

    Connection& connection_;
    std::string name_;
    std::vector<std::string> sql_;
    std::vector<Value> params_;

    DatasetState state_ = DatasetState::Inactive;
    std::string table_;   // empty: read-only
    std::vector<Column> columns_;
    std::vector<Row> rows_;
    int cur_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    bool modified_ = false;
    std::vector<Value> original_;   // the row's values when edit began
    int curBeforeAppend_ = -1;
    std::uint64_t nextSerial_ = 1;

    std::vector<DatasetListener*> listeners_;
};

} // namespace pemvora::data
