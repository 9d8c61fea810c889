#pragma once
// What the data and the object model need of expressions, declared down here so
// that neither depends on the evaluator: an interface the evaluator implements
// and installs in the engine context, the failure a calculation raises, and how
// an expression text spells a name.

#include "platform/value/value.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pemvora::report {

// A failure of a calculation (as opposed to a conversion).
class CalculationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raised when an object needs an expression evaluated and none is installed.
class NoEvaluator : public std::logic_error {
public:
    NoEvaluator() : std::logic_error("no expression evaluator is installed") {}
};

// Evaluates expression texts for the objects' methods (LINES.ADD and the like).
// The expression evaluator implements it and installs itself in the context.
class ExpressionEvaluator {
public:
    virtual ~ExpressionEvaluator() = default;
    virtual Value Evaluate(std::string_view expression) = 0;
    // A text line with every bracket replaced by its text, formatted by the
    // display format of CurrentView (what a text object shows).
    virtual std::string ExpandLine(std::string_view line) { (void)line; throw NoEvaluator(); }
};

// Skips blanks and control characters from `pos`, then reads a name up to the
// next operator, blank, parenthesis or '[' outside double quotes, stepping over
// GBK characters whole; leaves `pos` after the name.
std::string ReadExpressionName(std::string_view text, std::size_t& pos);

} // namespace pemvora::report
