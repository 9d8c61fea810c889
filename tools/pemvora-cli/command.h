#pragma once
// Subcommands of pemvora-cli register themselves here, one file each.
//
// A command's attach function adds its CLI11 subcommand to the root app and sets
// the callback. Callbacks print results to stdout (UTF-8); they report a failure
// by throwing CommandFailure (message on stderr, exit 1).

#include <CLI/CLI.hpp>

#include <functional>
#include <stdexcept>
#include <vector>

namespace pemvora::cli {

class CommandFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using AttachFn = std::function<void(CLI::App& root)>;

std::vector<AttachFn>& registeredCommands();

struct Registration {
    explicit Registration(AttachFn attach) { registeredCommands().push_back(std::move(attach)); }
};

} // namespace pemvora::cli
