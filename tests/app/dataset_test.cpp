// Snapshot datasets: table order, cursor, columns, writing back by rowid, one
// transaction per post, bound parameters, and the notifications bound controls get.

#include "app/data/dataset.h"
#include "app/data/fieldlink.h"
#include "app/data/sqlvalue.h"
#include "datafixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace pemvora;
using namespace pemvora::data;
using namespace pemvora::data::testing;

namespace {

// A table of items with an index (so a plain scan may come back in index order)
// and a CHECK that refuses the note "refused".
class DatasetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = makeDatabase(dir, {
            "CREATE TABLE item (name TEXT, qty INTEGER, price REAL, made DATETIME, "
            "note TEXT CHECK (note IS NULL OR note <> 'refused'))",
            "CREATE INDEX item_name ON item (name)",
            "INSERT INTO item VALUES ('pear', 2, 1.5, '2008-03-05 14:07:00', NULL)",
            "INSERT INTO item VALUES ('apple', 3, 0.75, '2008-03-06 00:00:00', 'red')",
            "INSERT INTO item VALUES ('gone', 9, 9, NULL, NULL)",
            "INSERT INTO item VALUES ('cherry', NULL, NULL, NULL, NULL)",
            "DELETE FROM item WHERE name = 'gone'",
            "INSERT INTO item VALUES ('banana', 5, 0.3, NULL, NULL)",
        });
        db.open(path, kDatabasePassword, Connection::Mode::Existing, 50);
    }

    // The names stored in the table, in rowid order, read past every dataset.
    std::vector<std::string> storedNames()
    {
        Connection other;
        other.open(path, kDatabasePassword);
        Statement s = other.prepare("SELECT coalesce(name, '-') || ':' || coalesce(qty, '-') || ':' "
                                    "|| coalesce(note, '-') FROM item ORDER BY rowid");
        std::vector<std::string> names;
        while (s.step()) names.push_back(s.value(0).toText());
        return names;
    }

    std::vector<std::string> namesOf(Dataset& ds)
    {
        std::vector<std::string> names;
        for (ds.first(); !ds.eof(); ds.next()) names.push_back(ds.text("name"));
        return names;
    }

    TempDir dir;
    std::string path;
    Connection db;
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(DatasetTest, RowsComeInTableOrderAsASnapshot)
{
    Dataset ds(db, "items");
    ds.setSql({"SELECT * FROM item", "WHERE name > ''"});
    EXPECT_EQ(ds.sqlText(), "SELECT * FROM item\nWHERE name > ''");
    ds.open();
    EXPECT_TRUE(ds.canModify());
    EXPECT_EQ(ds.recordCount(), 4);
    EXPECT_EQ(ds.recNo(), 1);
    EXPECT_EQ(ds.text("name"), "pear");
    EXPECT_EQ(namesOf(ds), (Names{"pear", "apple", "cherry", "banana"}));

    // Changes made elsewhere are not seen until the dataset is opened again.
    Connection other;
    other.open(path, kDatabasePassword);
    other.execute("INSERT INTO item (name) VALUES ('fig')");
    other.execute("UPDATE item SET name = 'PEAR' WHERE name = 'pear'");
    ds.open();   // already open: nothing happens
    EXPECT_EQ(namesOf(ds), (Names{"pear", "apple", "cherry", "banana"}));
    ds.close();
    EXPECT_FALSE(ds.isOpen());
    ds.open();
    EXPECT_EQ(namesOf(ds), (Names{"PEAR", "apple", "cherry", "banana", "fig"}));
    ds.setSql({"SELECT name FROM item"});   // a new statement closes the old result
    EXPECT_FALSE(ds.isOpen());
}

