#include "zrstd/Format.h"

#include <cstdio>
#include <cwchar>

#include "zrstd/Strings.h"

namespace ZRSTD {

std::int64_t FormatArg::AsSigned() const
{
    switch (m_kind) {
    case Kind::Signed: return m_signed;
    case Kind::Unsigned: return static_cast<std::int64_t>(m_unsigned);
    case Kind::Double: return static_cast<std::int64_t>(m_double);
    case Kind::Pointer: return static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(m_pointer));
    default: return 0;
    }
}

std::uint64_t FormatArg::AsUnsigned() const
{
    switch (m_kind) {
    case Kind::Signed: return static_cast<std::uint64_t>(m_signed);
    case Kind::Unsigned: return m_unsigned;
    case Kind::Double: return static_cast<std::uint64_t>(m_double);
    case Kind::Pointer: return reinterpret_cast<std::uintptr_t>(m_pointer);
    default: return 0;
    }
}

double FormatArg::AsDouble() const
{
    switch (m_kind) {
    case Kind::Signed: return static_cast<double>(m_signed);
    case Kind::Unsigned: return static_cast<double>(m_unsigned);
    case Kind::Double: return m_double;
    default: return 0.0;
    }
}

std::wstring FormatArg::AsWide() const
{
    switch (m_kind) {
    case Kind::Wide: return std::wstring(m_wide);
    case Kind::Narrow: return FromUtf8(m_narrow);
    case Kind::Signed: return std::to_wstring(m_signed);
    case Kind::Unsigned: return std::to_wstring(m_unsigned);
    case Kind::Double: return std::to_wstring(m_double);
    case Kind::Pointer: return FormatW(L"%p", m_pointer);
    }
    return {};
}

namespace {

struct Directive {
    bool left = false, plus = false, space = false, zero = false, alt = false;
    int width = -1;
    int precision = -1;
    enum class Size { Default, Short, Char, Wide64 } size = Size::Default;
};

void Pad(std::wstring& out, std::wstring body, const Directive& directive, bool numeric)
{
    if (directive.width < 0 || static_cast<int>(body.size()) >= directive.width) {
        out += body;
        return;
    }
    const std::size_t fill = static_cast<std::size_t>(directive.width) - body.size();
    if (directive.left) {
        out += body;
        out.append(fill, L' ');
    } else if (directive.zero && numeric && directive.precision < 0) {
        // zeros go after the sign or the 0x prefix
        std::size_t prefix = 0;
        if (!body.empty() && (body[0] == L'-' || body[0] == L'+' || body[0] == L' ')) prefix = 1;
        if (body.size() >= prefix + 2 && body[prefix] == L'0' && (body[prefix + 1] == L'x' || body[prefix + 1] == L'X'))
            prefix += 2;
        out += body.substr(0, prefix);
        out.append(fill, L'0');
        out += body.substr(prefix);
    } else {
        out.append(fill, L' ');
        out += body;
    }
}

std::wstring Digits(std::uint64_t value, unsigned base, bool upper, int precision)
{
    const wchar_t* digits = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    std::wstring text;
    if (value == 0 && precision == 0) return text;
    do {
        text.insert(text.begin(), digits[value % base]);
        value /= base;
    } while (value);
    while (precision > 0 && static_cast<int>(text.size()) < precision) text.insert(text.begin(), L'0');
    return text;
}

std::wstring FormatDouble(double value, wchar_t conv, const Directive& directive)
{
    std::string fmt = "%";
    if (directive.plus) fmt += '+';
    if (directive.space) fmt += ' ';
    if (directive.alt) fmt += '#';
    if (directive.precision >= 0) {
        fmt += '.';  // appended apart: "." + std::to_string trips g++ 12's -Wrestrict
        fmt += std::to_string(directive.precision);
    }
    fmt += static_cast<char>(conv);
    char buffer[512];
    const int n = std::snprintf(buffer, sizeof buffer, fmt.c_str(), value);
    if (n < 0) return {};
    std::string text(buffer, static_cast<std::size_t>(std::min<int>(n, sizeof buffer - 1)));
    return FromUtf8(text);
}

}  // namespace

