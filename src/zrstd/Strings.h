#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "zrstd/Api.h"

// Text inside the program is std::wstring (one code point per wchar_t).
// UTF-8 is the form of files and terminals; UTF-16LE the form that fixed
// byte layouts (packed containers, digests) use.
namespace ZRSTD {

// Ill-formed input becomes U+FFFD; nothing is dropped silently.
ZR_API std::wstring FromUtf8(std::string_view text);
ZR_API std::string ToUtf8(std::wstring_view text);

// Code points above U+FFFF become surrogate pairs; a lone surrogate held in the
// wide string is written as the single unit it is, so that decoding and
// encoding UTF-16 gives back the same units.
ZR_API void AppendUtf16Le(std::vector<std::uint8_t>& out, std::wstring_view text);
ZR_API std::vector<std::uint8_t> ToUtf16LeBytes(std::wstring_view text);
ZR_API std::size_t Utf16Length(std::wstring_view text);
// Decodes `units` UTF-16LE code units starting at data (2 * units bytes).
ZR_API std::wstring FromUtf16Le(const std::uint8_t* data, std::size_t units);

ZR_API std::wstring ToUpper(std::wstring_view text);
ZR_API std::wstring ToLower(std::wstring_view text);
// Case-insensitive comparison (Unicode simple case folding of the C library).
ZR_API int CompareNoCase(std::wstring_view a, std::wstring_view b);

ZR_API std::wstring TrimRight(std::wstring_view text);
ZR_API std::wstring TrimLeft(std::wstring_view text);
ZR_API std::wstring Trim(std::wstring_view text);
ZR_API std::wstring ReplaceAll(std::wstring_view text, std::wstring_view from, std::wstring_view to);

ZR_API std::string HexUpper(const std::uint8_t* data, std::size_t size);

}  // namespace ZRSTD