TEST_F(DatasetTest, CursorEndFlags)
{
    Dataset ds(db, "items");
    ds.setSql({"SELECT name FROM item"});
    ds.open();
    struct Step { const char* move; int recNo; bool bof; bool eof; };
    const Step steps[] = {
        {"open", 1, true, false},  {"next", 2, false, false}, {"next", 3, false, false},
        {"next", 4, false, false}, {"next", 4, false, true},  {"next", 4, false, true},
        {"prior", 3, false, false}, {"first", 1, true, false}, {"prior", 1, true, false},
        {"last", 4, false, false}, {"prior", 3, false, false}, {"recno", 2, false, false},
    };
    for (const Step& s : steps) {
        const std::string move = s.move;
        if (move == "next") ds.next();
        else if (move == "prior") ds.prior();
        else if (move == "first") ds.first();
        else if (move == "last") ds.last();
        else if (move == "recno") ds.setRecNo(2);
        SCOPED_TRACE(move + " -> " + std::to_string(s.recNo));
        EXPECT_EQ(ds.recNo(), s.recNo);
        EXPECT_EQ(ds.bof(), s.bof);
        EXPECT_EQ(ds.eof(), s.eof);
    }

    // An empty result is at its end at once and reads Null.
    ds.rerun({"SELECT * FROM item WHERE name = 'none'"});
    EXPECT_TRUE(ds.eof());
    EXPECT_TRUE(ds.bof());
    EXPECT_EQ(ds.recordCount(), 0);
    EXPECT_TRUE(ds.value("qty").isNull());
    EXPECT_THROW(ds.integer("qty"), ConversionError);
}

TEST_F(DatasetTest, ColumnsByNameAndPositionAsTextIntegerAndValue)
{
    Dataset ds(db, "items");
    ds.setSql({"SELECT * FROM item"});
    ds.open();
    EXPECT_EQ(ds.fieldNames(), (Names{"name", "qty", "price", "made", "note"}));
    EXPECT_EQ(ds.fieldIndex("QTY"), 1);
    EXPECT_EQ(ds.fieldIndex("nope"), -1);
    EXPECT_THROW(ds.value("nope"), DatabaseError);
    EXPECT_THROW(ds.value(5), DatabaseError);

    EXPECT_EQ(ds.value(0), Value("pear"));
    EXPECT_EQ(ds.value("Qty"), Value(2));
    EXPECT_EQ(ds.integer("qty"), 2);
    EXPECT_EQ(ds.value("PRICE"), Value(1.5));
    EXPECT_EQ(ds.text("price"), "1.5");
    EXPECT_TRUE(ds.isDateField(3));
    ASSERT_TRUE(ds.value("made").isDateTime());
    EXPECT_EQ(dateTimeToSql(ds.value("made").dateTime()), "2008-03-05 14:07:00");
    EXPECT_TRUE(ds.value("note").isNull());
    EXPECT_EQ(ds.text("note"), "");

    ASSERT_TRUE(ds.locate("name", "cherry"));
    EXPECT_TRUE(ds.value("qty").isNull());
    // Reading an id that holds no value is a conversion error.
    EXPECT_THROW(ds.integer("qty"), ConversionError);
    EXPECT_THROW(ds.integer(1), ConversionError);
}

// Date-times travel as text to the second. Text in a date column that is no
// date-time of that form stays text; a time is rounded to the nearest second,
// half a second up, also where that moves it into the next day.
TEST_F(DatasetTest, DateTimeTextIsReadStrictlyAndWrittenToTheNearestSecond)
{
    const char* malformed[] = {
        "", "2008", "2008-3-5", "08-03-05", "2008/03/05", "2008-13-05", "2008-00-05", "2008-02-30",
        "2009-02-29", "2008-03-05x", "2008-03-05 ", "2008-03-05 14", "2008-03-05 14:7", "2008-03-05 24:00",
        "2008-03-05 14:60", "2008-03-05 14:07:60", "2008-03-05 14:07:00.", "2008-03-05 14:07:00.5x",
        "2008-03-05 14:07:00,5", "not a date",
    };
    for (const char* text : malformed) EXPECT_EQ(dateTimeFromSql(text), std::nullopt) << "\"" << text << "\"";

    struct Written { DateParts date; TimeParts time; const char* sql; };
    const Written written[] = {
        {{2008, 3, 5}, {14, 7, 0, 499}, "2008-03-05 14:07:00"},
        {{2008, 3, 5}, {14, 7, 0, 500}, "2008-03-05 14:07:01"},
        {{2008, 3, 5}, {14, 7, 59, 500}, "2008-03-05 14:08:00"},
        {{2008, 12, 31}, {23, 59, 59, 499}, "2008-12-31 23:59:59"},
        {{2008, 12, 31}, {23, 59, 59, 500}, "2009-01-01 00:00:00"},
        {{2008, 2, 28}, {23, 59, 59, 500}, "2008-02-29 00:00:00"},
        {{1899, 12, 30}, {0, 0, 0, 500}, "1899-12-30 00:00:01"},
    };
    for (const Written& w : written) {
        SCOPED_TRACE(w.sql);
        EXPECT_EQ(dateTimeToSql(encodeDateTime(w.date, w.time)), w.sql);
    }

    // In a date column, malformed text is read as the text it is.
    runSql(path, {"UPDATE item SET made = '2008-02-30 09:00:00' WHERE name = 'pear'",
                  "UPDATE item SET made = '2008-12-31 23:59:59.5' WHERE name = 'apple'"});
    Dataset ds(db, "items");
    ds.setSql({"SELECT name, made FROM item"});
    ds.open();
    EXPECT_EQ(ds.value("made"), Value("2008-02-30 09:00:00"));
    ds.next();
    ASSERT_TRUE(ds.value("made").isDateTime());
    EXPECT_EQ(ds.value("made"), Value(encodeDateTime({2008, 12, 31}, {23, 59, 59, 500})));
    // Written, half a second before midnight is the next day.
    ds.edit();
    ds.setValue("made", Value(encodeDateTime({2010, 6, 30}, {23, 59, 59, 500})));
    ds.post();
    Connection other;
    other.open(path, kDatabasePassword);
    Statement stored = other.prepare("SELECT made FROM item WHERE name = 'apple'");
    ASSERT_TRUE(stored.step());
    EXPECT_EQ(stored.value(0), Value("2010-07-01 00:00:00"));
    EXPECT_EQ(ds.value("made"), Value(encodeDateTime({2010, 7, 1}, {0, 0, 0, 0})));
}

