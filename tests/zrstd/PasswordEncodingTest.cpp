#include "zrstd/PasswordEncoding.h"

#include <gtest/gtest.h>

using PWD_UTILS::GetDecodedPasswordString;
using PWD_UTILS::GetEncodedPasswordString;

TEST(PasswordEncoding, TheEncodedFormHidesThePasswordAndChangesEachTime)
{
    const std::wstring encoded = GetEncodedPasswordString(L"Secret#1");
    EXPECT_EQ(encoded.rfind(L"E1:", 0), 0u);
    EXPECT_EQ(encoded.find(L"Secret"), std::wstring::npos);
    EXPECT_NE(GetEncodedPasswordString(L"Secret#1"), encoded);
}

TEST(PasswordEncoding, EveryPasswordComesBackAndForeignOrAlteredTextIsRefused)
{
    for (const std::wstring password : {L"", L"a", L"Secret#1", L"пароль", L"emoji \U0001F511 key", L"tab\tand space "})
        EXPECT_EQ(GetDecodedPasswordString(GetEncodedPasswordString(password)), password);

    std::wstring altered = GetEncodedPasswordString(L"Secret#1");
    altered[5] = altered[5] == L'A' ? L'B' : L'A';
    const std::wstring encoded = GetEncodedPasswordString(L"ab");
    const struct {
        std::wstring text;
        const char* why;
    } foreign[] = {{encoded.substr(3), "no prefix"},
                   {L"E2:" + encoded.substr(3), "another version"},
                   {L"E1:xMq*FA==", "not base64"},
                   {encoded.substr(0, encoded.size() - 4), "truncated"},
                   {altered, "altered"},
                   {L"E1:", "nothing sealed"},
                   {L"E1:пароль", "not ASCII"}};
    for (const auto& text : foreign) EXPECT_FALSE(GetDecodedPasswordString(text.text)) << text.why;
}
