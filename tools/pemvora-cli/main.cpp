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

} // namespace pemvora::cli

int main(int argc, char** argv)
{
    using namespace pemvora::cli;
    CLI::App app{"Pemvora command-line tools", "pemvora-cli"};
    app.require_subcommand(1);
    app.fallthrough(false);
    for (const AttachFn& attach : registeredCommands()) attach(app);

    try {
        app.parse(argc, argv);
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