std::wstring FormatArgs(std::wstring_view format, const std::vector<FormatArg>& args)
{
    std::wstring out;
    out.reserve(format.size() + 16);
    std::size_t next = 0;
    const std::size_t n = format.size();
    std::size_t i = 0;
    while (i < n) {
        const wchar_t c = format[i];
        if (c != L'%') {
            out.push_back(c);
            ++i;
            continue;
        }
        const std::size_t start = i++;
        if (i < n && format[i] == L'%') {
            out.push_back(L'%');
            ++i;
            continue;
        }
        Directive directive;
        for (; i < n; ++i) {
            const wchar_t f = format[i];
            if (f == L'-') directive.left = true;
            else if (f == L'+') directive.plus = true;
            else if (f == L' ') directive.space = true;
            else if (f == L'0') directive.zero = true;
            else if (f == L'#') directive.alt = true;
            else break;
        }
        auto readNumber = [&](int& target) {
            if (i < n && format[i] == L'*') {
                target = next < args.size() ? static_cast<int>(args[next++].AsSigned()) : 0;
                ++i;
                return;
            }
            int value = -1;
            while (i < n && format[i] >= L'0' && format[i] <= L'9') {
                value = (value < 0 ? 0 : value) * 10 + (format[i] - L'0');
                if (value > 4096) value = 4096;  // no unbounded padding from a format
                ++i;
            }
            target = value;
        };
        readNumber(directive.width);
        if (directive.width < -1) {
            directive.left = true;
            directive.width = -directive.width;
        }
        if (i < n && format[i] == L'.') {
            ++i;
            readNumber(directive.precision);
            if (directive.precision < 0) directive.precision = 0;
        }
        // length modifiers
        while (i < n) {
            const wchar_t m = format[i];
            if (m == L'h') {
                directive.size = directive.size == Directive::Size::Short ? Directive::Size::Char : Directive::Size::Short;
                ++i;
            } else if (m == L'l') {
                if (i + 1 < n && format[i + 1] == L'l') {
                    directive.size = Directive::Size::Wide64;
                    i += 2;
                } else {
                    ++i;  // long is 32-bit on the platform
                }
            } else if (m == L'L' || m == L'q' || m == L'j' || m == L'z' || m == L't') {
                directive.size = Directive::Size::Wide64;
                ++i;
            } else if (m == L'w') {
                ++i;  // the argument's own type says whether text is wide
            } else if (m == L'I') {
                if (format.substr(i, 3) == L"I64") {
                    directive.size = Directive::Size::Wide64;
                    i += 3;
                } else if (format.substr(i, 3) == L"I32") {
                    i += 3;
                } else {
                    directive.size = Directive::Size::Wide64;
                    ++i;
                }
            } else {
                break;
            }
        }
        if (i >= n) {
            out.append(format.substr(start));
            break;
        }
        const wchar_t conv = format[i++];
        const FormatArg* arg = nullptr;
        auto take = [&]() -> const FormatArg* { return next < args.size() ? &args[next++] : nullptr; };
        switch (conv) {
        case L'd':
        case L'i': {
            arg = take();
            if (!arg) break;
            std::int64_t v = arg->AsSigned();
            if (directive.size == Directive::Size::Default) v = static_cast<std::int32_t>(v);
            else if (directive.size == Directive::Size::Short) v = static_cast<std::int16_t>(v);
            else if (directive.size == Directive::Size::Char) v = static_cast<std::int8_t>(v);
            const bool negative = v < 0;
            const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
            std::wstring body = Digits(magnitude, 10, false, directive.precision);
            if (negative) body.insert(body.begin(), L'-');
            else if (directive.plus) body.insert(body.begin(), L'+');
            else if (directive.space) body.insert(body.begin(), L' ');
            Pad(out, body, directive, true);
            break;
        }
        case L'u':
        case L'x':
        case L'X':
        case L'o': {
            arg = take();
            if (!arg) break;
            std::uint64_t v = arg->AsUnsigned();
            if (directive.size == Directive::Size::Default) v = static_cast<std::uint32_t>(v);
            else if (directive.size == Directive::Size::Short) v = static_cast<std::uint16_t>(v);
            else if (directive.size == Directive::Size::Char) v = static_cast<std::uint8_t>(v);
            const unsigned base = conv == L'u' ? 10 : conv == L'o' ? 8 : 16;
            std::wstring body = Digits(v, base, conv == L'X', directive.precision);
            if (directive.alt && v != 0 && base == 16) body.insert(0, conv == L'X' ? L"0X" : L"0x");
            if (directive.alt && base == 8 && (body.empty() || body[0] != L'0')) body.insert(body.begin(), L'0');
            Pad(out, body, directive, true);
            break;
        }
        case L'c':
        case L'C': {
            arg = take();
            if (!arg) break;
            Pad(out, std::wstring(1, static_cast<wchar_t>(arg->AsUnsigned())), directive, false);
            break;
        }
        case L's':
        case L'S': {
            arg = take();
            if (!arg) break;
            std::wstring text = arg->AsWide();
            if (directive.precision >= 0 && static_cast<int>(text.size()) > directive.precision)
                text.resize(static_cast<std::size_t>(directive.precision));
            Pad(out, text, directive, false);
            break;
        }
        case L'f':
        case L'F':
        case L'e':
        case L'E':
        case L'g':
        case L'G':
        case L'a':
        case L'A': {
            arg = take();
            if (!arg) break;
            Pad(out, FormatDouble(arg->AsDouble(), conv, directive), directive, true);
            break;
        }
        case L'p': {
            arg = take();
            if (!arg) break;
            const auto v = static_cast<std::uint64_t>(arg->AsUnsigned());
            Pad(out, Digits(v, 16, true, 16), directive, false);
            break;
        }
        default:
            out.append(format.substr(start, i - start));
            break;
        }
    }
    return out;
}

