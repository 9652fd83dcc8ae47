#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace host {

// The administration server's password policy for the agent's uninstall
// password: 8 to 16 characters, from at least three of the four groups
// upper-case letters, lower-case letters, digits and other characters, and
// never the combination ".@". Returns what is wrong, in the console's
// language, or nothing when the password is acceptable.
std::optional<std::wstring> PasswordPolicyViolation(std::wstring_view password);

}  // namespace host
