// pemvora-cli: the command-line companion of Pemvora.
// Exit codes: 0 success, 1 a failure of the command, 2 bad usage.

#include "tools/pemvora-cli/command.h"

#include <cstdio>
#include <exception>
#include <iostream>

namespace pemvora::cli {

std::vector<AttachFn>& registeredCommands()
{
    static std::vector<AttachFn> commands;
    return commands;
}

std::set<std::string>& textArgumentCommands()
{
    static std::set<std::string> commands;
    return commands;
}

std::vector<std::string> withTextArguments(std::vector<std::string> args)
{
    // args[0] is the program, args[1] the subcommand, args[2] its first argument.
    if (args.size() < 3 || !textArgumentCommands().count(args[1])) return args;
    const std::string& first = args[2];
    if (first.size() > 1 && first[0] == '-' && first != "--" && first != "-h" && first != "--help")
        args.insert(args.begin() + 2, "--");
    return args;
}

} // namespace pemvora::cli

int main(int argc, char** argv)
{
    using namespace pemvora::cli;
    CLI::App app{"Pemvora command-line tools", "pemvora-cli"};
    app.require_subcommand(1);
    app.fallthrough(false);
    for (const AttachFn& attach : registeredCommands()) attach(app);

    std::vector<std::string> args = withTextArguments(std::vector<std::string>(argv, argv + argc));
    std::vector<char*> pointers;
    for (std::string& a : args) pointers.push_back(a.data());

    try {
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << e.what() << "\n\n" << app.help();
        return 2;
    } catch (const CommandFailure& e) {
        std::cout.flush();
        std::cerr << e.what() << '\n';
        return 1;
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
