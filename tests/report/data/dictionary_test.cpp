// The data dictionary on its own: categories, aliases, field references in all
// their forms, the field cache, and the fix-ups after loading.

#include "platform/text/gbk.h"
#include "report/data/datasource.h"
#include "report/data/memorydataset.h"
#include "report/data/dictionary.h"
#include "report/script/parser.h"

#include <gtest/gtest.h>

namespace pemvora::report {
namespace {

// A data set alias in Chinese: "付款" (its trail bytes are plain bytes).
std::string paymentsAlias() { return text::utf8ToGbk("付款"); }

class Host : public DictionaryHost {
public:
    const ComponentContainer* owner() const override { return owner_; }
    const ComponentContainer* application() const override { return app_; }
    IDataSet* defaultDataSet() const override { return defaultDataSet_; }
    const TfrVariables& globalVariables() const override { return globals; }
    Value evaluate(std::string_view expression) override
    {
        ++evaluations;
        TfrParser parser;
        parser.OnGetValue = [this](const std::string& name, Value& v) {
            if (dictionary->Contains(name, *this)) v = dictionary->ValueOf(name, *this);
        };
        return parser.Evaluate(expression);
    }

    const ComponentContainer* owner_ = nullptr;
    const ComponentContainer* app_ = nullptr;
    IDataSet* defaultDataSet_ = nullptr;
    TfrVariables globals{true};
    TfrDataDictionary* dictionary = nullptr;
    int evaluations = 0;
};

class DictionaryTest : public ::testing::Test {
protected:
    DictionaryTest()
        : query("Query1", {{"Amount", FieldKind::Float}, {"Pay Date", FieldKind::DateTime}, {"No", FieldKind::Integer}}),
          other("Query2", {{"X", FieldKind::Integer}})
    {
        query.appendRow({Value(12.5), Value(encodeDate(2024, 1, 2)), Value(1)});
        other.appendRow({Value(9)});
        form.add(&query);
        module.add(&other);
        app.add(&form);
        app.add(&module);
        host.owner_ = &form;
        host.app_ = &app;
        host.dictionary = &dict;
        auto& v = dict.VarList;
        v.SetVariable(" Amounts", Value(""));
        v.SetVariable("Total", Value("Query1.\"Amount\""));
        v.SetVariable("Twice", Value("Total * 2"));
        v.SetVariable(" Dates", Value(""));
        v.SetVariable("When", Value("Query1.\"Pay Date\""));
    }

