#include "host/services/PasswordPolicy.h"

#include <cwctype>

namespace host {

std::optional<std::wstring> PasswordPolicyViolation(std::wstring_view password)
{
    if (password.size() < 8 || password.size() > 16)
        return L"Длина пароля должна быть от 8 до 16 символов.";
    bool upper = false, lower = false, digit = false, other = false;
    for (wchar_t c : password) {
        const auto ch = static_cast<wint_t>(c);
        if (std::iswdigit(ch)) digit = true;
        else if (std::iswupper(ch)) upper = true;
        else if (std::iswlower(ch)) lower = true;
        else other = true;
    }
    if (upper + lower + digit + other < 3)
        return L"Пароль должен содержать символы по крайней мере трех из четырех групп: прописные буквы, строчные "
               L"буквы, цифры и специальные символы.";
    if (password.find(L".@") != std::wstring_view::npos) return L"Пароль не должен содержать сочетание \".@\".";
    return std::nullopt;
}

}  // namespace host
