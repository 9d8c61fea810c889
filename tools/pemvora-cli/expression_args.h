#pragma once
// Shared by the eval and expand commands: NAME=VALUE arguments into frVariables,
// a fresh engine with one empty report, and results printed as STR gives them.

#include "platform/text/gbk.h"
#include "platform/value/locale.h"
#include "platform/value/numbertext.h"
#include "report/model/report.h"
#include "report/script/names.h"
#include "report/script/valueops.h"
#include "tools/pemvora-cli/command.h"

#include <iostream>
#include <string>
#include <vector>

namespace pemvora::cli {

// Command-line text is UTF-8; the engine's is GBK.
inline std::string engineText(const std::string& utf8)
{
    std::string gbk;
    if (!text::tryUtf8ToGbk(utf8, gbk)) throw CommandFailure("not representable in GBK: " + utf8);
    return gbk;
}

// A value that reads as a number is stored as a number, anything else as text.
inline Value valueFromArgument(const std::string& gbk)
{
    if (const auto i = parseInteger(gbk)) return Value(*i);
    if (const auto d = parseNumber(gbk)) return Value(*d);
    return Value(gbk);
}

inline void setVariables(const std::vector<std::string>& assignments)
{
    for (const std::string& a : assignments) {
        const std::size_t eq = a.find('=');
        if (eq == std::string::npos || eq == 0) throw CLI::ValidationError("NAME=VALUE", "expected NAME=VALUE: " + a);
        report::engine().Variables.SetVariable(engineText(a.substr(0, eq)), valueFromArgument(engineText(a.substr(eq + 1))));
    }
}

// Runs `body` against a fresh engine and one empty report; engine errors end the
// command with their message.
template <class Body>
void withReport(const std::vector<std::string>& assignments, Body body)
{
    report::resetEngine();
    report::TfrReport rep;
    report::engine().CurrentReport = &rep;
    setVariables(assignments);
    try {
        body(rep);
    } catch (const CLI::Error&) {
        throw;
    } catch (const std::exception& e) {
        throw CommandFailure(text::gbkToUtf8(e.what()));
    }
}

inline void printEngineText(const std::string& gbk) { std::cout << text::gbkToUtf8(gbk) << '\n'; }

} // namespace pemvora::cli
