#include "report/data/variables.h"

#include "platform/text/gbk.h"

#include <algorithm>

namespace pemvora::report {

std::size_t TfrVariables::lowerBound(std::string_view name) const
{
    const auto it = std::lower_bound(entries_.begin(), entries_.end(), name, [](const Entry& e, std::string_view n) {
        return text::compareNoCase(e.name, n) < 0;
    });
    return static_cast<std::size_t>(it - entries_.begin());
}

int TfrVariables::IndexOf(std::string_view name) const
{
    if (sorted_) {
        const std::size_t i = lowerBound(name);
        return i < entries_.size() && text::equalsNoCase(entries_[i].name, name) ? static_cast<int>(i) : -1;
    }
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (text::equalsNoCase(entries_[i].name, name)) return static_cast<int>(i);
    return -1;
}

const Value* TfrVariables::Find(std::string_view name) const
{
    const int i = IndexOf(name);
    return i < 0 ? nullptr : &entries_[static_cast<std::size_t>(i)].value;
}

void TfrVariables::SetVariable(std::string_view name, const Value& value)
{
    if (sorted_) {
        const std::size_t i = lowerBound(name);
        if (i < entries_.size() && text::equalsNoCase(entries_[i].name, name))
            entries_[i].value = value;
        else
            entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(i), Entry{std::string(name), value});
        return;
    }
    const int i = IndexOf(name);
    if (i >= 0)
        entries_[static_cast<std::size_t>(i)].value = value;
    else
        entries_.push_back(Entry{std::string(name), value});
}

Value TfrVariables::GetVariable(std::string_view name) const
{
    const Value* v = Find(name);
    return v ? *v : Value::null();
}

std::string TfrVariables::NameAt(int index) const
{
    return inRange(index) ? entries_[static_cast<std::size_t>(index)].name : std::string();
}

Value TfrVariables::ValueAt(int index) const
{
    return inRange(index) ? entries_[static_cast<std::size_t>(index)].value : Value(0);
}

void TfrVariables::SetNameAt(int index, std::string_view name)
{
    if (!inRange(index)) return;
    entries_[static_cast<std::size_t>(index)].name = std::string(name);
    // A renamed entry of a sorted list moves to its new place.
    if (sorted_) SetSorted(true);
}

void TfrVariables::SetValueAt(int index, const Value& value)
{
    if (inRange(index)) entries_[static_cast<std::size_t>(index)].value = value;
}

void TfrVariables::Delete(int index)
{
    if (inRange(index)) entries_.erase(entries_.begin() + index);
}

void TfrVariables::InsertAt(int position, std::string_view name)
{
    SetVariable(name, Value(0));
    const int from = IndexOf(name);
    if (from < 0 || position < 0 || position >= Count() || position == from) return;
    Entry e = std::move(entries_[static_cast<std::size_t>(from)]);
    entries_.erase(entries_.begin() + from);
    entries_.insert(entries_.begin() + position, std::move(e));
}

void TfrVariables::Assign(const TfrVariables& other)
{
    if (&other == this) return;
    Clear();
    for (const Entry& e : other.entries_) SetVariable(e.name, e.value);
}

void TfrVariables::SetSorted(bool sorted)
{
    sorted_ = sorted;
    if (sorted_)
        std::stable_sort(entries_.begin(), entries_.end(),
                         [](const Entry& a, const Entry& b) { return text::compareNoCase(a.name, b.name) < 0; });
}

} // namespace pemvora::report
