// Report data sources over the in-memory dataset: record sequences, ranges,
// events, open/close rules, references that clear themselves, lookup by name.

#include "report/data/datasource.h"
#include "report/data/memorydataset.h"

#include <gtest/gtest.h>

#include <memory>

namespace pemvora::report {
namespace {

std::unique_ptr<MemoryDataSet> numbers(const char* name, int rows)
{
    auto ds = std::make_unique<MemoryDataSet>(name, std::vector<FieldInfo>{{"N", FieldKind::Integer}});
    for (int i = 1; i <= rows; ++i) ds->appendRow({Value(i)});
    return ds;
}

// Walks a source the way a data band does and lists the records it saw.
std::vector<int> walk(TfrDBDataSet& source)
{
    std::vector<int> seen;
    source.Prepare();
    source.First();
    for (int guard = 0; !source.Eof() && guard < 100; ++guard) {
        seen.push_back(static_cast<int>(source.EffectiveDataSet().fieldValue(0).integer()));
        source.Next();
    }
    source.Release();
    return seen;
}

TEST(UserDataset, CountedRangeYieldsExactlyThatManyRecords)
{
    TfrUserDataset source("frUserDataset1");
    source.RangeEnd = reCount;
    source.RangeEndCount = 3;
    int nexts = 0;
    source.OnNext = [&](TfrDataset&) { ++nexts; };
    source.First();
    std::vector<bool> eofs;
    eofs.push_back(source.Eof());
    for (int i = 0; i < 3; ++i) {
        source.Next();
        eofs.push_back(source.Eof());
    }
    EXPECT_EQ(eofs, (std::vector<bool>{false, false, false, true}));
    EXPECT_EQ(nexts, 2);   // not on the Next that reaches the count
    EXPECT_EQ(source.RecNo, 3);

    source.RangeEndCount = 0;
    source.First();
    EXPECT_TRUE(source.Eof());
}

TEST(UserDataset, EventsDriveAnOpenRange)
{
    TfrUserDataset source;
    int firsts = 0, priors = 0;
    source.OnFirst = [&](TfrDataset&) { ++firsts; };
    source.OnPrior = [&](TfrDataset&) { ++priors; };
    source.OnCheckEOF = [](TfrDataset& s, bool& eof) { eof = s.RecNo >= 2; };
    source.First();
    EXPECT_FALSE(source.Eof());
    source.Next();
    source.Next();
    EXPECT_TRUE(source.Eof());
    source.Prior();
    EXPECT_EQ(source.RecNo, 1);
    EXPECT_EQ(firsts, 1);
    EXPECT_EQ(priors, 1);
}

TEST(DBDataSet, RangeCombinations)
{
    struct Case {
        const char* what;
        TfrRangeBegin begin;
        TfrRangeEnd end;
        int count;
        std::vector<int> expected;
    };
    // The dataset stands on its fifth record (of 7) when the run starts.
    const Case cases[] = {
        {"first to last", rbFirst, reLast, 0, {1, 2, 3, 4, 5, 6, 7}},
        {"current to last", rbCurrent, reLast, 0, {5, 6, 7}},
        {"current only", rbCurrent, reCurrent, 0, {5}},
        {"first to current", rbFirst, reCurrent, 0, {1, 2, 3, 4, 5}},
        {"first three", rbFirst, reCount, 3, {1, 2, 3}},
        {"two from current", rbCurrent, reCount, 2, {5, 6}},
        {"count past the end", rbCurrent, reCount, 9, {5, 6, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto ds = numbers("Query1", 7);
        ds->open();
        ds->moveTo(4);
        TfrDBDataSet source("frDBDataSet1");
        source.SetDataSet(ds.get());
        source.RangeBegin = c.begin;
        source.RangeEnd = c.end;
        source.RangeEndCount = c.count;
        EXPECT_EQ(walk(source), c.expected);
        // A remembered record is where the dataset is put back; otherwise it stays where the walk ended.
        const bool remembered = c.begin == rbCurrent || c.end == reCurrent;
        if (remembered) {
            EXPECT_EQ(ds->position(), 4);
        }
    }
}

TEST(DBDataSet, DefaultsOpenAClosedDatasetAndLeaveItOpen)
{
    auto ds = numbers("Query1", 3);
    TfrDBDataSet source("frDBDataSet1");
    source.SetDataSet(ds.get());
    int opens = 0, closes = 0;
    source.OnOpen = [&](TfrDataset&) { ++opens; };
    source.OnClose = [&](TfrDataset&) { ++closes; };
    EXPECT_EQ(walk(source), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(ds->isOpen());
    EXPECT_EQ(ds->openCount(), 1);
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(closes, 1);

    source.CloseDataSource = true;
    EXPECT_EQ(walk(source), (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(ds->isOpen());

    source.OpenDataSource = false;
    EXPECT_THROW(walk(source), DataError);   // a closed dataset that nobody opens
}

TEST(DBDataSet, ReferencesClearAndTheDataSourceLinkIsFollowed)
{
    auto query = numbers("Query1", 2);
    auto other = numbers("Query2", 1);
    other->appendRow({Value(42)});
    TfrDBDataSet source("frDBDataSet1");
    source.SetDataSet(query.get());

    auto link = std::make_unique<DataSourceLink>("DataSource1");
    link->SetDataSet(other.get());
    source.SetDataSource(link.get());
    EXPECT_EQ(source.DataSet(), nullptr);
    EXPECT_EQ(&source.EffectiveDataSet(), other.get());
    EXPECT_EQ(walk(source), (std::vector<int>{1, 42}));

    source.SetDataSet(query.get());
    EXPECT_EQ(source.DataSource(), nullptr);
    query.reset();
    EXPECT_EQ(source.DataSet(), nullptr);
    try {
        source.Prepare();
        ADD_FAILURE() << "no error";
    } catch (const DataError& e) {
        EXPECT_STREQ(e.what(), "Unable to open dataset frDBDataSet1");
    }

    source.SetDataSource(link.get());
    link.reset();
    EXPECT_EQ(source.DataSource(), nullptr);
}

TEST(DataComponentLookup, PlainAndQualifiedNames)
{
    ComponentContainer app("Application");
    ComponentContainer form("Form1"), module("Data"), inner("Queries");
    app.add(&form);
    app.add(&module);
    module.add(&inner);
    auto q1 = numbers("Query1", 1);
    auto q2 = numbers("Query2", 1);
    TfrDBDataSet source("frDBDataSet1");
    form.add(q1.get());
    form.add(&source);
    inner.add(q2.get());

    EXPECT_EQ(FindDataComponent(&form, &app, "query1"), q1.get());
    EXPECT_EQ(FindDataComponent(&form, &app, "frDBDataSet1"), &source);
    EXPECT_EQ(FindDataComponent(&form, &app, "Form1.Query1"), q1.get());
    EXPECT_EQ(FindDataComponent(&form, &app, "Data.Queries.Query2"), q2.get());
    EXPECT_EQ(FindDataComponent(&form, &app, "Nothing"), nullptr);
    EXPECT_EQ(FindDataComponent(&form, &app, "Form1.Nothing"), nullptr);
    try {
        FindDataComponent(&form, &app, "NoForm.Query1");
        ADD_FAILURE() << "no error";
    } catch (const DataError& e) {
        EXPECT_STREQ(e.what(), "Missing NoForm.Query1");
    }
    q1.reset();   // a destroyed component leaves its window's list
    EXPECT_EQ(FindDataComponent(&form, &app, "Query1"), nullptr);
    EXPECT_EQ(form.componentsOf<TfrDataset>(), (std::vector<TfrDataset*>{&source}));
}

TEST(DataSetFields, NullsAndDisplayTextAsReportsSeeThem)
{
    MemoryDataSet ds("T", {{"s", FieldKind::String},
                           {"c", FieldKind::FixedChar},
                           {"b", FieldKind::Boolean},
                           {"i", FieldKind::Integer},
                           {"big", FieldKind::LargeInt},
                           {"n", FieldKind::Float}});
    ds.appendRow({Value::null(), Value::null(), Value::null(), Value::null(), Value(12345678901LL), Value(1.5)});
    ds.open();
    EXPECT_EQ(reportFieldValue(ds, 0), Value(""));
    EXPECT_EQ(reportFieldValue(ds, 1), Value(0));   // fixed-length text too
    EXPECT_EQ(reportFieldValue(ds, 2), Value(false));
    EXPECT_EQ(reportFieldValue(ds, 3), Value(0));
    EXPECT_EQ(reportFieldValue(ds, 4), Value("12345678901"));
    EXPECT_EQ(reportFieldValue(ds, 5), Value(1.5));
    EXPECT_EQ(ds.fieldIndex("BIG"), 4);
    EXPECT_EQ(ds.fieldIndex("none"), -1);
}

} // namespace
} // namespace pemvora::report
