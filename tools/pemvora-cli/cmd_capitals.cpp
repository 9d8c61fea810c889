// pemvora-cli capitals AMOUNT / date-capitals YYYY-MM-DD

#include "app/capitals/capitals.h"
#include "tools/pemvora-cli/command.h"

#include <fmt/format.h>

#include <iostream>
#include <regex>

namespace pemvora::cli {
namespace {

Registration capitals{[](CLI::App& root) {
    auto* cmd = root.add_subcommand("capitals", "Print an amount in capital numerals");
    auto amount = std::make_shared<std::string>();
    cmd->add_option("AMOUNT", *amount, "the amount as decimal text, e.g. 120034.56")->required();
    cmd->callback([amount] {
        try {
            std::cout << app::AmountToCapitals(*amount) << '\n';
        } catch (const app::CapitalsError& e) {
            throw CommandFailure(e.what());
        }
    });
}};

Registration dateCapitals{[](CLI::App& root) {
    auto* cmd = root.add_subcommand("date-capitals", "Print a date in capital numerals as a cheque shows it");
    auto date = std::make_shared<std::string>();
    cmd->add_option("DATE", *date, "the date as YYYY-MM-DD")->required();
    cmd->callback([date] {
        static const std::regex iso(R"((\d{4})-(\d{1,2})-(\d{1,2}))");
        std::smatch m;
        if (!std::regex_match(*date, m, iso)) throw CLI::ValidationError("DATE", "expected YYYY-MM-DD: " + *date);
        const int y = std::stoi(m[1]), mo = std::stoi(m[2]), d = std::stoi(m[3]);
        if (!isValidDate(y, mo, d)) throw CommandFailure(fmt::format("'{}' is not a valid date", *date));
        std::cout << app::DateToCapitals(encodeDate(y, mo, d)) << '\n';
    });
}};

} // namespace
} // namespace pemvora::cli
