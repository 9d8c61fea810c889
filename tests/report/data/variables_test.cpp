// The variables list: one entry per name whatever the ASCII case, sorted
// and unsorted order, insertion.

#include "report/data/variables.h"

#include "platform/text/gbk.h"

#include <gtest/gtest.h>

namespace pemvora::report {
namespace {

std::string G(const char* utf8) { return text::utf8ToGbk(utf8); }

TEST(Variables, OneEntryPerNameIgnoringAsciiCase)
{
    for (const bool sorted : {false, true}) {
        SCOPED_TRACE(sorted ? "sorted" : "unsorted");
        TfrVariables list(sorted);
        list.SetVariable("dx", Value("first"));
        list.SetVariable("DX", Value("second"));
        list.SetVariable("b", Value(1));
        list.SetVariable("A", Value(2));
        EXPECT_EQ(list.Count(), 3);
        EXPECT_EQ(list.NameAt(list.IndexOf("Dx")), "dx");         // keeps its first spelling
        EXPECT_EQ(list.GetVariable("dX"), Value("second"));
        EXPECT_TRUE(list.GetVariable("absent").isNull());
        EXPECT_EQ(list.IndexOf("absent"), -1);
        EXPECT_EQ(list.NameAt(3), "");
        EXPECT_EQ(list.ValueAt(-1), Value(0));
        list.SetValueAt(7, Value(9));
        list.Delete(7);
        EXPECT_EQ(list.Count(), 3);
        // Two-byte characters whose trail bytes are "A" and "a" are different names.
        list.SetVariable(G("癆"), Value(10));
        list.SetVariable(G("癮"), Value(11));
        EXPECT_EQ(list.Count(), 5);
        EXPECT_EQ(list.GetVariable(G("癆")), Value(10));
        EXPECT_EQ(list.GetVariable(G("癮")), Value(11));
    }
}

TEST(Variables, SortedOrderAndInsertion)
{
    TfrVariables list;
    for (const char* n : {"m", "b", "Z", "a"}) list.SetVariable(n, Value(n));
    EXPECT_EQ(list.NameAt(0), "m");
    list.InsertAt(1, "new");
    EXPECT_EQ(list.NameAt(1), "new");
    EXPECT_EQ(list.ValueAt(1), Value(0));
    list.SetSorted(true);
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i) names.push_back(list.NameAt(i));
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "m", "new", "Z"}));
    list.SetVariable("c", Value(3));
    EXPECT_EQ(list.NameAt(2), "c");
    EXPECT_EQ(list.IndexOf("Z"), 5);

    TfrVariables copy(true);
    copy.SetVariable("old", Value(1));
    copy.Assign(list);
    EXPECT_EQ(copy.Count(), list.Count());
    EXPECT_EQ(copy.IndexOf("old"), -1);
}

TEST(Variables, LargeUnsortedListsFindEveryNameAfterEveryChange)
{
    // Beyond a few entries names are found through an index; each change that
    // renames, removes or moves entries must leave every name findable.
    TfrVariables list;
    const int n = 2000;
    for (int i = 0; i < n; ++i) list.SetVariable(std::string("Var").append(std::to_string(i)), Value(i));
    list.SetVariable(G("癆"), Value(-1));
    list.SetVariable(G("癮"), Value(-2));
    auto expectAt = [&](const std::string& name, int index) {
        SCOPED_TRACE(name);
        EXPECT_EQ(list.IndexOf(name), index);
        if (index >= 0) {
            EXPECT_TRUE(text::equalsNoCase(list.NameAt(index), name));
        }
    };
    expectAt("VAR0", 0);
    expectAt("var1999", 1999);
    expectAt(G("癆"), 2000);
    expectAt(G("癮"), 2001);
    expectAt("var2000", -1);

    list.Delete(0);
    expectAt("var0", -1);
    expectAt("var1", 0);
    expectAt(G("癮"), 2000);
    list.SetVariable("vAR0", Value(0));   // appended anew
    expectAt("var0", 2001);

    list.SetNameAt(0, "renamed");
    expectAt("var1", -1);
    expectAt("RENAMED", 0);
    list.SetNameAt(1, "Renamed");          // two entries of one name: the first is found
    expectAt("renamed", 0);

    list.InsertAt(0, "front");
    expectAt("front", 0);
    expectAt("renamed", 1);
    expectAt("var0", 2002);

    // Var10 to Var99 go: front, renamed, Renamed, Var3 to Var9, then Var100.
    list.DeleteWhere([](const std::string& name, const Value&) { return name.size() == 5 && name[0] == 'V'; });
    expectAt("var10", -1);
    expectAt("var9", 9);
    expectAt("var100", 10);
    EXPECT_EQ(list.GetVariable("var100"), Value(100));
    list.SetVariable("VAR100", Value("changed"));
    EXPECT_EQ(list.ValueAt(10), Value("changed"));
    EXPECT_EQ(list.Count(), 2003 - 90);

    TfrVariables copy;
    copy.Assign(list);   // sets each entry in turn: the two "renamed" become one
    EXPECT_EQ(copy.Count(), list.Count() - 1);
    EXPECT_EQ(copy.IndexOf("var100"), 9);
    list.Clear();
    expectAt("var100", -1);
    EXPECT_EQ(copy.GetVariable("var1999"), Value(1999));
}

TEST(Variables, DeleteWhereThatThrowsRemovesNothing)
{
    TfrVariables list;
    for (int i = 0; i < 20; ++i) list.SetVariable(std::string("v").append(std::to_string(i)), Value(i));
    EXPECT_THROW(list.DeleteWhere([](const std::string& name, const Value&) {
        if (name == "v15") throw std::runtime_error("no");
        return true;
    }),
                 std::runtime_error);
    EXPECT_EQ(list.Count(), 20);
    EXPECT_EQ(list.IndexOf("v19"), 19);
}

} // namespace
} // namespace pemvora::report
