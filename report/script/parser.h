#pragma once
// TfrParser: compiles an expression text into a postfix string and evaluates such
// a string on a stack of values.
//
// The parser knows no names. Every plain or bracketed name goes to OnGetValue and
// every function call other than COPY, IF, STRTODATE and STRTOTIME goes to
// OnFunctionCall with its argument texts unevaluated. Keywords (INT FRAC ROUND OR
// AND NOT STR MOD, TRUE FALSE) are recognised in any case. OR, AND and MOD bind as
// tightly as "*", so "a = 1 OR b = 2" reads (a = (1 OR b)) = 2.
//
// Positions are 0-based byte offsets into GBK text. Every scan steps over a lead
// byte and its trail byte together, so a trail byte that looks like "[" or "]"
// never opens or closes anything.
//
// A name whose double quotes do not pair up (the rest of the text would be
// its quoted part) does not compile. Evaluations nest at most
// kMaxEvaluationDepth deep.

#include "platform/value/value.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pemvora {
struct Locale;
}

namespace pemvora::report {

// A malformed expression or an unresolvable name.
class ParseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// How deep evaluations may nest (engine().EvaluationDepth): far beyond any
// template, far below what the stack holds, so that brackets nested ten
// thousand deep or names that lead round in a circle end in an error.
inline constexpr int kMaxEvaluationDepth = 100;

// One level of nested evaluation for as long as it lives; the level beyond
// kMaxEvaluationDepth raises ParseError.
class EvaluationLevel {
public:
    EvaluationLevel();
    ~EvaluationLevel();
    EvaluationLevel(const EvaluationLevel&) = delete;
    EvaluationLevel& operator=(const EvaluationLevel&) = delete;
};

// Operator codes of the compiled form (the other operators are their own characters).
namespace opcode {
inline constexpr char GreaterEqual = 1;
inline constexpr char LessEqual = 2;
inline constexpr char NotEqual = 3;
inline constexpr char Or = 4;
inline constexpr char And = 5;
inline constexpr char Int = 6;
inline constexpr char Frac = 7;
inline constexpr char Negate = 9;
inline constexpr char Plus = 10;
inline constexpr char Str = 11;
inline constexpr char Not = 12;
inline constexpr char Mod = 13;
inline constexpr char Round = 14;
} // namespace opcode

class TfrParser {
public:
    // `value` is Null on entry; what the hook leaves there is the name's value.
    using GetValueHook = std::function<void(const std::string& name, Value& value)>;
    // `name` is upper case; p1..p3 hold the argument texts as strings.
    using FunctionHook = std::function<void(const std::string& name, const Value& p1, const Value& p2,
                                            const Value& p3, Value& value)>;

    TfrParser();

    GetValueHook OnGetValue;
    FunctionHook OnFunctionCall;
    // Decimal separator of number literals and of STR; never null.
    const Locale* locale;

    std::string Compile(std::string_view text) const;
    Value EvaluateCompiled(std::string_view compiled) const;
    Value Evaluate(std::string_view text) const { return EvaluateCompiled(Compile(text)); }

    // Skips bytes 0-32, then takes a name up to CR, space, ( ) * + - / < = > [;
    // inside an odd number of double quotes terminators are taken too. `pos` is
    // left on the terminator or at the end.
    static std::string ReadName(std::string_view text, std::size_t& pos);
    // `pos` on an opening single quote; returns the literal with its quotes (a
    // doubled quote is part of it) and leaves `pos` after the closing quote.
    // Without a closing quote the literal runs to the end.
    static std::string ReadQuoted(std::string_view text, std::size_t& pos);
    // The text of a literal read by ReadQuoted: outer quotes removed, doubled quotes single.
    static std::string Unquote(std::string_view literal);

    struct Bracket {
        std::string inner;     // text strictly between "[" and its "]"; all the rest when unclosed
        std::size_t end = 0;   // position of the closing "]"; text size when unclosed
        bool closed = false;
    };
    // `start` on a "[": finds the matching "]" outside single and double quotes,
    // counting nested brackets. Not on a "[": closed false, end = start.
    static Bracket FindBracket(std::string_view text, std::size_t start);

    struct Arguments {
        std::string arg[3];
        int count = 0;
    };
    // `pos` on the "(" of a call: splits its arguments at top-level commas outside
    // single quotes and leaves `pos` after the ")". Raises ParseError "Missing )"
    // when the call is not closed and "Too many arguments" beyond three.
    static Arguments SplitArguments(std::string_view text, std::size_t& pos);

private:
    Value callFunction(const std::string& upperName, const Arguments& args) const;
};

} // namespace pemvora::report
