#pragma once
// TfrVariables: an ordered list of named values, a name at most once.
//
// Names compare ignoring the case of ASCII letters (GBK bytes compare as they
// are). Unsorted lists append new names and find them through an index of
// their upper-case forms (a dictionary may hold tens of thousands); sorted
// lists keep ascending name order and search by halves. A name keeps the
// spelling it was created with when its value is replaced.

#include "platform/value/value.h"

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pemvora::report {

class TfrVariables {
public:
    TfrVariables() = default;
    explicit TfrVariables(bool sorted) : sorted_(sorted) {}

    void SetVariable(std::string_view name, const Value& value);
    // Null when the name is absent.
    Value GetVariable(std::string_view name) const;
    // The stored value, or nullptr; saves a copy on hot paths.
    const Value* Find(std::string_view name) const;
    bool Contains(std::string_view name) const { return IndexOf(name) >= 0; }
    int IndexOf(std::string_view name) const;
    int Count() const { return static_cast<int>(entries_.size()); }

    // Index operations address the current order; outside 0..Count-1 they give ""
    // or integer 0, or do nothing.
    std::string NameAt(int index) const;
    Value ValueAt(int index) const;
    void SetNameAt(int index, std::string_view name);
    void SetValueAt(int index, const Value& value);
    void Delete(int index);
    // Removes every entry for which `remove(name, value)` is true, in one pass;
    // when `remove` throws, nothing is removed.
    void DeleteWhere(const std::function<bool(const std::string& name, const Value& value)>& remove);
    void Clear();
    // Creates the name with value 0 and moves it to `position` (for unsorted lists).
    void InsertAt(int position, std::string_view name);
    void Assign(const TfrVariables& other);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);

private:
    struct Entry {
        std::string name;
        Value value;
    };
    bool inRange(int index) const { return index >= 0 && index < Count(); }
    // Sorted lists: the first position whose name is not below `name`.
    std::size_t lowerBound(std::string_view name) const;
    // Unsorted lists: the first entry of that name, -1 when none.
    int unsortedIndexOf(std::string_view name) const;
    // Called by everything that renames, removes or moves entries.
    void dropIndex();

    std::vector<Entry> entries_;
    bool sorted_ = false;
    // Upper-case name -> position of its first entry, for unsorted lists of
    // kIndexFrom entries or more. Built by the first lookup that needs it, kept
    // by appends, dropped when entries are renamed, removed or moved.
    static constexpr std::size_t kIndexFrom = 16;
    mutable std::unordered_map<std::string, std::size_t> index_;
    mutable bool indexed_ = false;
};

} // namespace pemvora::report
