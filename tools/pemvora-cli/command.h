#pragma once
// Subcommands of pemvora-cli register themselves here, one file each.
//
// A command's attach function adds its CLI11 subcommand to the root app and sets
// the callback. Callbacks print results to stdout (UTF-8); they report a failure
// by throwing CommandFailure (message on stderr, exit 1).

#include <CLI/CLI.hpp>

#include <functional>
#include <set>
#include <stdexcept>
#include <string>
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

// Subcommands whose arguments are all texts (expressions, lines): a first
// argument that begins with "-", as "-(2 + 3) * 2" does, is a text and not an
// option. Such a command has no options but --help.
std::set<std::string>& textArgumentCommands();
inline void argumentsAreTexts(CLI::App& command) { textArgumentCommands().insert(command.get_name()); }

// The command line with "--" put before such a first argument, so that the
// parser takes it as a text.
std::vector<std::string> withTextArguments(std::vector<std::string> args);

} // namespace pemvora::cli
