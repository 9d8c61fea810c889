#pragma once
// Runs the built pemvora-cli (PEMVORA_CLI_PATH) as the user runs it, in a folder.

#include "tests/app/datafixture.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace pemvora::data::testing {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs pemvora-cli in `folder` with the arguments (already quoted for the shell).
inline CliRun cli(const TempDir& dir, const std::string& args)
{
    const std::string errFile = dir.file("stderr.txt");
    const std::string command = "cd '" + dir.path().string() + "' && '" PEMVORA_CLI_PATH "' " + args +
                                " 2>'" + errFile + "'";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 512> buffer;
    while (std::fgets(buffer.data(), buffer.size(), pipe)) run.out += buffer.data();
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = readFile(errFile);
    return run;
}

inline std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

} // namespace pemvora::data::testing