    ComponentContainer app{"Application"}, form{"Form1"}, module{"Data"};
    MemoryDataSet query, other;
    Host host;
    TfrDataDictionary dict;
};

TEST_F(DictionaryTest, CategoriesAndTheirVariables)
{
    EXPECT_EQ(dict.ListCategories(), (std::vector<std::string>{"Amounts", "Dates"}));
    EXPECT_EQ(dict.ListCategoryVariables("amounts"), (std::vector<std::string>{"Total", "Twice"}));
    EXPECT_EQ(dict.ListCategoryVariables("Dates"), (std::vector<std::string>{"When"}));
    EXPECT_TRUE(dict.IsVariable("twice"));
    EXPECT_FALSE(dict.IsVariable(" Amounts"));
    EXPECT_FALSE(dict.Contains("Amounts", host));
}

TEST_F(DictionaryTest, FieldReferencesInAllForms)
{
    host.defaultDataSet_ = &query;
    struct Case {
        const char* name;
        Value expected;
    };
    const Case cases[] = {
        {"Query1.Amount", Value(12.5)},
        {"query1.\"Amount\"", Value(12.5)},
        {"Query1.\"Pay Date\"", Value(encodeDate(2024, 1, 2))},
        {"Form1.Query1.No", Value(1)},
        {"Data.Query2.X", Value(9)},
        {"Amount", Value(12.5)},          // the default data set
        {"Twice", Value(25.0)},           // a variable evaluated through another
        {"When", Value(encodeDate(2024, 1, 2))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(dict.Contains(c.name, host));
        EXPECT_EQ(dict.ValueOf(c.name, host), c.expected);
    }
    EXPECT_FALSE(dict.Contains("Query1.Nothing", host));
    EXPECT_FALSE(dict.Contains("Nothing.Amount", host));
    EXPECT_THROW(dict.Contains("NoForm.Query1.Amount", host), DataError);
    EXPECT_TRUE(dict.ValueOf("unknown", host).isNull());

    // Variables that read a field directly are cached and read without evaluation.
    const int before = host.evaluations;
    EXPECT_EQ(dict.ValueOf("Total", host), Value(12.5));
    EXPECT_EQ(host.evaluations, before);
    // A global variable of the same name wins and is not evaluated.
    host.globals.SetVariable("Twice", Value("as stored"));
    EXPECT_EQ(dict.ValueOf("Twice", host), Value("as stored"));
}

TEST_F(DictionaryTest, AliasesRenameDataSetsAndFields)
{
    dict.AliasList.SetVariable("Query1", Value(paymentsAlias()));
    dict.AliasList.SetVariable("Query1.Amount", Value("Sum"));
    dict.AliasList.SetVariable("Query1.No", Value(""));          // hidden from the lists
    dict.SourceAliasList.SetVariable("frDBDataSet1", Value("Cheques"));
    EXPECT_EQ(dict.DataSetOfAlias(paymentsAlias()), "Query1");
    EXPECT_EQ(dict.DataSetOfAlias("Other"), "Other");
    EXPECT_EQ(dict.FieldOfAlias(paymentsAlias() + ".Sum"), "Query1.\"Amount\"");
    EXPECT_EQ(dict.AliasOf("Query1.Amount"), "Sum");
    EXPECT_EQ(dict.AliasOf("frDBDataSet1"), "Cheques");
    EXPECT_EQ(dict.AliasOf("plain"), "plain");
    ASSERT_TRUE(dict.Contains(paymentsAlias() + ".Sum", host));
    EXPECT_EQ(dict.ValueOf(paymentsAlias() + ".Sum", host), Value(12.5));

    EXPECT_EQ(dict.ListDataSets(host), (std::vector<std::string>{paymentsAlias()}));
    EXPECT_EQ(dict.ListFields(paymentsAlias(), host), (std::vector<std::string>{"Sum", "Pay Date"}));
    TfrDBDataSet source("frDBDataSet1"), unlisted("frDBDataSet2");
    form.add(&source);
    form.add(&unlisted);
    EXPECT_EQ(dict.ListDataSources(host), (std::vector<std::string>{"Cheques"}));
}

TEST_F(DictionaryTest, CachedFieldsForgetADestroyedDataSet)
{
    auto temp = std::make_unique<MemoryDataSet>("Temp", std::vector<FieldInfo>{{"F", FieldKind::Integer}});
    temp->appendRow({Value(5)});
    form.add(temp.get());
    ASSERT_TRUE(dict.Contains("Temp.F", host));
    EXPECT_EQ(dict.ValueOf("Temp.F", host), Value(5));
    temp.reset();
    EXPECT_FALSE(dict.Contains("Temp.F", host));
}

TEST_F(DictionaryTest, LoadTimeConversions)
{
    TfrDataDictionary loaded;
    // The older convention marks variables with the space instead of categories.
    loaded.VarList.SetVariable("Cat", Value(""));
    loaded.VarList.SetVariable(" v1", Value("1"));
    loaded.AliasList.SetVariable("Query1.Gone", Value(""));
    loaded.AliasList.SetVariable("Query1.Amount", Value(""));
    loaded.AliasList.SetVariable("Query1.No", Value("Number"));
    loaded.SourceAliasList.SetVariable("frDBDataSet1", Value(""));
    loaded.SourceAliasList.SetVariable("frDBDataSet2", Value("Kept"));
    loaded.ConvertAfterLoad(true, host);
    EXPECT_EQ(loaded.VarList.NameAt(0), " Cat");
    EXPECT_EQ(loaded.VarList.NameAt(1), "v1");
    EXPECT_EQ(loaded.AliasList.Count(), 2);
    EXPECT_EQ(loaded.AliasList.IndexOf("Query1.Gone"), -1);
    EXPECT_EQ(loaded.SourceAliasList.Count(), 1);
    EXPECT_EQ(loaded.SourceAliasList.NameAt(0), "frDBDataSet2");

    // A dictionary in the current convention is left as it is.
    dict.ConvertAfterLoad(false, host);
    EXPECT_EQ(dict.VarList.NameAt(0), " Amounts");
    EXPECT_EQ(dict.VarList.NameAt(1), "Total");
}

} // namespace
} // namespace pemvora::report
