// pemvora-cli make-db PATH [--demo] [--force]: writes the database file that is
// supplied beside Pemvora.

#include "app/data/databasefile.h"
#include "tools/pemvora-cli/command.h"

#include <iostream>
#include <memory>

namespace {

struct Options {
    std::string path;
    pemvora::data::DatabaseFileOptions file;
};

pemvora::cli::Registration reg{[](CLI::App& root) {
    auto options = std::make_shared<Options>();
    CLI::App* cmd = root.add_subcommand(
        "make-db", "Write a new encrypted cheque database with its tables and the operator admin/579");
    cmd->add_option("PATH", options->path, "database file to write (e.g. banck.mdb)")->required();
    cmd->add_flag("--demo", options->file.demo,
                  "add demo banks, purposes, payees, the unit and a few cheques");
    cmd->add_flag("--force", options->file.force, "replace the file if it exists");
    cmd->callback([options] {
        try {
            pemvora::data::writeChequeDatabase(options->path, options->file);
        } catch (const std::exception& e) {
            throw pemvora::cli::CommandFailure(e.what());
        }
        std::cout << "Wrote " << options->path << (options->file.demo ? " with demo data" : "") << '\n';
    });
}};

} // namespace
