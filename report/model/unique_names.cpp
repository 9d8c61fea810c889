#include "report/model/unique_names.h"

#include "platform/text/gbk.h"

namespace pemvora::report {

void UniqueNames::Take(std::string_view name) { taken_.insert(text::toUpper(name)); }

std::string UniqueNames::Next(std::string_view prefix)
{
    const std::string upper = text::toUpper(prefix);
    int& n = firstFree_.try_emplace(upper, 1).first->second;
    while (n <= kMaxGeneratedNumber && taken_.count(upper + std::to_string(n))) ++n;
    if (n > kMaxGeneratedNumber) return {};
    taken_.insert(upper + std::to_string(n));
    return std::string(prefix) + std::to_string(n);
}

} // namespace pemvora::report
