// pemvora-cli cheques [--db PATH]: lists the stored cheques, one tab-separated
// line each under a header line. A cheque whose bank, purpose or payee id is
// empty or unknown shows an empty name there.

#include "app/data/chequelist.h"
#include "app/data/tdata.h"
#include "tools/pemvora-cli/command.h"

#include <iostream>
#include <memory>

namespace {

pemvora::cli::Registration reg{[](CLI::App& root) {
    auto db = std::make_shared<std::string>(pemvora::data::kDatabaseFileName);
    CLI::App* cmd = root.add_subcommand(
        "cheques", "List the stored cheques, tab-separated (a bank, purpose or payee id that is "
                   "empty or unknown shows as an empty name)");
    cmd->add_option("--db", *db, "database file")->capture_default_str();
    cmd->callback([db] {
        std::vector<pemvora::data::ChequeLine> lines;
        try {
            pemvora::data::TData data(*db);
            lines = pemvora::data::listCheques(data);
        } catch (const std::exception& e) {
            throw pemvora::cli::CommandFailure(e.what());
        }
        std::cout << "支票号码\t出票日期\t金额\t类型\t付款行\t用途\t收款单位\n";
        for (const auto& l : lines)
            std::cout << l.number << '\t' << l.date << '\t' << l.amount << '\t' << l.type << '\t'
                      << l.bank << '\t' << l.purpose << '\t' << l.payee << '\n';
    });
}};

} // namespace
