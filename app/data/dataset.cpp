#include "app/data/dataset.h"

#include "app/data/sqlvalue.h"
#include "platform/value/numbertext.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <regex>

namespace pemvora::data {

namespace {

bool equalNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string quoteIdentifier(std::string_view name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

// How a statement reads one table: the table, and the statement rewritten to
// also return the rowid (first column) in rowid order.
struct TablePlan {
    std::string table;
    std::string sql;
};

// Blanks out quoted text and comments so keywords are only found in the
// statement itself; positions stay the same.
std::string maskQuoted(std::string_view sql)
{
    std::string out(sql);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const char c = out[i];
        char close = 0;
        if (c == '\'' || c == '"' || c == '`') close = c;
        else if (c == '[') close = ']';
        if (close) {
            std::size_t j = i + 1;
            while (j < out.size() && out[j] != close) out[j++] = ' ';
            i = j;
        } else if (c == '-' && i + 1 < out.size() && out[i + 1] == '-') {
            std::size_t j = i;
            while (j < out.size() && out[j] != '\n') out[j++] = ' ';
            i = j;
        } else if (c == '/' && i + 1 < out.size() && out[i + 1] == '*') {
            // Comments are left to the general case: treat as not one table.
            return {};
        }
    }
    return out;
}

std::optional<TablePlan> planOneTable(std::string_view sql)
{
    const std::string masked = maskQuoted(sql);
    if (masked.empty()) return std::nullopt;
    static const std::regex shape(
        R"(^\s*select\s+([\s\S]+?)\s+from\s+([A-Za-z_][A-Za-z0-9_]*)(\s+where\s[\s\S]*?)?\s*;?\s*$)",
        std::regex::icase);
    std::smatch m;
    if (!std::regex_match(masked, m, shape)) return std::nullopt;
    const std::string list = m.str(1);
    static const std::regex notPlain(R"([(]|^\s*(distinct|all)\b)", std::regex::icase);
    if (std::regex_search(list, notPlain)) return std::nullopt;
    if (m[3].matched) {
        static const std::regex notSimple(
            R"(\b(order|group|limit|union|intersect|except|join|having|select)\b|,)",
            std::regex::icase);
        if (std::regex_search(m.str(3), notSimple)) return std::nullopt;
    }
    TablePlan plan;
    plan.table = std::string(sql.substr(m.position(2), m.length(2)));
    const std::string quoted = quoteIdentifier(plan.table);
    const std::string originalList(sql.substr(m.position(1), m.length(1)));
    const std::string where =
        m[3].matched ? std::string(sql.substr(m.position(3), m.length(3))) : std::string();
    plan.sql = fmt::format("SELECT {0}.rowid, {1} FROM {0}{2} ORDER BY {0}.rowid", quoted,
                           originalList, where);
    return plan;
}

// Equality for locate: the whole value, numbers by value, Null only with Null.
bool sameValue(const Value& a, const Value& b)
{
    if (a.isEmptyOrNull() || b.isEmptyOrNull()) return a.isEmptyOrNull() && b.isEmptyOrNull();
    const auto numeric = [](const Value& v) { return v.isNumber() || v.isBoolean(); };
    if (numeric(a) && numeric(b)) return a.toNumber() == b.toNumber();
    if (a.isDateTime() && b.isDateTime()) return a.dateTime() == b.dateTime();
    const auto asText = [](const Value& v) {
        return v.isDateTime() ? dateTimeToSql(v.dateTime()) : v.toText();
    };
    return asText(a) == asText(b);
}

} // namespace

Dataset::Dataset(Connection& connection, std::string name)
    : connection_(connection), name_(std::move(name))
{
}

Dataset::~Dataset()
{
    const auto listeners = listeners_;
    for (DatasetListener* l : listeners) l->datasetDestroyed(*this);
}

template <typename F> void Dataset::notify(F&& f)
{
    // A listener may detach itself (or another) while being told.
    const auto listeners = listeners_;
    for (DatasetListener* l : listeners)
        if (std::find(listeners_.begin(), listeners_.end(), l) != listeners_.end()) f(*l);
}

void Dataset::addListener(DatasetListener* listener)
{
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
        listeners_.push_back(listener);
}

void Dataset::removeListener(DatasetListener* listener)
{
    std::erase(listeners_, listener);
}

void Dataset::setSql(std::vector<std::string> lines)
{
    close();
    sql_ = std::move(lines);
}

std::string Dataset::sqlText() const
{
    std::string text;
    for (std::size_t i = 0; i < sql_.size(); ++i) {
        if (i) text += '\n';
        text += sql_[i];
    }
    return text;
}

void Dataset::rethrow(const DatabaseError& e, std::string_view action) const
{
    throw DatabaseError(e.kind(), fmt::format("{} {}: {}", action, name_.empty() ? "dataset" : name_,
                                              e.what()));
}

void Dataset::open()
{
    if (isOpen()) return;
    const std::string sql = sqlText();
    std::vector<Column> columns;
    std::vector<Row> rows;
    std::string table;
    try {
        Statement stmt;
        int first = 0;
        if (const auto plan = planOneTable(sql)) {
            try {
                stmt = connection_.prepare(plan->sql);
                first = 1;
                table = plan->table;
            } catch (const DatabaseError&) {
                // Not readable that way after all: run it as written, read-only.
            }
        }
        if (first == 0) stmt = connection_.prepare(sql);
        stmt.bind(params_);
        for (int i = first; i < stmt.columnCount(); ++i) {
            Column c;
            c.name = stmt.columnName(i);
            c.date = isDateTimeDeclType(stmt.declType(i));
            const char* origin = stmt.originName(i);
            const char* from = stmt.tableName(i);
            c.origin = origin ? origin : "";
            if (!origin || !from || !equalNoCase(from, table)) table.clear();
            columns.push_back(std::move(c));
        }
        while (stmt.step()) {
            Row row;
            row.serial = nextSerial_++;
            row.rowid = first ? stmt.value(0).integer() : 0;
            row.values.reserve(columns.size());
            for (std::size_t i = 0; i < columns.size(); ++i)
                row.values.push_back(stmt.value(static_cast<int>(i) + first, columns[i].date));
            rows.push_back(std::move(row));
        }
    } catch (const DatabaseError& e) {
        rethrow(e, "Cannot open");
    }
    table_ = std::move(table);
    columns_ = std::move(columns);
    rows_ = std::move(rows);
    cur_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    modified_ = false;
    state_ = DatasetState::Browse;
    notify([this](DatasetListener& l) { l.stateChanged(*this); });
    notify([this](DatasetListener& l) { l.recordChanged(*this); });
}

void Dataset::close()
{
    if (!isOpen()) return;
    state_ = DatasetState::Inactive;
    rows_.clear();
    columns_.clear();
    original_.clear();
    table_.clear();
    cur_ = -1;
    eof_ = bof_ = true;
    modified_ = false;
    notify([this](DatasetListener& l) { l.stateChanged(*this); });
    notify([this](DatasetListener& l) { l.recordChanged(*this); });
}

void Dataset::rerun(std::vector<std::string> lines, std::vector<Value> params)
{
    close();
    sql_.clear();
    setSql(std::move(lines));
    params_ = std::move(params);
    open();
}

void Dataset::requireOpen() const
{
    if (!isOpen())
        throw DatabaseError(DbErrorKind::Usage,
                            fmt::format("Cannot perform this operation on a closed dataset ({})", name_));
}

void Dataset::requireModifiable() const
{
    if (!canModify())
        throw DatabaseError(DbErrorKind::Usage,
                            fmt::format("The dataset {} is read-only: its statement does not read "
                                        "the columns of one table",
                                        name_));
}

void Dataset::requireColumn(int column) const
{
    if (column < 0 || column >= fieldCount())
        throw DatabaseError(DbErrorKind::Usage,
                            fmt::format("{}: column index {} out of range", name_, column));
}

int Dataset::recordCount() const
{
    const int n = static_cast<int>(rows_.size());
    return state_ == DatasetState::Insert ? n - 1 : n;
}

void Dataset::moveTo(int index)
{
    cur_ = index;
    notify([this](DatasetListener& l) { l.recordChanged(*this); });
}

void Dataset::first()
{
    requireOpen();
    checkBrowseMode();
    bof_ = true;
    eof_ = rows_.empty();
    moveTo(rows_.empty() ? -1 : 0);
}

void Dataset::last()
{
    requireOpen();
    checkBrowseMode();
    bof_ = rows_.empty();
    eof_ = rows_.empty();
    moveTo(static_cast<int>(rows_.size()) - 1);
}

void Dataset::next()
{
    requireOpen();
    checkBrowseMode();
    if (cur_ + 1 < static_cast<int>(rows_.size())) {
        bof_ = false;
        moveTo(cur_ + 1);
    } else {
        eof_ = true;
    }
}

void Dataset::prior()
{
    requireOpen();
    checkBrowseMode();
    if (cur_ > 0) {
        eof_ = false;
        moveTo(cur_ - 1);
    } else {
        bof_ = true;
    }
}

void Dataset::setRecNo(int recNo)
{
    requireOpen();
    checkBrowseMode();
    if (rows_.empty()) return;
    const int index = std::clamp(recNo, 1, static_cast<int>(rows_.size())) - 1;
    bof_ = eof_ = false;
    moveTo(index);
}

bool Dataset::locate(std::string_view column, const Value& value)
{
    requireOpen();
    const int c = fieldByName(column);
    checkBrowseMode();
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (sameValue(rows_[i].values[c], value)) {
            bof_ = eof_ = false;
            moveTo(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

Bookmark Dataset::bookmark() const
{
    if (cur_ < 0) return {};
    return {rows_[cur_].serial};
}

bool Dataset::gotoBookmark(Bookmark bookmark)
{
    requireOpen();
    checkBrowseMode();
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].serial == bookmark.serial) {
            bof_ = eof_ = false;
            moveTo(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

const std::string& Dataset::fieldName(int column) const
{
    requireColumn(column);
    return columns_[column].name;
}

std::vector<std::string> Dataset::fieldNames() const
{
    std::vector<std::string> names;
    for (const Column& c : columns_) names.push_back(c.name);
    return names;
}

int Dataset::fieldIndex(std::string_view name) const
{
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (equalNoCase(columns_[i].name, name)) return static_cast<int>(i);
    return -1;
}

int Dataset::fieldByName(std::string_view name) const
{
    requireOpen();
    const int index = fieldIndex(name);
    if (index < 0)
        throw DatabaseError(DbErrorKind::Usage, fmt::format("{}: field '{}' not found", name_, name));
    return index;
}

bool Dataset::isDateField(int column) const
{
    requireColumn(column);
    return columns_[column].date;
}

Value Dataset::value(int column) const
{
    requireOpen();
    requireColumn(column);
    if (cur_ < 0) return Value::null();
    return rows_[cur_].values[column];
}

Value Dataset::valueAt(int row, int column) const
{
    requireOpen();
    requireColumn(column);
    if (row < 0 || row >= static_cast<int>(rows_.size())) return Value::null();
    return rows_[static_cast<std::size_t>(row)].values[static_cast<std::size_t>(column)];
}

void Dataset::setValue(int column, Value value)
{
    requireOpen();
    requireColumn(column);
    if (state_ != DatasetState::Edit && state_ != DatasetState::Insert)
        throw DatabaseError(DbErrorKind::Usage,
                            fmt::format("Dataset {} is not in edit or insert mode", name_));
    if (value.isEmpty()) value = Value::null();
    rows_[cur_].values[column] = std::move(value);
    modified_ = true;
    notify([this, column](DatasetListener& l) { l.fieldChanged(*this, column); });
}

void Dataset::edit()
{
    requireOpen();
    if (state_ == DatasetState::Edit || state_ == DatasetState::Insert) return;
    requireModifiable();
    if (rows_.empty()) {
        append();
        return;
    }
    original_ = rows_[cur_].values;
    modified_ = false;
    state_ = DatasetState::Edit;
    notify([this](DatasetListener& l) { l.stateChanged(*this); });
}

void Dataset::append(const std::vector<std::pair<std::string, Value>>& initial)
{
    requireOpen();
    checkBrowseMode();
    requireModifiable();
    Row row;
    row.serial = nextSerial_++;
    row.values.assign(columns_.size(), Value::null());
    for (const auto& [name, value] : initial)
        row.values[fieldByName(name)] = value.isEmpty() ? Value::null() : value;
    curBeforeAppend_ = cur_;
    rows_.push_back(std::move(row));
    cur_ = static_cast<int>(rows_.size()) - 1;
    bof_ = eof_ = false;
    modified_ = false;
    state_ = DatasetState::Insert;
    notify([this](DatasetListener& l) { l.stateChanged(*this); });
    notify([this](DatasetListener& l) { l.recordChanged(*this); });
}

std::vector<Value> Dataset::readStoredRow(std::int64_t rowid)
{
    std::string list;
    for (const Column& c : columns_) {
        if (!list.empty()) list += ", ";
        list += quoteIdentifier(c.origin);
    }
    Statement stmt = connection_.prepare(
        fmt::format("SELECT {} FROM {} WHERE rowid = ?", list, quoteIdentifier(table_)));
    stmt.bind({Value(static_cast<long long>(rowid))});
    if (!stmt.step())
        throw DatabaseError(DbErrorKind::Other,
                            fmt::format("the row no longer exists in table {}", table_));
    std::vector<Value> values;
    for (std::size_t i = 0; i < columns_.size(); ++i)
        values.push_back(stmt.value(static_cast<int>(i), columns_[i].date));
    return values;
}

void Dataset::post()
{
    requireOpen();
    notify([this](DatasetListener& l) { l.updateRecord(*this); });
    if (state_ != DatasetState::Edit && state_ != DatasetState::Insert) return;

    Row& row = rows_[cur_];
    std::int64_t rowid = row.rowid;
    std::vector<Value> stored;
    try {
        Transaction tx(connection_);
        const std::string table = quoteIdentifier(table_);
        if (state_ == DatasetState::Insert) {
            std::string names, marks;
            std::vector<Value> params;
            for (std::size_t i = 0; i < columns_.size(); ++i) {
                if (row.values[i].isEmptyOrNull()) continue;
                if (!names.empty()) names += ", ", marks += ", ";
                names += quoteIdentifier(columns_[i].origin);
                marks += '?';
                params.push_back(row.values[i]);
            }
            if (params.empty())
                connection_.execute(fmt::format("INSERT INTO {} DEFAULT VALUES", table));
            else
                connection_.execute(
                    fmt::format("INSERT INTO {} ({}) VALUES ({})", table, names, marks), params);
            rowid = connection_.lastInsertRowid();
        } else {
            std::string assignments;
            std::vector<Value> params;
            for (std::size_t i = 0; i < columns_.size(); ++i) {
                if (row.values[i] == original_[i]) continue;
                if (!assignments.empty()) assignments += ", ";
                assignments += quoteIdentifier(columns_[i].origin) + " = ?";
                params.push_back(row.values[i]);
            }
            if (!params.empty()) {
                params.push_back(Value(static_cast<long long>(rowid)));
                connection_.execute(
                    fmt::format("UPDATE {} SET {} WHERE rowid = ?", table, assignments), params);
                if (connection_.changes() != 1)
                    throw DatabaseError(DbErrorKind::Other,
                                        fmt::format("the row no longer exists in table {}", table_));
            }
        }
        // Read back what the table holds now (its defaults, its conversions).
        stored = readStoredRow(rowid);
        tx.commit();
    } catch (const DatabaseError& e) {
        rethrow(e, "Cannot post the row of");
    }
    row.rowid = rowid;
    row.values = std::move(stored);
    original_.clear();
    modified_ = false;
    state_ = DatasetState::Browse;
    notify([this](DatasetListener& l) { l.stateChanged(*this); });
    notify([this](DatasetListener& l) { l.recordChanged(*this); });
}

void Dataset::cancel()
{
    if (state_ == DatasetState::Insert) {
        rows_.pop_back();
        const int n = static_cast<int>(rows_.size());
        cur_ = n == 0 ? -1 : std::clamp(curBeforeAppend_, 0, n - 1);
        bof_ = eof_ = rows_.empty();
    } else if (state_ == DatasetState::Edit) {
        rows_[cur_].values = original_;
    } else {
        return;
    }
    original_.clear();
    modified_ = false;
    state_ = DatasetState::Browse;
    notify([this](DatasetListener& l) { l.stateChanged(*this); });
    notify([this](DatasetListener& l) { l.recordChanged(*this); });
}

void Dataset::remove()
{
    requireOpen();
    if (state_ == DatasetState::Insert) {
        // The pending new row goes without a trace, but the cursor ends as a
        // deleted stored row leaves it: on the row that now stands where the
        // deleted one stood (Cancel instead goes back to where the row was
        // started from).
        curBeforeAppend_ = cur_;
        cancel();
        return;
    }
    if (rows_.empty())
        throw DatabaseError(DbErrorKind::Usage,
                            fmt::format("Cannot perform this operation on an empty dataset ({})", name_));
    requireModifiable();
    try {
        Transaction tx(connection_);
        connection_.execute(fmt::format("DELETE FROM {} WHERE rowid = ?", quoteIdentifier(table_)),
                            {Value(static_cast<long long>(rows_[cur_].rowid))});
        if (connection_.changes() != 1)
            throw DatabaseError(DbErrorKind::Other,
                                fmt::format("the row no longer exists in table {}", table_));
        tx.commit();
    } catch (const DatabaseError& e) {
        rethrow(e, "Cannot delete the row of");
    }
    const bool wasEditing = state_ == DatasetState::Edit;
    rows_.erase(rows_.begin() + cur_);
    const int n = static_cast<int>(rows_.size());
    cur_ = n == 0 ? -1 : std::min(cur_, n - 1);
    bof_ = eof_ = rows_.empty();
    original_.clear();
    modified_ = false;
    state_ = DatasetState::Browse;
    if (wasEditing) notify([this](DatasetListener& l) { l.stateChanged(*this); });
    notify([this](DatasetListener& l) { l.recordChanged(*this); });
}

void Dataset::checkBrowseMode()
{
    if (state_ != DatasetState::Edit && state_ != DatasetState::Insert) return;
    notify([this](DatasetListener& l) { l.updateRecord(*this); });
    if (modified_) post();
    else cancel();
}

} // namespace pemvora::data
