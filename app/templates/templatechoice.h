#pragma once
// Which template file prints a cheque: the template bank of the paying account
// (`bank_mb`), the cheque type and the print mode choose one of fifteen bare
// file names, looked for in the current folder.

#include <optional>
#include <string>
#include <string_view>

namespace pemvora::app {

// The five template banks a bank row can use, in the order printing compares them.
inline constexpr const char* kTemplateBanks[] = {"工商银行", "建设银行", "农业银行", "信用联社", "其他"};
inline constexpr int kTemplateBankCount = 5;

// carry: transfer cheques printed "普通" (the body of the form); acarry:
// transfer cheques printed "特殊" (body and stub); cash: cash cheques whatever
// the print mode (body and stub).
enum class TemplateFamily { Carry, ACarry, Cash };
inline constexpr TemplateFamily kTemplateFamilies[] = {TemplateFamily::Carry, TemplateFamily::ACarry,
                                                       TemplateFamily::Cash};

// "carry", "acarry", "cash".
const char* familyName(TemplateFamily family);
std::optional<TemplateFamily> familyByName(std::string_view name);

// The family that prints a cheque: "现金" gives cash; any other type text
// (also none) a transfer family, "普通" (print mode 0) carry, "特殊" (1) acarry.
TemplateFamily printFamily(std::string_view chequeType, int printMode);

// The family that the template editor opens: as printFamily for "现金" and
// "转帐", nothing for any other type text.
std::optional<TemplateFamily> designFamily(std::string_view chequeType, int printMode);

// The file of a template bank and family ("acarry1.frf" for 建设银行 and
// acarry); nothing for a bank text that is not one of the five.
std::optional<std::string> templateFileName(std::string_view templateBank, TemplateFamily family);

} // namespace pemvora::app
