#include "zrstd/PasswordEncoding.h"

#include <gtest/gtest.h>

using PWD_UTILS::GetDecodedPasswordString;
using PWD_UTILS::GetEncodedPasswordString;

TEST(PasswordEncoding, TheEncodedFormIsMaskedUtf16InBase64)
{
    EXPECT_EQ(GetEncodedPasswordString(L"ab"), L"E1:xMqNFA==");  // 61 00 62 00 masked
    EXPECT_EQ(GetEncodedPasswordString(L""), L"E1:");
    const std::wstring encoded = GetEncodedPasswordString(L"Secret#1");
    EXPECT_EQ(encoded.find(L"Secret"), std::wstring::npos);
}

TEST(PasswordEncoding, EveryPasswordComesBackAndForeignTextIsRefused)
{
    for (const std::wstring password : {L"", L"a", L"Secret#1", L"пароль", L"emoji \U0001F511 key", L"tab\tand space "})
        EXPECT_EQ(GetDecodedPasswordString(GetEncodedPasswordString(password)), password);

    const struct {
        const wchar_t* text;
        const char* why;
    } foreign[] = {{L"xMqNFA==", "no prefix"},
                   {L"E2:xMqNFA==", "another version"},
                   {L"E1:xMq*FA==", "not base64"},
                   {L"E1:xMqN", "an odd number of bytes"},
                   {L"E1:пароль", "not ASCII"}};
    for (const auto& text : foreign) EXPECT_FALSE(GetDecodedPasswordString(text.text)) << text.why;
}
