#pragma once

// A test of the built console host on a fresh store in a folder of its own,
// removed again after the test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "tools/ConsoleRun.h"

namespace testsupport {

class StoreCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string suite = ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name();
        m_directory = std::filesystem::path(::testing::TempDir()) / (suite + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_directory);
        std::filesystem::create_directories(m_directory);
        m_store = (m_directory / "console.db").string();
    }
    void TearDown() override { std::filesystem::remove_all(m_directory); }

    ConsoleRun Run(const std::string& arguments) { return Console("--store '" + m_store + "' " + arguments); }
    // A command that must succeed.
    ConsoleRun Done(const std::string& arguments)
    {
        ConsoleRun run = Run(arguments);
        EXPECT_EQ(run.exitCode, 0) << arguments << "\n" << run.err;
        return run;
    }
    nlohmann::json Json(const std::string& arguments) { return nlohmann::json::parse(Done(arguments + " --format json").out); }
    // A file of the given bytes in the test's folder; its path.
    std::string File(const std::string& name, const std::string& bytes)
    {
        const std::filesystem::path path = m_directory / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    std::filesystem::path m_directory;
    std::string m_store;
};

}  // namespace testsupport
