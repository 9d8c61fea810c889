#pragma once
// The two libraries every engine registers: the standard functions (text,
// dates, numbers, formats, dialogs, aggregates) and FIELDISNULL.

#include "report/script/functions.h"

namespace pemvora::report {

// AVG COUNT DAYOF FORMATDATETIME FORMATFLOAT FORMATTEXT INPUT LENGTH LOWERCASE
// MAX MAXNUM MESSAGEBOX MIN MINNUM MONTHOF NAMECASE POS SUM TRIM UPPERCASE
// YEAROF. Texts are GBK and counted in bytes (LENGTH and POS count a Chinese
// character as 2). It also files the descriptions of the names other parts
// of the engine handle (operators, system names, script procedures).
class TfrStdFunctionLibrary : public TfrFunctionLibrary {
public:
    TfrStdFunctionLibrary();
    std::string_view ClassName() const override { return "TfrStdFunctionLibrary"; }
    void FileDescriptions() override;
    void ExecuteFunction(int number, const FunctionCall& call, Value& value) override;
};

// FIELDISNULL(field): true when the field of the current record is Null, or
// when the reference names no data set; a field the data set does not have
// raises DataError.
class TDatabaseFunctionLibrary : public TfrFunctionLibrary {
public:
    TDatabaseFunctionLibrary();
    std::string_view ClassName() const override { return "TDatabaseFunctionLibrary"; }
    void FileDescriptions() override;
    void ExecuteFunction(int number, const FunctionCall& call, Value& value) override;
};

} // namespace pemvora::report
