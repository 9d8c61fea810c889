#pragma once
// TfrFunctionSplitter: finds the calls of given functions inside an expression,
// looking through brackets, nested arguments and dictionary variables.

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace pemvora::report {

class TfrVariables;

class TfrFunctionSplitter {
public:
    // `matchNames` compare ignoring case; `varList` (may be null) holds the
    // dictionary variables whose expression texts are searched too.
    TfrFunctionSplitter(std::vector<std::string> matchNames, const TfrVariables* varList,
                        std::vector<std::string>& output);

    // Appends the text of every matching call, calls nested in arguments before
    // the call that holds them. A text that starts with a single quote is a
    // literal and holds no calls.
    void CollectCalls(std::string_view text);

private:
    bool matches(std::string_view name) const;
    // The stored text of a dictionary variable, or nullptr.
    bool variableText(std::string_view name, std::string& text) const;
    void collectVariable(const std::string& name, const std::string& text);

    std::vector<std::string> matchNames_;
    const TfrVariables* varList_;
    std::vector<std::string>& output_;
    std::set<std::string> expanding_;   // upper-cased variable names being searched (cycle guard)
};

} // namespace pemvora::report
