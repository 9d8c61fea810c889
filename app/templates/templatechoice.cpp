#include "app/templates/templatechoice.h"

#include <string>

namespace pemvora::app {

namespace {

constexpr const char* kCash = "现金";
constexpr const char* kTransfer = "转帐";

} // namespace

const char* familyName(TemplateFamily family)
{
    switch (family) {
    case TemplateFamily::Carry: return "carry";
    case TemplateFamily::ACarry: return "acarry";
    case TemplateFamily::Cash: return "cash";
    }
    return "carry";
}

std::optional<TemplateFamily> familyByName(std::string_view name)
{
    for (TemplateFamily f : kTemplateFamilies)
        if (name == familyName(f)) return f;
    return std::nullopt;
}

TemplateFamily printFamily(std::string_view chequeType, int printMode)
{
    if (chequeType == kCash) return TemplateFamily::Cash;
    return printMode == 1 ? TemplateFamily::ACarry : TemplateFamily::Carry;
}

std::optional<TemplateFamily> designFamily(std::string_view chequeType, int printMode)
{
    if (chequeType != kCash && chequeType != kTransfer) return std::nullopt;
    return printFamily(chequeType, printMode);
}

std::optional<std::string> templateFileName(std::string_view templateBank, TemplateFamily family)
{
    for (int i = 0; i < kTemplateBankCount; ++i) {
        if (templateBank != kTemplateBanks[i]) continue;
        // The first bank's files carry no number; the others 1 to 4.
        const std::string number = i == 0 ? std::string() : std::to_string(i);
        return std::string(familyName(family)) + number + ".frf";
    }
    return std::nullopt;
}

} // namespace pemvora::app
