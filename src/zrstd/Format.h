#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "zrstd/Api.h"

namespace ZRSTD {

// One argument of a printf-style format, captured with its type so that a
// mismatch between format and argument can never read the wrong memory.
class ZR_API FormatArg {
public:
    enum class Kind { Signed, Unsigned, Double, Wide, Narrow, Pointer };

    template <class T, std::enable_if_t<std::is_integral_v<T> && std::is_signed_v<T>, int> = 0>
    FormatArg(T v) : m_kind(Kind::Signed), m_signed(v) {}
    template <class T, std::enable_if_t<std::is_integral_v<T> && std::is_unsigned_v<T>, int> = 0>
    FormatArg(T v) : m_kind(Kind::Unsigned), m_unsigned(v) {}
    template <class T, std::enable_if_t<std::is_enum_v<T>, int> = 0>
    FormatArg(T v) : FormatArg(static_cast<std::underlying_type_t<T>>(v)) {}
    FormatArg(double v) : m_kind(Kind::Double), m_double(v) {}
    FormatArg(const wchar_t* v) : m_kind(Kind::Wide), m_wide(v ? v : L"(null)") {}
    FormatArg(std::wstring_view v) : m_kind(Kind::Wide), m_wide(v) {}
    FormatArg(const std::wstring& v) : m_kind(Kind::Wide), m_wide(v) {}
    FormatArg(const char* v) : m_kind(Kind::Narrow), m_narrow(v ? v : "(null)") {}
    FormatArg(std::string_view v) : m_kind(Kind::Narrow), m_narrow(v) {}
    FormatArg(const std::string& v) : m_kind(Kind::Narrow), m_narrow(v) {}
    FormatArg(const void* v) : m_kind(Kind::Pointer), m_pointer(v) {}

    Kind GetKind() const { return m_kind; }
    std::int64_t AsSigned() const;
    std::uint64_t AsUnsigned() const;
    double AsDouble() const;
    std::wstring AsWide() const;
    const void* AsPointer() const { return m_kind == Kind::Pointer ? m_pointer : nullptr; }

private:
    Kind m_kind;
    union {
        std::int64_t m_signed;
        std::uint64_t m_unsigned;
        double m_double;
        const void* m_pointer;
    };
    std::wstring_view m_wide;
    std::string_view m_narrow;
};

// printf-style formatting with the conventions of the platform's wide
// formatter: %s and %ls take wide text, %hs narrow text; %d/%i/%u/%x/%X/%o/%c
// are 32-bit (also with l, as long is on the platform) unless qualified
// with ll, I64, j or z; %f/%e/%g;
// %p; %%; flags, width and precision as in C. A missing argument is written
// as nothing and an unknown conversion is copied as it stands.
ZR_API std::wstring FormatArgs(std::wstring_view format, const std::vector<FormatArg>& args);

template <class... A>
std::wstring FormatW(std::wstring_view format, const A&... args)
{
    return FormatArgs(format, std::vector<FormatArg>{FormatArg(args)...});
}

// Message-style insertion: %1 to %99 take the numbered argument (an optional
// !fmt! after the number is skipped), %% is a percent sign; any other text,
// including an insertion without an argument, stays as it is.
ZR_API std::wstring FormatInsert(std::wstring_view format, std::initializer_list<std::wstring_view> args);
ZR_API std::wstring FormatInsert(std::wstring_view format, const std::vector<std::wstring>& args);

}  // namespace ZRSTD
