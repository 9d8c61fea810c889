// Bracket expansion mechanics and the function splitter,
// GBK text included (trail bytes that look like "[" and "]").

#include "platform/text/gbk.h"
#include "report/script/expandline.h"
#include "report/script/functionsplitter.h"
#include "report/script/parser.h"
#include "report/data/variables.h"

#include <gtest/gtest.h>

#include <fmt/format.h>

namespace pemvora::report {
namespace {

std::string G(const char* utf8) { return text::utf8ToGbk(utf8); }

// "癧" is B0 5B and "癩" is B0 5D in GBK: their trail bytes are "[" and "]".
const std::string kOpenTrail = G("癧");
const std::string kCloseTrail = G("癩");

class ExpandTest : public ::testing::Test {
protected:
    ExpandTest()
    {
        parser.OnGetValue = [this](const std::string& name, Value& v) {
            if (const Value* found = vars.Find(name)) v = *found;
            else throw ParseError(fmt::format("Undefined symbol \"{}\"", name));
        };
        vars.SetVariable("a", Value(1));
        vars.SetVariable("b", Value(2));
        vars.SetVariable("v", Value("[a]"));
        vars.SetVariable(kOpenTrail + "x", Value("open"));
        vars.SetVariable("dx", Value(G("人民币壹仟贰佰叁拾肆元伍角整")));
        vars.SetVariable(kCloseTrail, Value(kCloseTrail + kOpenTrail));
    }
    std::string expand(std::string_view line)
    {
        return ExpandLine(line, [this](std::string_view inner) {
            brackets.emplace_back(inner);
            // A bracket names a variable first, then it is an expression.
            if (const Value* v = vars.Find(inner)) return v->toText();
            return parser.Evaluate(inner).toText();
        });
    }
    TfrParser parser;
    TfrVariables vars{true};
    std::vector<std::string> brackets;
};

TEST_F(ExpandTest, ReplacesEachBracketAndKeepsTheTextAround)
{
    struct Case {
        std::string line, expected;
    };
    const Case cases[] = {
        {"[a][b]", "12"},
        {"x=[a], y=[b].", "x=1, y=2."},
        {"[v]", "[a]"},                                  // a value's "[" is not expanded again
        {"[IF(a = 1, '[', ']')]!", "[!"},                // brackets inside quotes do not count
        {"[IF(a = 2, \"]\", 'no')]", "no"},
        {"[a + [b]]", "3"},                              // nested bracket inside an expression
        {"abc[", "abc["},
        {"[abc", "[abc"},                                // no closing bracket: left as written
        {"[a] and [b", "1 and [b"},
        {"", ""},
        {"no brackets", "no brackets"},
        {"[dx]", G("人民币壹仟贰佰叁拾肆元伍角整")},
        {kOpenTrail + "[a]" + kCloseTrail, kOpenTrail + "1" + kCloseTrail},
        {"[" + kOpenTrail + "x]", "open"},
        {"[" + kCloseTrail + "]", kCloseTrail + kOpenTrail},
        {"['" + kCloseTrail + "' + 'z']", kCloseTrail + "z"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(text::gbkToUtf8(c.line));
        EXPECT_EQ(expand(c.line), c.expected);
    }
}

TEST_F(ExpandTest, ChineseValueComesBackByteIdentical)
{
    const std::string stored = vars.Find("dx")->string();
    EXPECT_EQ(expand("[dx]"), stored);
    EXPECT_EQ(expand("[DX]"), stored);
    EXPECT_EQ(expand(G("金额：[Dx]")), G("金额：") + stored);
}

TEST(ScanningHelpers, StepOverTwoByteCharacters)
{
    std::size_t pos = 0;
    const std::string name = kOpenTrail + "a" + kCloseTrail;
    const std::string text = name + "+1";
    EXPECT_EQ(TfrParser::ReadName(text, pos), name);
    EXPECT_EQ(pos, name.size());

    pos = 0;
    EXPECT_EQ(TfrParser::ReadName("  ds.\"a field+1\" + 2", pos), "ds.\"a field+1\"");

    const std::string quoted = "'" + kCloseTrail + "''x' + 1";
    pos = 0;
    const std::string literal = TfrParser::ReadQuoted(quoted, pos);
    EXPECT_EQ(TfrParser::Unquote(literal), kCloseTrail + "'x");
    EXPECT_EQ(quoted.substr(pos), " + 1");

    const std::string args = "(" + kCloseTrail + ", '(,)', f(1, 2))tail";
    pos = 0;
    const TfrParser::Arguments a = TfrParser::SplitArguments(args, pos);
    EXPECT_EQ(a.count, 3);
    EXPECT_EQ(a.arg[0], kCloseTrail);
    EXPECT_EQ(a.arg[1], " '(,)'");
    EXPECT_EQ(a.arg[2], " f(1, 2)");
    EXPECT_EQ(args.substr(pos), "tail");
}

TEST(FunctionSplitter, CollectsCallsThroughArgumentsBracketsAndVariables)
{
    TfrVariables dict;
    dict.SetVariable(" Totals", Value(""));
    dict.SetVariable("Total", Value("SUM(x)"));
    dict.SetVariable("P1", Value("P2 + SUM(q)"));
    dict.SetVariable("P2", Value("P1"));
    struct Case {
        const char* text;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"SUM([a]) + COUNT(x) + MAX(SUM(y), 2)", {"SUM([a])", "SUM(y)", " MAX(SUM(y), 2)"}},
        {"[Total] + Total", {"SUM(x)", "SUM(x)"}},
        {"P1", {" SUM(q)"}},                   // a cycle of variables is searched once
        {"'SUM(x)'", {}},
        {"(1 + sum(z)) * 2", {" sum(z)"}},     // from where the name's reading began
        {"IF(x, SUM(a), MAX(b))", {"MAX(b)", "SUM(a)"}},   // last argument first
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> out;
        TfrFunctionSplitter splitter({"SUM", "max"}, &dict, out);
        splitter.CollectCalls(c.text);
        EXPECT_EQ(out, c.calls);
    }
}

} // namespace
} // namespace pemvora::report
