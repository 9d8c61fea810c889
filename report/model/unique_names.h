#pragma once
// Generated names: a prefix and the smallest number from 1 to 10000 that no
// name of a set has ("Memo1", "Page3"), names compared ignoring the case of
// ASCII letters. A reader that names thousands of objects one after another
// keeps one UniqueNames for the whole read, so each name costs about the same
// however many are taken.

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace pemvora::report {

// Generated numbers end here; beyond it a generated name is empty.
inline constexpr int kMaxGeneratedNumber = 10000;

class UniqueNames {
public:
    // Marks a name as used.
    void Take(std::string_view name);
    // The prefix with the smallest free number, marked as used at once; empty
    // when all numbers up to kMaxGeneratedNumber are taken.
    std::string Next(std::string_view prefix);

private:
    std::unordered_set<std::string> taken_;              // upper case
    // Upper-case prefix -> a number below which every number is taken. Names
    // are only ever added, so it never has to go back.
    std::unordered_map<std::string, int> firstFree_;
};

} // namespace pemvora::report