namespace {

template <class Get>
std::wstring Insert(std::wstring_view format, std::size_t count, Get get)
{
    std::wstring out;
    out.reserve(format.size());
    const std::size_t n = format.size();
    std::size_t i = 0;
    while (i < n) {
        if (format[i] != L'%' || i + 1 >= n) {
            out.push_back(format[i++]);
            continue;
        }
        const wchar_t d = format[i + 1];
        if (d == L'%') {
            out.push_back(L'%');
            i += 2;
            continue;
        }
        if (d < L'1' || d > L'9') {
            out.push_back(format[i++]);
            continue;
        }
        std::size_t j = i + 1;
        std::size_t number = 0;
        while (j < n && format[j] >= L'0' && format[j] <= L'9' && number < 100) number = number * 10 + (format[j++] - L'0');
        std::size_t after = j;
        if (after < n && format[after] == L'!') {
            const std::size_t close = format.find(L'!', after + 1);
            if (close != std::wstring_view::npos) after = close + 1;
        }
        if (number >= 1 && number <= count) {
            out.append(get(number - 1));
            i = after;
        } else {
            out.append(format.substr(i, after - i));
            i = after;
        }
    }
    return out;
}

}  // namespace

std::wstring FormatInsert(std::wstring_view format, std::initializer_list<std::wstring_view> args)
{
    return Insert(format, args.size(), [&](std::size_t k) { return *(args.begin() + k); });
}

std::wstring FormatInsert(std::wstring_view format, const std::vector<std::wstring>& args)
{
    return Insert(format, args.size(), [&](std::size_t k) { return std::wstring_view(args[k]); });
}

}  // namespace ZRSTD
