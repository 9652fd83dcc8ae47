#pragma once

// Runs the built console host as a user runs it: arguments on a command line,
// standard input from a string, and what it prints and its exit code kept.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
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

// A console host started and left running, so that several can run at once;
// Finish waits for it.
class StartedConsole {
public:
    explicit StartedConsole(const std::string& arguments, const std::string& input = "")
    {
        static std::atomic<unsigned> started{0};
        const std::string name = std::to_string(::getpid()) + "-" + std::to_string(++started);
        const std::filesystem::path folder = ::testing::TempDir();
        m_errFile = folder / ("ngt-err-" + name);
        m_inFile = folder / ("ngt-in-" + name);
        std::ofstream(m_inFile, std::ios::binary) << input;
        const std::string command = std::string("env -u NGT_CONSOLE_STORE ") + NGT_CONSOLE + " " + arguments + " <" +
                                    m_inFile.string() + " 2>" + m_errFile.string();
        m_pipe = ::popen(command.c_str(), "r");
    }
    StartedConsole(const StartedConsole&) = delete;
    StartedConsole& operator=(const StartedConsole&) = delete;
    ~StartedConsole()
    {
        if (m_pipe) Finish();
    }

    ConsoleRun Finish()
    {
        ConsoleRun run;
        if (!m_pipe) {
            run.err = "the console host could not be started";
            return run;
        }
        std::array<char, 4096> buffer;
        for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), m_pipe)) > 0;)
            run.out.append(buffer.data(), n);
        const int status = ::pclose(m_pipe);
        m_pipe = nullptr;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream err(m_errFile);
        run.err.assign(std::istreambuf_iterator<char>(err), {});
        std::filesystem::remove(m_errFile);
        std::filesystem::remove(m_inFile);
        return run;
    }

private:
    FILE* m_pipe = nullptr;
    std::filesystem::path m_errFile;
    std::filesystem::path m_inFile;
};

inline ConsoleRun Console(const std::string& arguments, const std::string& input = "")
{
    return StartedConsole(arguments, input).Finish();
}

}  // namespace testsupport
