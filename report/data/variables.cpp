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

int TfrVariables::unsortedIndexOf(std::string_view name) const
{
    if (entries_.size() < kIndexFrom) {
        for (std::size_t i = 0; i < entries_.size(); ++i)
            if (text::equalsNoCase(entries_[i].name, name)) return static_cast<int>(i);
        return -1;
    }
    if (!indexed_) {
        index_.reserve(entries_.size());
        // emplace keeps the first of equal names, as a search from the start finds it.
        for (std::size_t i = 0; i < entries_.size(); ++i) index_.emplace(text::toUpper(entries_[i].name), i);
        indexed_ = true;
    }
    const auto it = index_.find(text::toUpper(name));
    return it == index_.end() ? -1 : static_cast<int>(it->second);
}

void TfrVariables::dropIndex()
{
    if (!indexed_) return;
    index_ = {};
    indexed_ = false;
}

int TfrVariables::IndexOf(std::string_view name) const
{
    if (sorted_) {
        const std::size_t i = lowerBound(name);
        return i < entries_.size() && text::equalsNoCase(entries_[i].name, name) ? static_cast<int>(i) : -1;
    }
    return unsortedIndexOf(name);
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
    if (i >= 0) {
        entries_[static_cast<std::size_t>(i)].value = value;
        return;
    }
    entries_.push_back(Entry{std::string(name), value});
    if (indexed_) index_.emplace(text::toUpper(name), entries_.size() - 1);
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
    dropIndex();
    // A renamed entry of a sorted list moves to its new place.
    if (sorted_) SetSorted(true);
}

void TfrVariables::SetValueAt(int index, const Value& value)
{
    if (inRange(index)) entries_[static_cast<std::size_t>(index)].value = value;
}

void TfrVariables::Delete(int index)
{
    if (!inRange(index)) return;
    entries_.erase(entries_.begin() + index);
    dropIndex();
}

void TfrVariables::DeleteWhere(const std::function<bool(const std::string& name, const Value& value)>& remove)
{
    // Every entry is asked first, so a `remove` that throws leaves the list as it was.
    std::vector<bool> removed(entries_.size());
    bool any = false;
    for (std::size_t i = 0; i < entries_.size(); ++i) any |= removed[i] = remove(entries_[i].name, entries_[i].value);
    if (!any) return;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (removed[i]) continue;
        if (kept != i) entries_[kept] = std::move(entries_[i]);
        ++kept;
    }
    entries_.resize(kept);
    dropIndex();
}

void TfrVariables::Clear()
{
    entries_.clear();
    dropIndex();
}

void TfrVariables::InsertAt(int position, std::string_view name)
{
    SetVariable(name, Value(0));
    const int from = IndexOf(name);
    if (from < 0 || position < 0 || position >= Count() || position == from) return;
    Entry e = std::move(entries_[static_cast<std::size_t>(from)]);
    entries_.erase(entries_.begin() + from);
    entries_.insert(entries_.begin() + position, std::move(e));
    dropIndex();
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
    dropIndex();
    if (sorted_)
        std::stable_sort(entries_.begin(), entries_.end(),
                         [](const Entry& a, const Entry& b) { return text::compareNoCase(a.name, b.name) < 0; });
}

} // namespace pemvora::report
