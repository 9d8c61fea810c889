#include "report/script/functions.h"

#include "platform/text/gbk.h"
#include "platform/value/locale.h"
#include "report/model/band_runtime.h"
#include "report/model/engine_context.h"
#include "report/model/object.h"
#include "report/model/report.h"
#include "report/script/names.h"
#include "report/script/stdfunctions.h"
#include "report/script/valueops.h"

#include <algorithm>

namespace pemvora::report {

Value FunctionCall::Evaluate(int index) const { return evaluatorFor(Report).Evaluate(Args[index]); }

// ------------------------------------------------------------------ libraries

bool TfrFunctionLibrary::HandleFunction(const std::string& name, const FunctionCall& call, Value& value)
{
    for (std::size_t i = 0; i < FunctionNames.size(); ++i) {
        if (text::equalsNoCase(FunctionNames[i], name)) {
            ExecuteFunction(static_cast<int>(i), call, value);
            return true;
        }
    }
    return false;
}

void TfrFunctionLibrary::AddDescription(std::string_view name, std::string_view category,
                                        std::string_view description)
{
    if (installed_) installed_->Add(*this, name, category, description);
}

void TfrInstalledFunctions::Add(const TfrFunctionLibrary& library, std::string_view name, std::string_view category,
                                std::string_view description)
{
    if (category.empty()) return;
    for (const TfrFunctionDesc& d : records_)
        if (d.Name == name) return;
    records_.push_back({&library, std::string(library.ClassName()), std::string(name), std::string(category),
                        std::string(description)});
}

std::string TfrInstalledFunctions::GetDescription(std::string_view name) const
{
    for (const TfrFunctionDesc& d : records_)
        if (text::equalsNoCase(d.Name, name)) return d.Description;
    return {};
}

std::vector<std::string> TfrInstalledFunctions::GetFunctionCategories() const
{
    std::vector<std::string> categories;
    for (const TfrFunctionDesc& d : records_)
        if (std::find(categories.begin(), categories.end(), d.Category) == categories.end())
            categories.push_back(d.Category);
    std::sort(categories.begin(), categories.end());
    return categories;
}

std::vector<std::string> TfrInstalledFunctions::GetFunctions(std::string_view category) const
{
    const bool all = category.empty() || text::equalsNoCase(category, kAllFunctions);
    std::vector<std::string> names;
    for (const TfrFunctionDesc& d : records_)
        if (all || text::equalsNoCase(d.Category, category)) names.push_back(d.Name);
    std::sort(names.begin(), names.end());
    return names;
}

void TfrInstalledFunctions::RemoveLibrary(std::string_view className)
{
    std::erase_if(records_, [&](const TfrFunctionDesc& d) { return d.ClassName == className; });
}

bool FunctionRegistry::RegisterLibrary(const Factory& create)
{
    std::unique_ptr<TfrFunctionLibrary> library = create();
    for (const auto& present : libraries_)
        if (present->ClassName() == library->ClassName()) return true;
    if (libraries_.size() >= kMaxFunctionLibraries) return false;
    library->installed_ = &Installed;
    library->FileDescriptions();
    libraries_.push_back(std::move(library));
    return true;
}

void FunctionRegistry::UnregisterLibrary(std::string_view className)
{
    Installed.RemoveLibrary(className);
    std::erase_if(libraries_, [&](const auto& library) { return library->ClassName() == className; });
}

FunctionRegistry& functionRegistry()
{
    std::shared_ptr<FunctionRegistry>& registry = engine().Functions;
    if (!registry) {
        registry = std::make_shared<FunctionRegistry>();
        registry->RegisterLibrary<TfrStdFunctionLibrary>();
        registry->RegisterLibrary<TDatabaseFunctionLibrary>();
    }
    return *registry;
}

// ------------------------------------------------------------- the dispatch

namespace {

std::string trimmed(const Value& argument) { return std::string(text::trim(argument.toText())); }

// The text of an array index: a string as it is, anything else as an integer.
std::string indexText(const Value& index)
{
    if (index.isString()) return index.string();
    return std::to_string(ops::toInt32(index, defaultLocale()));
}

std::string arrayEntryName(const std::string& array, const Value& index)
{
    return "Arr_" + array + "_" + indexText(index);
}

// The object and property (or method) a dotted name addresses, the property in upper case.
std::optional<PropertyTarget> addressed(TfrReport& report, const std::string& name)
{
    std::optional<PropertyTarget> target = report.ResolveProperty(name);
    if (target) target->Property = upperName(target->Property);
    return target;
}

// STOPREPORT, NEWPAGE, NEWCOLUMN, SHOWBAND, INC, DEC, SETARRAY, GETARRAY and
// object methods.
void reportProcedure(TfrReport& report, const std::string& name, const FunctionCall& call, Value& value)
{
    EngineContext& e = engine();
    if (name == "STOPREPORT") {
        report.Terminated = true;
    } else if (name == "NEWPAGE") {
        if (e.CurrentBand) ++e.CurrentBand->ForceNewPageCount;
    } else if (name == "NEWCOLUMN") {
        if (e.CurrentBand) ++e.CurrentBand->ForceNewColumnCount;
    } else if (name == "SHOWBAND") {
        if (e.Procedures) e.Procedures->ShowBandByName(trimmed(Value(call.Args[0])));
    } else if (name == "INC" || name == "DEC") {
        const std::string target = trimmed(Value(call.Args[0]));
        Value current;
        ResolveName(report, target, current);
        const Value one(1);
        AssignName(report, target,
                   name == "INC" ? ops::add(current, one, defaultLocale()) : ops::subtract(current, one, defaultLocale()));
    } else if (name == "SETARRAY") {
        const std::string array = trimmed(Value(call.Args[0]));
        if (text::find(array, ".") != std::string::npos) {
            if (const auto target = addressed(report, array))
                target->Object->CallMethod("SETINDEXPROPERTY", Value(target->Property), call.Evaluate(1),
                                           call.Evaluate(2));
        } else {
            e.Variables.SetVariable(arrayEntryName(array, call.Evaluate(1)), call.Evaluate(2));
        }
    } else if (name == "GETARRAY") {
        const std::string array = trimmed(Value(call.Args[0]));
        if (text::find(array, ".") != std::string::npos) {
            if (const auto target = addressed(report, array))
                value = target->Object->CallMethod("GETINDEXPROPERTY", Value(target->Property), call.Evaluate(1),
                                                   Value::null());
        } else {
            value = e.Variables.GetVariable(arrayEntryName(array, call.Evaluate(1)));
        }
    } else if (const auto target = addressed(report, name)) {
        // An object's method: "Memo1.Memo.Add", or a method of the current object.
        Value result = target->Object->CallMethod(target->Property, Value(call.Args[0]), Value(call.Args[1]),
                                                  Value(call.Args[2]));
        // Methods that give nothing leave the dispatch's result alone.
        if (!result.isNull()) value = std::move(result);
    }
}

} // namespace

void CallFunction(TfrReport& report, const std::string& name, const Value& p1, const Value& p2, const Value& p3,
                  Value& value)
{
    value = Value(std::string("0"));
    const FunctionCall call{report, {p1.toText(), p2.toText(), p3.toText()}};
    for (const auto& library : functionRegistry().Libraries())
        if (library->HandleFunction(name, call, value)) return;
    reportProcedure(report, name, call, value);
    if (report.OnUserFunction) report.OnUserFunction(name, p1, p2, p3, value);
}

} // namespace pemvora::report