TEST_F(DatasetTest, LocateMatchesWholeValuesOnly)
{
    Dataset ds(db, "items");
    ds.setSql({"SELECT * FROM item"});
    ds.open();
    ds.setRecNo(2);
    struct Case { const char* column; Value value; bool found; int recNo; };
    const Case cases[] = {
        {"name", "appl", false, 2},     {"name", "Apple", false, 2},
        {"name", "banana", true, 4},    {"qty", 3, true, 2},
        {"qty", 5.0, true, 4},          {"qty", "2", true, 1},
        {"qty", Value::null(), true, 3}, {"price", 0.3, true, 4},
        {"made", Value(*dateTimeFromSql("2008-03-06")), true, 2},
        {"note", "re", false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.column) + " = " + c.value.toText());
        ds.setRecNo(2);
        EXPECT_EQ(ds.locate(c.column, c.value), c.found);
        EXPECT_EQ(ds.recNo(), c.recNo);
    }
}

TEST_F(DatasetTest, EditPostsTheCurrentRowByRowid)
{
    runSql(path, {"INSERT INTO item VALUES ('apple', 3, 0.75, NULL, 'red')"});   // a twin row
    Dataset ds(db, "items");
    ds.setSql({"SELECT name, qty, made FROM item"});
    ds.open();
    ds.last();
    EXPECT_THROW(ds.setValue("qty", 4), DatabaseError);   // browsing: no writes
    ds.edit();
    EXPECT_EQ(ds.state(), DatasetState::Edit);
    ds.setValue("qty", "12");   // text into an INTEGER column
    ds.setValue("made", Value(*dateTimeFromSql("2009-10-01 08:30:15")));
    EXPECT_TRUE(ds.modified());
    ds.post();
    EXPECT_EQ(ds.state(), DatasetState::Browse);
    // The row holds what the table stored.
    EXPECT_EQ(ds.value("qty"), Value(12));
    EXPECT_EQ(dateTimeToSql(ds.value("made").dateTime()), "2009-10-01 08:30:15");
    // Only the twin that was edited changed.
    EXPECT_EQ(storedNames(), (Names{"pear:2:-", "apple:3:red", "cherry:-:-", "banana:5:-", "apple:12:red"}));

    // Cancel restores the row.
    ds.first();
    ds.edit();
    ds.setValue("name", "plum");
    ds.cancel();
    EXPECT_EQ(ds.text("name"), "pear");
    EXPECT_EQ(storedNames()[0], "pear:2:-");
}

