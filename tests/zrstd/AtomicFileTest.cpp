#include "zrstd/AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class AtomicFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("zr-atomic-" + std::to_string(::getpid()) + "-" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::vector<std::string> Contents() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::string Read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path folder;
};

}  // namespace

TEST_F(AtomicFile, TheNewFileReplacesTheOldOneAndNothingElseIsLeft)
{
    const fs::path target = folder / "settings.xml";
    std::ofstream(target) << "old";
    EXPECT_FALSE(ZRSTD::WriteFileAtomically(target, "new contents"));
    EXPECT_EQ(Read(target), "new contents");
    const std::string big(300 * 1024, 'x');
    EXPECT_FALSE(ZRSTD::WriteFileAtomically(target, [&](const ZRSTD::FileSink& sink) {
        return sink(std::string_view(big).substr(0, 1000)) && sink(std::string_view(big).substr(1000));
    }));
    EXPECT_EQ(Read(target), big);
    EXPECT_EQ(Contents(), std::vector<std::string>{"settings.xml"});
}

TEST_F(AtomicFile, AFailureKeepsTheOldFileRemovesTheTemporaryOneAndSaysWhatFailed)
{
    const std::string partial(100 * 1024, 'p');
    const struct {
        const char* what;
        fs::path target;
        std::function<bool(const ZRSTD::FileSink&)> produce;
        const char* step;
        int error;
    } cases[] = {
        {"a folder that does not exist", folder / "missing" / "settings.xml",
         [](const ZRSTD::FileSink& sink) { return sink("x"); }, "cannot create a temporary file beside", ENOENT},
        {"a name taken by a folder", folder / "taken", [](const ZRSTD::FileSink& sink) { return sink("x"); },
         "cannot replace", EISDIR},
        {"a producer that gives up halfway", folder / "kept.txt",
         [&](const ZRSTD::FileSink& sink) { return sink(partial) && false; }, "cannot write", 0},
        {"a disk that refuses more bytes", folder / "kept.txt",
         [&](const ZRSTD::FileSink& sink) { return sink(partial) && sink(partial); }, "cannot write", EFBIG},
    };
    fs::create_directory(folder / "taken");
    std::ofstream(folder / "kept.txt") << "the old file";
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    for (const auto& c : cases) {
        struct rlimit small = saved;
        small.rlim_cur = 150 * 1024;
        if (c.error == EFBIG) {
            ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        }
        const auto failure = ZRSTD::WriteFileAtomically(c.target, c.produce);
        setrlimit(RLIMIT_FSIZE, &saved);
        ASSERT_TRUE(failure) << c.what;
        EXPECT_EQ(failure->step, c.step) << c.what;
        EXPECT_EQ(failure->error, c.error) << c.what;
        EXPECT_NE(failure->Describe(c.target).find(c.target.string()), std::string::npos) << c.what;
        EXPECT_EQ(Read(folder / "kept.txt"), "the old file") << c.what;
        EXPECT_EQ(Contents(), (std::vector<std::string>{"kept.txt", "taken"})) << c.what;
    }
    std::signal(SIGXFSZ, previousHandler);

    // a producer that throws: the exception goes on, the temporary file does not stay
    EXPECT_THROW(ZRSTD::WriteFileAtomically(folder / "kept.txt",
                                            [](const ZRSTD::FileSink& sink) -> bool {
                                                sink("half");
                                                throw std::runtime_error("the source broke");
                                            }),
                 std::runtime_error);
    EXPECT_EQ(Contents(), (std::vector<std::string>{"kept.txt", "taken"}));
}
