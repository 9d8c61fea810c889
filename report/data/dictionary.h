#pragma once
// TfrDataDictionary: the report's designer-defined variables (grouped in
// categories, each an expression text), the aliases of data sets and fields, and
// a cache of names already resolved to a data set field.
//
// VarList layout: an entry whose name begins with one space is a category (its
// display name is the rest); the entries after it, up to the next category, are
// its variables, whose values are expression texts.

#include "report/data/dataset.h"
#include "report/data/variables.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace pemvora::report {

// What the dictionary needs from the report it belongs to.
class DictionaryHost {
public:
    // The window the report sits on, and the application's top-level components.
    virtual const ComponentContainer* owner() const = 0;
    virtual const ComponentContainer* application() const = 0;
    // The data set a bare field name refers to, or nullptr.
    virtual IDataSet* defaultDataSet() const = 0;
    // The global variables (frVariables).
    virtual const TfrVariables& globalVariables() const = 0;
    // Evaluates an expression text with the global evaluator.
    virtual Value evaluate(std::string_view expression) = 0;

protected:
    ~DictionaryHost() = default;
};

// A name resolved to a field of a data set.
struct FieldReference {
    IDataSet* dataSet = nullptr;
    std::string field;   // the real field name, without quotes
};

class TfrDataDictionary : private ComponentWatcher {
public:
    TfrDataDictionary() = default;
    ~TfrDataDictionary();
    TfrDataDictionary(const TfrDataDictionary&) = delete;
    TfrDataDictionary& operator=(const TfrDataDictionary&) = delete;

    TfrVariables VarList;           // categories and variables, order significant
    TfrVariables AliasList;         // "DataSet" or "DataSet.Field" -> alias ("" hides it)
    TfrVariables SourceAliasList;   // band data source name -> alias

    bool Contains(std::string_view name, DictionaryHost& host);
    // Null when the name is neither a cached field nor a variable. A variable that
    // refers to itself, directly or round a cycle, raises CalculationError.
    Value ValueOf(std::string_view name, DictionaryHost& host);
    void EmptyCache();
    void Clear();

    // Is `name` a variable (not a category) of VarList?
    bool IsVariable(std::string_view name) const;
    std::vector<std::string> ListCategories() const;
    std::vector<std::string> ListCategoryVariables(std::string_view category) const;
    std::vector<std::string> ListDataSets(const DictionaryHost& host) const;
    std::vector<std::string> ListFields(std::string_view dataSet, const DictionaryHost& host) const;
    std::vector<std::string> ListDataSources(const DictionaryHost& host) const;
    std::string DataSetOfAlias(std::string_view alias) const;
    std::string FieldOfAlias(std::string_view reference) const;
    std::string AliasOf(std::string_view name) const;

    // Resolves a field reference: Field (with `defaultDataSet`), DataSet.Field,
    // Window.DataSet.Field or Window.Module.DataSet.Field; the field part may be in
    // double quotes. A missing window or module raises DataError "Missing <name>".
    // The data set a field reference names and its field part (unquoted),
    // whether or not the data set has such a field; nullopt when no data set
    // results (or `name` is not a single name).
    std::optional<FieldReference> LocateField(std::string_view name, IDataSet* defaultDataSet,
                                              const DictionaryHost& host) const;
    std::optional<FieldReference> ResolveField(std::string_view name, IDataSet* defaultDataSet,
                                              const DictionaryHost& host) const;

    // Fixes up a freshly loaded dictionary: names of the older convention
    // (variables marked by a leading space) are toggled; with `olderMarker`,
    // hidden aliases of fields that no longer resolve, and hidden source aliases,
    // are dropped.
    void ConvertAfterLoad(bool olderMarker, const DictionaryHost& host);

private:
    void componentDestroyed(DataComponent* component) override;
    void cache(std::string_view name, const FieldReference& ref);
    // The alias rewrite of a dotted name: DataSet.Field by their aliases.
    std::string unalias(std::string_view name) const;

    // Upper-cased name -> field; the data sets are watched so that none dangles.
    std::map<std::string, FieldReference> fieldCache_;
    std::set<std::string> evaluating_;   // upper-cased variables being evaluated (cycle guard)
};

// Splits a field reference at its dots; a double quote makes the rest one part.
std::vector<std::string> SplitFieldReference(std::string_view name);

} // namespace pemvora::report