TEST_F(DatasetTest, AppendCancelAndMovingAway)
{
    Dataset ds(db, "items");
    ds.setSql({"SELECT * FROM item"});
    ds.open();
    ds.setRecNo(2);
    ds.append({{"qty", 7}});
    EXPECT_EQ(ds.state(), DatasetState::Insert);
    EXPECT_EQ(ds.recordCount(), 4);   // the new row counts once posted
    EXPECT_EQ(ds.value("qty"), Value(7));
    EXPECT_FALSE(ds.modified());
    ds.cancel();
    EXPECT_EQ(ds.recNo(), 2);
    EXPECT_EQ(ds.recordCount(), 4);

    // A new row holding only its initial values is given up when the cursor moves.
    ds.append({{"qty", 7}});
    ds.first();
    EXPECT_EQ(ds.state(), DatasetState::Browse);
    EXPECT_EQ(ds.recordCount(), 4);

    // A modified one is posted.
    ds.append();
    ds.setValue("name", "kiwi");
    ds.first();
    EXPECT_EQ(ds.recordCount(), 5);
    ds.last();
    EXPECT_EQ(ds.text("name"), "kiwi");
    // Edit then append, as the operator window does: the unmodified edit is dropped.
    ds.first();
    ds.edit();
    ds.append();
    ds.setValue("name", "lime");
    ds.post();
    EXPECT_EQ(storedNames(), (Names{"pear:2:-", "apple:3:red", "cherry:-:-", "banana:5:-", "kiwi:-:-",
                                    "lime:-:-"}));

    // Edit on an empty result starts a new row.
    ds.rerun({"SELECT * FROM item WHERE name = ?"}, {"none"});
    ds.edit();
    EXPECT_EQ(ds.state(), DatasetState::Insert);
}

TEST_F(DatasetTest, DeleteRemovesTheCurrentRowOnly)
{
    Dataset ds(db, "items");
    ds.setSql({"SELECT * FROM item"});
    ds.open();
    ds.setRecNo(2);
    ds.remove();
    EXPECT_EQ(ds.recordCount(), 3);
    EXPECT_EQ(ds.text("name"), "cherry");
    ds.last();
    ds.remove();
    EXPECT_EQ(ds.text("name"), "cherry");   // the last row went: the cursor steps back
    ds.first();
    ds.append();
    ds.setValue("name", "never stored");
    ds.remove();                            // a pending new row is dropped
    EXPECT_EQ(storedNames(), (Names{"pear:2:-", "cherry:-:-"}));
    EXPECT_EQ(ds.text("name"), "cherry");   // the row now where it stood, not the one it was started from
    ds.first();
    ds.append();
    ds.cancel();
    EXPECT_EQ(ds.text("name"), "pear");     // cancelling goes back

    ds.rerun({"SELECT * FROM item WHERE qty > 100"});
    EXPECT_THROW(ds.remove(), DatabaseError);
}

// Another program has removed the current row since the snapshot was read: a
// delete or update that reaches no row fails, naming the table, and the
// dataset keeps its rows, its cursor, its state and the pending values.
TEST_F(DatasetTest, DeleteOrUpdateOfARowRemovedElsewhereFailsAndChangesNothing)
{
    enum class Action { Delete, DeleteWhileEditing, PostChangedColumn, PostSameValue };
    struct Case { const char* what; Action action; DatasetState state; Value qty; };
    const Case cases[] = {
        {"delete", Action::Delete, DatasetState::Browse, 3},
        {"delete while editing", Action::DeleteWhileEditing, DatasetState::Edit, 30},
        {"post of a changed column", Action::PostChangedColumn, DatasetState::Edit, 30},
        {"post with no column changed", Action::PostSameValue, DatasetState::Edit, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        runSql(path, {"DELETE FROM item", "INSERT INTO item (name, qty) VALUES ('pear', 2), ('apple', 3), ('fig', 4)"});
        // Named unlike its table, so a message naming the table is told apart.
        Dataset ds(db, "fruit");
        ds.setSql({"SELECT name, qty FROM item"});
        ds.open();
        ds.setRecNo(2);
        if (c.action != Action::Delete) {
            ds.edit();
            ds.setValue("qty", c.qty);
        }
        runSql(path, {"DELETE FROM item WHERE name = 'apple'"});
        try {
            if (c.action == Action::Delete || c.action == Action::DeleteWhileEditing) ds.remove();
            else ds.post();
            ADD_FAILURE() << "reported success";
        } catch (const DatabaseError& e) {
            EXPECT_THAT(e.what(), ::testing::HasSubstr("table item"));
        }
        EXPECT_EQ(ds.state(), c.state);
        EXPECT_EQ(ds.recordCount(), 3);
        EXPECT_EQ(ds.recNo(), 2);
        EXPECT_EQ(ds.text("name"), "apple");
        EXPECT_EQ(ds.value("qty"), c.qty);
        Names held;
        for (int row = 0; row < ds.rowCount(); ++row) held.push_back(ds.valueAt(row, 0).toText());
        EXPECT_EQ(held, (Names{"pear", "apple", "fig"}));
        EXPECT_EQ(storedNames(), (Names{"pear:2:-", "fig:4:-"}));
    }
}

TEST_F(DatasetTest, FailedPostLeavesTableAndPendingRowAsTheyWere)
{
    Dataset ds(db, "items");
    ds.setSql({"SELECT * FROM item"});
    ds.open();
    const Names before = storedNames();

    // Refused by the table: an edit and a new row.
    ds.edit();
    ds.setValue("qty", 40);
    ds.setValue("note", "refused");
    try {
        ds.post();
        FAIL() << "post succeeded";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.kind(), DbErrorKind::Constraint);
    }
    EXPECT_EQ(ds.state(), DatasetState::Edit);
    EXPECT_EQ(ds.value("qty"), Value(40));
    EXPECT_EQ(storedNames(), before);
    // Moving away tries to post and fails the same way: the cursor stays.
    EXPECT_THROW(ds.next(), DatabaseError);
    EXPECT_EQ(ds.recNo(), 1);
    ds.setValue("note", "fine");
    ds.post();
    EXPECT_EQ(storedNames()[0], "pear:40:fine");

    ds.append();
    ds.setValue("name", "plum");
    ds.setValue("note", "refused");
    EXPECT_THROW(ds.post(), DatabaseError);
    EXPECT_EQ(ds.state(), DatasetState::Insert);
    EXPECT_EQ(storedNames().size(), before.size());

    // Locked by another program: the post waits, fails, and can be repeated.
    ds.setValue("note", Value::null());
    Connection holder;
    holder.open(path, kDatabasePassword);
    holder.execute("BEGIN IMMEDIATE");
    holder.execute("UPDATE item SET qty = 0");
    try {
        ds.post();
        FAIL() << "post succeeded";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.kind(), DbErrorKind::Locked);
    }
    EXPECT_EQ(ds.state(), DatasetState::Insert);
    holder.execute("ROLLBACK");
    ds.post();
    EXPECT_EQ(storedNames().back(), "plum:-:-");
}

