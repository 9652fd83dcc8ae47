#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "zrstd/Error.h"
#include "zrstd/MemoryChunk.h"
#include "zrstd/Trace.h"
#include "zrstd/ZRBase.h"

namespace {

class Counted : public ZRSTD::ZRBaseImpl<ZRSTD::ZRObject> {
public:
    explicit Counted(int* destroyed) : m_destroyed(destroyed) {}
    ~Counted() override { ++*m_destroyed; }

private:
    int* m_destroyed;
};

void MakeInto(int* destroyed, Counted** out) { *out = new Counted(destroyed); }

}  // namespace

TEST(ReferenceCounting, CountStartsAtOneAndTheLastReleaseDestroys)
{
    int destroyed = 0;
    auto* object = new Counted(&destroyed);
    EXPECT_EQ(object->GetRefCount(), 1);
    EXPECT_EQ(object->AddRef(), 2);
    EXPECT_EQ(object->Release(), 1);
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(object->Release(), 0);
    EXPECT_EQ(destroyed, 1);
}

TEST(ReferenceCounting, AutoPtrSharesMovesAndReceivesOutParameters)
{
    int destroyed = 0;
    {
        auto first = ZRSTD::MakeRef<Counted>(&destroyed);
        EXPECT_EQ(first->GetRefCount(), 1);
        ZRSTD::CAutoPtr<Counted> second = first;
        EXPECT_EQ(first->GetRefCount(), 2);
        ZRSTD::CAutoPtr<Counted> third = std::move(second);
        EXPECT_FALSE(second);
        EXPECT_EQ(third->GetRefCount(), 2);

        // An out-parameter receives an object that already carries its reference;
        // taking the address releases what the pointer held before.
        ZRSTD::CAutoPtr<Counted> received = ZRSTD::MakeRef<Counted>(&destroyed);
        MakeInto(&destroyed, &received);
        EXPECT_EQ(destroyed, 1);
        EXPECT_EQ(received->GetRefCount(), 1);
    }
    EXPECT_EQ(destroyed, 3);
}

TEST(ReferenceCounting, ConcurrentAddRefAndReleaseKeepTheCountExact)
{
    int destroyed = 0;
    auto* object = new Counted(&destroyed);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([object] {
            for (int i = 0; i < 100000; ++i) {
                object->AddRef();
                object->Release();
            }
        });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(object->GetRefCount(), 1);
    object->Release();
    EXPECT_EQ(destroyed, 1);
}

TEST(Errors, CarryModuleCodeMessageAndSourceLocation)
{
    try {
        ZRERR_throwError("ZRSTD", 1187, L"section %s not loaded", L"86");
        FAIL() << "nothing was thrown";
    } catch (const ZRERR::Error& error) {
        EXPECT_EQ(error.GetModule(), "ZRSTD");
        EXPECT_EQ(error.GetCode(), 1187);
        EXPECT_EQ(error.GetMessage(), L"section 86 not loaded");
        EXPECT_EQ(error.GetFile(), "BaseTest.cpp");
        EXPECT_GT(error.GetLine(), 0);
        EXPECT_FALSE(ZRERR_IsErrorLocalized(error));
        EXPECT_EQ(ZRERR_LocFormatErrorString(error), L"");
        EXPECT_NE(std::string(error.what()).find("ZRSTD 0x4A3 (1187): section 86 not loaded"), std::string::npos);
    }
    try {
        ZRERR_throwLocalizedError("ZRHOST", 5, L"база данных занята");
    } catch (const ZRERR::Error& error) {
        EXPECT_TRUE(ZRERR_IsErrorLocalized(error));
        EXPECT_EQ(ZRERR_LocFormatErrorString(error), L"база данных занята");
    }
    int* nothing = nullptr;
    EXPECT_THROW(ZRSTD_CHECK_ARG(nothing), ZRERR::Error);
}

TEST(Tracing, LinesReachTheSinkUpToItsLevelAndFailuresNameTheOperation)
{
    std::vector<std::pair<int, std::wstring>> lines;
    ZRSTD::SetTraceSink([&](int level, std::string_view module, std::wstring_view text) {
        EXPECT_EQ(module, "ZRNGTPLG");
        lines.emplace_back(level, std::wstring(text));
    }, 3);
    ZRSTD::Trace(1, L"first %d", 1);
    ZRSTD::Trace(4, L"too detailed");
    try {
        ZRERR_throwError("ZRPAR", 0x412, L"wrong type");
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "NHPP::CParamsProviderPolicy::Apply", 3);
    }
    ZRSTD::SetTraceSink(nullptr, 0);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], (std::pair<int, std::wstring>{1, L"first 1"}));
    EXPECT_EQ(lines[1].first, 3);
    EXPECT_NE(lines[1].second.find(L"NHPP::CParamsProviderPolicy::Apply failed: ZRPAR 0x412"), std::wstring::npos);
}

TEST(Tracing, IsOffUnlessTheEnvironmentNamesALevel)
{
    unsetenv("ZRNGTPLG_TRACE");
    ZRSTD::ReloadTraceConfiguration();
    EXPECT_FALSE(ZRSTD::TraceEnabled(1));

    const std::string path = ::testing::TempDir() + "/trace.log";
    std::remove(path.c_str());
    setenv("ZRNGTPLG_TRACE", ("2:" + path).c_str(), 1);
    ZRSTD::ReloadTraceConfiguration();
    EXPECT_TRUE(ZRSTD::TraceEnabled(2));
    EXPECT_FALSE(ZRSTD::TraceEnabled(3));
    ZRSTD::Trace(2, L"written to the file");
    unsetenv("ZRNGTPLG_TRACE");
    ZRSTD::ReloadTraceConfiguration();

    std::FILE* file = std::fopen(path.c_str(), "r");
    ASSERT_NE(file, nullptr);
    char buffer[256] = {};
    ASSERT_NE(std::fgets(buffer, sizeof buffer, file), nullptr);
    std::fclose(file);
    EXPECT_NE(std::string(buffer).find("[ZRNGTPLG] L2 written to the file"), std::string::npos) << buffer;
}

TEST(MemoryChunks, AllocateZeroedBytesWithAReference)
{
    ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> chunk;
    ZRSTD_AllocMemoryChunk(4, &chunk);
    ASSERT_TRUE(chunk);
    EXPECT_EQ(chunk->GetDataSize(), 4u);
    EXPECT_EQ(chunk->GetRefCount(), 1);
    EXPECT_EQ(chunk->GetData()[3], 0);
    EXPECT_THROW(ZRSTD_AllocMemoryChunk(1, nullptr), ZRERR::Error);
}
