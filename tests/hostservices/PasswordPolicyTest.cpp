#include "host/services/PasswordPolicy.h"

#include <gtest/gtest.h>

#include <clocale>

#include "zrstd/Strings.h"

TEST(PasswordPolicy, AcceptsOnlyPasswordsThatFollowTheServersRules)
{
    std::setlocale(LC_CTYPE, "C.UTF-8");
    const struct {
        const wchar_t* password;
        const wchar_t* refusal;  // part of the reason, or null when accepted
    } cases[] = {
        {L"Abcdef12", nullptr},           // upper, lower, digits
        {L"abcdef1!", nullptr},           // lower, digits, other
        {L"Пароль12", nullptr},           // Cyrillic letters count as letters
        {L"Abcdefgh1234567!", nullptr},   // 16 characters
        {L"ABCDEFGHIJKLMNO1", L"трех из четырех"},
        {L"Abc1!", L"от 8 до 16"},
        {L"Abcdefgh12345678x", L"от 8 до 16"},
        {L"abcdefgh", L"трех из четырех"},
        {L"abcd1234", L"трех из четырех"},
        {L"Abc.@1234", L"\".@\""},
    };
    for (const auto& c : cases) {
        const auto violation = host::PasswordPolicyViolation(c.password);
        if (!c.refusal) {
            EXPECT_FALSE(violation.has_value()) << ZRSTD::ToUtf8(c.password) << ": " << ZRSTD::ToUtf8(*violation);
        } else {
            ASSERT_TRUE(violation.has_value()) << ZRSTD::ToUtf8(c.password);
            EXPECT_NE(violation->find(c.refusal), std::wstring::npos) << ZRSTD::ToUtf8(*violation);
        }
    }
}