TEST_F(DatasetTest, APostIsOneTransaction)
{
    // A trigger writes a log row and then takes the new row away again, so the
    // post fails after the table was already written to.
    runSql(path, {"CREATE TABLE log (msg TEXT)",
                  "CREATE TRIGGER vanish AFTER INSERT ON item WHEN new.note = 'vanish' BEGIN "
                  "INSERT INTO log VALUES ('inserted'); DELETE FROM item WHERE rowid = new.rowid; END"});
    Dataset ds(db, "items");
    ds.setSql({"SELECT * FROM item"});
    ds.open();
    ds.append();
    ds.setValue("name", "ghost");
    ds.setValue("note", "vanish");
    EXPECT_THROW(ds.post(), DatabaseError);
    EXPECT_EQ(ds.state(), DatasetState::Insert);
    EXPECT_FALSE(db.inTransaction());
    Dataset log(db, "log");
    log.setSql({"SELECT * FROM log"});
    log.open();
    EXPECT_EQ(log.recordCount(), 0);
    ds.setValue("note", "stays");
    ds.post();
    EXPECT_EQ(storedNames().back(), "ghost:-:stays");
}

TEST_F(DatasetTest, ParametersAreBoundAsValues)
{
    Dataset ds(db, "items");
    const std::vector<std::string> lines = {"select * from item", "where name = ?"};
    // (Texts that try to change the statement are tried on the login's look-up.)
    const struct { Value param; int count; } cases[] = {
        {"apple", 1}, {"%", 0}, {Value::null(), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.param.toText());
        ds.rerun(lines, {c.param});
        EXPECT_EQ(ds.recordCount(), c.count);
    }
    // A name with quotes is stored and found through parameters as it is.
    ds.rerun({"select * from item"});
    ds.append();
    ds.setValue("name", "O'Brien \"x\"");
    ds.post();
    ds.rerun(lines, {"O'Brien \"x\""});
    EXPECT_EQ(ds.recordCount(), 1);
    EXPECT_THROW(ds.rerun(lines, {"a", "b"}), DatabaseError);
}

