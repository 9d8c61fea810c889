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

} // namespace
} // namespace pemvora::report
