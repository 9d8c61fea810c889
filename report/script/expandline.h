#pragma once
// Finding and replacing the bracketed expressions of a text line.

#include <functional>
#include <string>
#include <string_view>

namespace pemvora::report {

// Replaces every closed bracket of `line` by what `expandBracket` gives for the
// text between its brackets, and goes on after the inserted text, so a "[" that
// a value brings in is shown as it is. Brackets nest; "[" and "]" inside single or
// double quotes within a bracket do not count. A "[" without its "]" is left as
// written, with the rest of the line.
std::string ExpandLine(std::string_view line, const std::function<std::string(std::string_view inner)>& expandBracket);

} // namespace pemvora::report
