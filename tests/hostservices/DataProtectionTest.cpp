#include "host/services/DataProtection.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <functional>

#include "support/Errors.h"
#include "support/TempFolder.h"
#include "zrstd/Strings.h"

using host::DataProtection;

namespace {

class KeyFile : public ::testing::Test {
protected:
    std::string Path(const char* name) const { return (folder / name).string(); }
    static std::wstring RaisedMessage(const std::function<void()>& action)
    {
        const auto error = testsupport::Raised(action);
        EXPECT_TRUE(error.IsLocalized());
        return error.GetMessage();
    }

    testsupport::TempFolder folder;
};

std::vector<std::uint8_t> Bytes(const char* text) { return std::vector<std::uint8_t>(text, text + std::strlen(text)); }

}  // namespace

TEST_F(KeyFile, FirstUseCreatesAPrivateKeyThatLaterUsesShare)
{
    const auto key = Path("store.key");
    auto first = DataProtection::OpenKeyFile(key);
    struct stat info {};
    ASSERT_EQ(::stat(key.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(info.st_size, 32);

    const auto secret = Bytes("proxy password");
    const auto blob = first->Protect(secret.data(), secret.size());
    auto second = DataProtection::OpenKeyFile(key);
    EXPECT_EQ(second->Unprotect(blob.data(), blob.size()), secret);
}

TEST_F(KeyFile, ProtectedBlobsHideTheDataAndNeverRepeat)
{
    auto protection = DataProtection::OpenKeyFile(Path("store.key"));
    const auto secret = Bytes("p@ssw0rd");
    const auto a = protection->Protect(secret.data(), secret.size());
    const auto b = protection->Protect(secret.data(), secret.size());
    EXPECT_NE(a, b);  // a fresh nonce each time
    EXPECT_EQ(a.size(), 1 + 12 + secret.size() + 16);
    const std::string text(a.begin(), a.end());
    EXPECT_EQ(text.find("p@ssw0rd"), std::string::npos);

    ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> chunk;
    protection->ProtectData(secret.data(), secret.size(), &chunk);
    EXPECT_EQ(protection->Unprotect(chunk->GetData(), chunk->GetDataSize()), secret);
    const auto empty = protection->Protect(nullptr, 0);
    EXPECT_TRUE(protection->Unprotect(empty.data(), empty.size()).empty());
}

TEST_F(KeyFile, AlteredTruncatedOrForeignBlobsAreRefused)
{
    auto protection = DataProtection::OpenKeyFile(Path("a.key"));
    auto other = DataProtection::OpenKeyFile(Path("b.key"));
    const auto secret = Bytes("secret");
    const auto blob = protection->Protect(secret.data(), secret.size());
    for (std::size_t i = 0; i < blob.size(); ++i) {
        auto altered = blob;
        altered[i] ^= 0x01;
        EXPECT_FALSE(RaisedMessage([&] { protection->Unprotect(altered.data(), altered.size()); }).empty()) << i;
    }
    EXPECT_NE(RaisedMessage([&] { protection->Unprotect(blob.data(), 20); }).find(L"not in a known format"),
              std::wstring::npos);
    EXPECT_NE(RaisedMessage([&] { other->Unprotect(blob.data(), blob.size()); }).find(L"another key"),
              std::wstring::npos);
}

TEST_F(KeyFile, AKeyFileThatIsOpenToOthersOrMalformedIsRefusedByName)
{
    const auto open = Path("open.key");
    DataProtection::OpenKeyFile(open);
    ::chmod(open.c_str(), 0644);
    const auto openMessage = RaisedMessage([&] { DataProtection::OpenKeyFile(open); });
    EXPECT_NE(ZRSTD::ToUtf8(openMessage).find(open), std::string::npos);
    EXPECT_NE(openMessage.find(L"chmod 600"), std::wstring::npos);

    const auto shortKey = Path("short.key");
    std::ofstream(shortKey) << "too short";
    ::chmod(shortKey.c_str(), 0600);
    EXPECT_NE(RaisedMessage([&] { DataProtection::OpenKeyFile(shortKey); }).find(L"holds 9 bytes"), std::wstring::npos);

    const auto missingDirectory = Path("absent/store.key");
    EXPECT_NE(ZRSTD::ToUtf8(RaisedMessage([&] { DataProtection::OpenKeyFile(missingDirectory); })).find(missingDirectory),
              std::string::npos);
}

TEST_F(KeyFile, AnswersItsInterfaceQueryByName)
{
    auto protection = DataProtection::OpenKeyFile(Path("store.key"));
    void* typed = nullptr;
    EXPECT_TRUE(protection->QueryInterface("ZRPlugin::IDataProtection", &typed));
    EXPECT_EQ(typed, static_cast<ZRPlugin::IDataProtection*>(protection.Get()));
    static_cast<ZRPlugin::IDataProtection*>(typed)->Release();
    EXPECT_TRUE(protection->QueryInterface("ZRSTD::ZRBaseQI", &typed));
    static_cast<ZRPlugin::IDataProtection*>(typed)->Release();
    EXPECT_FALSE(protection->QueryInterface("ZRPlugin::IDataProtection ", &typed));
    EXPECT_EQ(typed, nullptr);
    EXPECT_THROW(protection->QueryInterface("ZRSTD::ZRBaseQI", nullptr), ZRERR::Error);
    EXPECT_EQ(protection->GetRefCount(), 1);
}