TEST_F(DatasetTest, StatementsOverMoreThanOneTableAreReadOnly)
{
    Dataset ds(db, "items");
    // Four items and one operator: every statement gives four rows.
    const char* readOnly[] = {
        "SELECT name, count(*) AS n FROM item GROUP BY name",
        "SELECT qty * 2 AS twice FROM item",
        "SELECT item.name, admin.user_name FROM item, admin",
        "SELECT name FROM item ORDER BY name",
    };
    for (const char* sql : readOnly) {
        SCOPED_TRACE(sql);
        ds.rerun({sql});
        EXPECT_FALSE(ds.canModify());
        EXPECT_EQ(ds.recordCount(), 4);
        EXPECT_THROW(ds.edit(), DatabaseError);
        EXPECT_THROW(ds.append(), DatabaseError);
    }
    ds.rerun({"SELECT name FROM item ORDER BY name"});
    EXPECT_EQ(ds.text(0), "apple");   // its own order is kept
    EXPECT_THROW(ds.rerun({"SELECT * FROM nowhere"}), DatabaseError);
    EXPECT_FALSE(ds.isOpen());
}

TEST_F(DatasetTest, BookmarksFindTheirRow)
{
    Dataset ds(db, "items");
    ds.setSql({"SELECT * FROM item"});
    ds.open();
    ds.setRecNo(3);
    const Bookmark mark = ds.bookmark();
    ds.first();
    EXPECT_FALSE(mark == ds.bookmark());
    EXPECT_TRUE(ds.gotoBookmark(mark));
    EXPECT_EQ(ds.text("name"), "cherry");
    ds.close();
    ds.open();
    EXPECT_FALSE(ds.gotoBookmark(mark));   // a new read has new rows
}

namespace {

struct Recorder : DatasetListener {
    std::vector<std::string> events;
    void stateChanged(Dataset& d) override { events.push_back("state:" + std::to_string(int(d.state()))); }
    void recordChanged(Dataset& d) override { events.push_back("record:" + std::to_string(d.recNo())); }
    void fieldChanged(Dataset&, int column) override { events.push_back("field:" + std::to_string(column)); }
    void updateRecord(Dataset&) override { events.push_back("update"); }
};

} // namespace

TEST_F(DatasetTest, ListenersHearStateRecordAndFieldChanges)
{
    Dataset ds(db, "items");
    ds.setSql({"SELECT name, qty FROM item"});
    Recorder r;
    ds.addListener(&r);
    ds.open();
    ds.next();
    ds.next();
    ds.edit();
    ds.setValue("qty", 1);
    ds.post();
    ds.removeListener(&r);
    ds.first();
    EXPECT_EQ(r.events, (Names{"state:1", "record:1", "record:2", "record:3", "state:2", "field:1",
                               "update", "state:1", "record:3"}));
}

TEST_F(DatasetTest, FieldLinkServesABoundControl)
{
    auto ds = std::make_unique<Dataset>(db, "items");
    ds->setSql({"SELECT name, qty FROM item"});
    ds->open();

    // A stand-in for a bound amount control: shows the field, holds typed input.
    FieldLink link;
    Value shown;
    Value typed;
    int editingChanges = 0;
    link.onDataChange = [&] { shown = link.fieldValue(); };
    link.onEditingChange = [&] { ++editingChanges; };
    link.onUpdateData = [&] { link.write(typed); };
    link.setFieldName("QTY");
    link.setDataset(ds.get());
    EXPECT_TRUE(link.active());
    EXPECT_EQ(shown, Value(2));
    ds->next();
    EXPECT_EQ(shown, Value(3));

    // The user types: the dataset goes into edit mode, the input is written on post.
    EXPECT_TRUE(link.edit());
    EXPECT_TRUE(link.editing());
    EXPECT_EQ(editingChanges, 1);
    typed = Value(33);
    link.modified();
    ds->post();
    EXPECT_FALSE(link.editing());
    EXPECT_EQ(editingChanges, 2);
    EXPECT_EQ(storedNames()[1], "apple:33:red");
    EXPECT_EQ(shown, Value(33));

    // Esc: the input is dropped and the field shown again.
    link.edit();
    typed = Value(99);
    link.modified();
    shown = Value();
    link.reset();
    EXPECT_FALSE(link.isModified());
    EXPECT_EQ(shown, Value(33));
    ds->cancel();

    // Another writer of the field reloads the control.
    ds->edit();
    ds->setValue("qty", 44);
    EXPECT_EQ(shown, Value(44));
    ds->cancel();

    // A read-only control never starts editing; a closed dataset shows Null.
    link.setReadOnly(true);
    EXPECT_FALSE(link.edit());
    ds->close();
    EXPECT_FALSE(link.active());
    EXPECT_TRUE(shown.isNull());
    ds.reset();
    EXPECT_EQ(link.dataset(), nullptr);
}
