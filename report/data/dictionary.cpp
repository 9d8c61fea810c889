#include "report/data/dictionary.h"

#include "platform/text/gbk.h"
#include "report/data/datasource.h"
#include "report/data/evaluator.h"

#include <algorithm>

#include <fmt/format.h>

namespace pemvora::report {

namespace {

bool isCategory(std::string_view name) { return !name.empty() && name[0] == ' '; }

std::string unquoted(std::string_view part)
{
    if (!part.empty() && part.front() == '"') part.remove_prefix(1);
    if (!part.empty() && part.back() == '"') part.remove_suffix(1);
    return std::string(part);
}

void sortNoCase(std::vector<std::string>& names)
{
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return text::compareNoCase(a, b) < 0; });
}

IDataSet* dataSetOf(DataComponent* c)
{
    if (auto* ds = dynamic_cast<IDataSet*>(c)) return ds;
    if (auto* source = dynamic_cast<TfrDBDataSet*>(c)) return source->EffectiveDataSetOrNull();
    return nullptr;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && text::equalsNoCase(s.substr(0, prefix.size()), prefix);
}

} // namespace

std::vector<std::string> SplitFieldReference(std::string_view name)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < name.size(); i = text::nextChar(name, i)) {
        if (name[i] == '"') {
            parts.push_back(unquoted(name.substr(i)));
            return parts;
        }
        if (name[i] == '.') {
            parts.emplace_back(name.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.emplace_back(name.substr(start));
    return parts;
}

TfrDataDictionary::~TfrDataDictionary() { EmptyCache(); }

void TfrDataDictionary::componentDestroyed(DataComponent* component)
{
    for (auto it = fieldCache_.begin(); it != fieldCache_.end();)
        it = it->second.dataSet == component ? fieldCache_.erase(it) : std::next(it);
}

void TfrDataDictionary::EmptyCache()
{
    std::set<IDataSet*> watched;
    for (const auto& [name, ref] : fieldCache_) watched.insert(ref.dataSet);
    for (IDataSet* ds : watched) ds->removeWatcher(this);
    fieldCache_.clear();
}

void TfrDataDictionary::Clear()
{
    VarList.Clear();
    AliasList.Clear();
    SourceAliasList.Clear();
}

void TfrDataDictionary::cache(std::string_view name, const FieldReference& ref)
{
    ref.dataSet->addWatcher(this);
    fieldCache_[text::toUpper(name)] = ref;
}

bool TfrDataDictionary::IsVariable(std::string_view name) const
{
    return !name.empty() && !isCategory(name) && VarList.IndexOf(name) >= 0;
}

std::optional<FieldReference> TfrDataDictionary::LocateField(std::string_view name, IDataSet* defaultDataSet,
                                                              const DictionaryHost& host) const
{
    // Only a single name can be a field: "Query1.Amount * 1.5" is an expression.
    std::size_t end = 0;
    if (ReadExpressionName(name, end).size() != name.size() || name.empty()) return std::nullopt;
    const std::vector<std::string> parts = SplitFieldReference(name);
    IDataSet* ds = nullptr;
    if (parts.size() == 1) {
        ds = defaultDataSet;
    } else {
        std::string path = parts[0];
        for (std::size_t i = 1; i + 1 < parts.size(); ++i) path += "." + parts[i];
        DataComponent* c = nullptr;
        try {
            c = FindDataComponent(host.owner(), host.application(), path);
        } catch (const DataError&) {
            throw DataError(fmt::format("Missing {}", name));
        }
        ds = dataSetOf(c);
    }
    if (!ds) return std::nullopt;
    return FieldReference{ds, parts.back()};
}

std::optional<FieldReference> TfrDataDictionary::ResolveField(std::string_view name, IDataSet* defaultDataSet,
                                                              const DictionaryHost& host) const
{
    std::optional<FieldReference> located = LocateField(name, defaultDataSet, host);
    if (!located) return std::nullopt;
    IDataSet* ds = located->dataSet;
    const int index = ds->fieldIndex(located->field);
    if (index < 0) return std::nullopt;
    return FieldReference{ds, ds->fields()[static_cast<std::size_t>(index)].name};
}

std::string TfrDataDictionary::unalias(std::string_view name) const
{
    std::size_t dot = std::string_view::npos;
    bool quoted = false;
    for (std::size_t i = 0; i < name.size(); i = text::nextChar(name, i)) {
        if (name[i] == '"') quoted = !quoted;
        else if (name[i] == '.' && !quoted) dot = i;
    }
    if (dot == std::string_view::npos) return std::string(name);
    const std::string dataSet = DataSetOfAlias(name.substr(0, dot));
    std::string field = unquoted(name.substr(dot + 1));
    for (int i = 0; i < AliasList.Count(); ++i) {
        const std::string key = AliasList.NameAt(i);
        if (text::equalsNoCase(AliasList.ValueAt(i).toText(), field) && startsWithNoCase(key, dataSet + ".")) {
            field = key.substr(dataSet.size() + 1);
            break;
        }
    }
    return dataSet + ".\"" + field + "\"";
}

bool TfrDataDictionary::Contains(std::string_view name, DictionaryHost& host)
{
    if (fieldCache_.count(text::toUpper(name))) return true;
    IDataSet* defaultDataSet = host.defaultDataSet();
    if (IsVariable(name)) {
        const std::string expression = VarList.GetVariable(name).toText();
        if (!expression.empty() && expression.find('.') != std::string::npos) {
            // Only a shortcut for later reads: an expression that is no field reference is fine.
            try {
                if (const auto ref = ResolveField(expression, defaultDataSet, host)) cache(name, *ref);
            } catch (const DataError&) {
            }
        }
        return true;
    }
    std::optional<FieldReference> ref;
    try {
        ref = ResolveField(unalias(name), defaultDataSet, host);
    } catch (const DataError&) {
        throw DataError(fmt::format("Missing {}", name));   // the name as it was asked for
    }
    if (!ref) return false;
    cache(name, *ref);
    return true;
}

Value TfrDataDictionary::ValueOf(std::string_view name, DictionaryHost& host)
{
    if (const auto it = fieldCache_.find(text::toUpper(name)); it != fieldCache_.end()) {
        IDataSet& ds = *it->second.dataSet;
        if (!ds.isOpen()) ds.open();
        return reportFieldValue(ds, ds.fieldIndex(it->second.field));
    }
    if (!IsVariable(name)) return Value::null();
    if (const Value* global = host.globalVariables().Find(name)) return *global;
    const Value stored = VarList.GetVariable(name);
    if (!stored.isString()) return stored;
    if (stored.string().empty()) return Value(std::string());
    const std::string key = text::toUpper(name);
    if (!evaluating_.insert(key).second)
        throw CalculationError(fmt::format("Variable \"{}\" refers to itself", name));
    try {
        Value v = host.evaluate(stored.string());
        evaluating_.erase(key);
        return v;
    } catch (...) {
        evaluating_.erase(key);
        throw;
    }
}

std::vector<std::string> TfrDataDictionary::ListCategories() const
{
    std::vector<std::string> out;
    for (int i = 0; i < VarList.Count(); ++i)
        if (isCategory(VarList.NameAt(i))) out.push_back(VarList.NameAt(i).substr(1));
    return out;
}

std::vector<std::string> TfrDataDictionary::ListCategoryVariables(std::string_view category) const
{
    std::vector<std::string> out;
    int i = 0;
    while (i < VarList.Count() &&
           !(isCategory(VarList.NameAt(i)) && text::equalsNoCase(VarList.NameAt(i).substr(1), category)))
        ++i;
    for (++i; i < VarList.Count() && !isCategory(VarList.NameAt(i)); ++i) out.push_back(VarList.NameAt(i));
    return out;
}

std::vector<std::string> TfrDataDictionary::ListDataSets(const DictionaryHost& host) const
{
    std::vector<std::string> out;
    const ComponentContainer* owner = host.owner();
    if (!owner) return out;
    for (IDataSet* ds : owner->componentsOf<IDataSet>()) {
        if (AliasList.Count() == 0) {
            out.push_back(ds->Name());
            continue;
        }
        // With aliases, only the data sets that have one are offered.
        if (const Value* alias = AliasList.Find(ds->Name()); alias && !alias->toText().empty())
            out.push_back(alias->toText());
    }
    sortNoCase(out);
    return out;
}

std::vector<std::string> TfrDataDictionary::ListFields(std::string_view dataSet, const DictionaryHost& host) const
{
    std::vector<std::string> out;
    const ComponentContainer* owner = host.owner();
    if (!owner) return out;
    DataComponent* c = owner->find(dataSet);
    if (!c) c = owner->find(DataSetOfAlias(dataSet));
    IDataSet* ds = dataSetOf(c);
    if (!ds) return out;
    for (const FieldInfo& f : ds->fields()) {
        if (const Value* alias = AliasList.Find(ds->Name() + "." + f.name)) {
            if (!alias->toText().empty()) out.push_back(alias->toText());
        } else {
            out.push_back(f.name);
        }
    }
    return out;
}

std::vector<std::string> TfrDataDictionary::ListDataSources(const DictionaryHost& host) const
{
    std::vector<std::string> out;
    const ComponentContainer* owner = host.owner();
    if (!owner) return out;
    for (TfrDataset* source : owner->componentsOf<TfrDataset>()) {
        if (SourceAliasList.Count() == 0) {
            out.push_back(source->Name());
            continue;
        }
        if (const Value* alias = SourceAliasList.Find(source->Name()); alias && !alias->toText().empty())
            out.push_back(alias->toText());
    }
    sortNoCase(out);
    return out;
}

std::string TfrDataDictionary::DataSetOfAlias(std::string_view alias) const
{
    for (int i = 0; i < AliasList.Count(); ++i)
        if (text::equalsNoCase(AliasList.ValueAt(i).toText(), alias)) return AliasList.NameAt(i);
    return std::string(alias);
}

std::string TfrDataDictionary::FieldOfAlias(std::string_view reference) const { return unalias(reference); }

std::string TfrDataDictionary::AliasOf(std::string_view name) const
{
    if (const Value* v = AliasList.Find(name)) return v->toText();
    if (const Value* v = SourceAliasList.Find(name)) return v->toText();
    return std::string(name);
}

void TfrDataDictionary::ConvertAfterLoad(bool olderMarker, const DictionaryHost& host)
{
    if (VarList.Count() > 0 && !isCategory(VarList.NameAt(0))) {
        for (int i = 0; i < VarList.Count(); ++i) {
            const std::string name = VarList.NameAt(i);
            VarList.SetNameAt(i, isCategory(name) ? name.substr(1) : " " + name);
        }
    }
    if (!olderMarker) return;
    AliasList.DeleteWhere([&](const std::string& key, const Value& alias) {
        if (!alias.toText().empty() || key.find('.') == std::string::npos) return false;
        try {
            return !ResolveField(key, nullptr, host).has_value();
        } catch (const DataError&) {
            return true;
        }
    });
    SourceAliasList.DeleteWhere([](const std::string&, const Value& alias) { return alias.toText().empty(); });
}

} // namespace pemvora::report
