#pragma once

// Runs the built console host as a user runs it: arguments on a command line,
// standard input from a string, and what it prints and its exit code kept.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace testsupport {

struct ConsoleRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline ConsoleRun Console(const std::string& arguments, const std::string& input = "")
{
    namespace fs = std::filesystem;
    const fs::path errFile = fs::path(::testing::TempDir()) / ("ngt-err-" + std::to_string(::getpid()));
    const fs::path inFile = fs::path(::testing::TempDir()) / ("ngt-in-" + std::to_string(::getpid()));
    std::ofstream(inFile, std::ios::binary) << input;
    const std::string command = std::string("env -u NGT_CONSOLE_STORE ") + NGT_CONSOLE + " " + arguments + " <" +
                                inFile.string() + " 2>" + errFile.string();
    ConsoleRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    std::array<char, 4096> buffer;
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) run.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errFile);
    run.err.assign(std::istreambuf_iterator<char>(err), {});
    fs::remove(errFile);
    fs::remove(inFile);
    return run;
}

}  // namespace testsupport
