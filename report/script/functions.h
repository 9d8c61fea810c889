#pragma once
// Function libraries and the report's function dispatch.
//
// A call that the evaluator does not handle itself reaches CallFunction of the
// report it is bound to: the registered libraries are asked in registration
// order, then the report's own procedures run (STOPREPORT, NEWPAGE, NEWCOLUMN,
// SHOWBAND, INC, DEC, SETARRAY, GETARRAY, object methods), then the host's
// OnUserFunction. A call that nothing handles gives the text "0".
//
// The engine keeps its libraries in engine().Functions: created on first use
// with the standard and the database library registered, which also file the
// descriptions the designer's function list shows.

#include "platform/value/value.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pemvora::report {

class TfrReport;
class TfrInstalledFunctions;

// The argument texts of a call, as written (not evaluated), and the report
// whose evaluator evaluates them.
struct FunctionCall {
    TfrReport& Report;
    std::string Args[3];
    // The argument evaluated with the report's global evaluator.
    Value Evaluate(int index) const;
};

class TfrFunctionLibrary {
public:
    virtual ~TfrFunctionLibrary() = default;

    // Identifies the library in the registry: a class registers once.
    virtual std::string_view ClassName() const = 0;
    // Files the descriptions of the library's names (AddDescription); called
    // once the library is registered.
    virtual void FileDescriptions() {}

    // When FunctionNames holds `name` (ignoring case), ExecuteFunction with its
    // index and true; otherwise false.
    virtual bool HandleFunction(const std::string& name, const FunctionCall& call, Value& value);
    virtual void ExecuteFunction(int number, const FunctionCall& call, Value& value) = 0;

    // Files a description for this library: nothing when the category is empty
    // or a description of exactly this name exists.
    void AddDescription(std::string_view name, std::string_view category, std::string_view description);

    // The names handled, in order; the index is the function number.
    std::vector<std::string> FunctionNames;

private:
    friend class FunctionRegistry;
    TfrInstalledFunctions* installed_ = nullptr;
};

struct TfrFunctionDesc {
    const TfrFunctionLibrary* Library = nullptr;
    std::string ClassName;          // of the library that filed it
    std::string Name, Category, Description;
};

// The descriptions the designer's "Functions" window lists. A description is
// the call's syntax, "/", and an explanation.
class TfrInstalledFunctions {
public:
    void Add(const TfrFunctionLibrary& library, std::string_view name, std::string_view category,
             std::string_view description);
    // The description of the first record whose name equals `name` ignoring
    // case; empty when there is none.
    std::string GetDescription(std::string_view name) const;
    // The distinct categories, sorted.
    std::vector<std::string> GetFunctionCategories() const;
    // The names of a category (ignoring case), sorted; "All functions" or an
    // empty category lists every record.
    std::vector<std::string> GetFunctions(std::string_view category) const;
    // Drops every record filed by a library of this class.
    void RemoveLibrary(std::string_view className);
    const std::vector<TfrFunctionDesc>& Records() const { return records_; }

private:
    std::vector<TfrFunctionDesc> records_;
};

inline constexpr std::size_t kMaxFunctionLibraries = 64;
inline constexpr std::string_view kAllFunctions = "All functions";

class FunctionRegistry {
public:
    using Factory = std::function<std::unique_ptr<TfrFunctionLibrary>()>;

    // Creates a library and appends it, unless a library of the same class is
    // registered (true, nothing changes). False when the registry is full.
    bool RegisterLibrary(const Factory& create);
    template <class Library>
    bool RegisterLibrary()
    {
        return RegisterLibrary([] { return std::unique_ptr<TfrFunctionLibrary>(new Library()); });
    }
    // Removes the library of that class and its descriptions.
    void UnregisterLibrary(std::string_view className);

    const std::vector<std::unique_ptr<TfrFunctionLibrary>>& Libraries() const { return libraries_; }
    TfrInstalledFunctions Installed;

private:
    std::vector<std::unique_ptr<TfrFunctionLibrary>> libraries_;
};

// The engine's registry (engine().Functions), with the standard libraries
// registered when it is first used.
FunctionRegistry& functionRegistry();

// The report's function dispatch; `name` arrives upper-cased, p1..p3 are the
// argument texts.
void CallFunction(TfrReport& report, const std::string& name, const Value& p1, const Value& p2, const Value& p3,
                  Value& value);

// What the report procedures of scripts ask of the band engine; it installs
// one in engine().Procedures while a run is on. Without one SHOWBAND does
// nothing.
class RunProcedures {
public:
    virtual ~RunProcedures() = default;
    // Prints the first band, over all kinds and chains in kind order, whose
    // view name equals `name` ignoring case; no such band: nothing.
    virtual void ShowBandByName(const std::string& name) = 0;
};

} // namespace pemvora::report
