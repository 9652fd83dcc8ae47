#include "zrstd/Strings.h"

#include <locale.h>
#include <wctype.h>

#include <cwctype>

namespace ZRSTD {

namespace {

// Case is folded with the Unicode tables whatever locale the process runs in:
// the "C" locale a host starts in folds ASCII only, and "ОФИС" would not
// equal "офис". Without a UTF-8 locale the process's own is used.
locale_t UnicodeCase()
{
    static const locale_t unicode = [] {
        locale_t loaded = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
        if (!loaded) loaded = newlocale(LC_CTYPE_MASK, "C.utf8", static_cast<locale_t>(0));
        return loaded;
    }();
    return unicode;
}

wint_t FoldLower(wchar_t c)
{
    const locale_t unicode = UnicodeCase();
    return unicode ? towlower_l(static_cast<wint_t>(c), unicode) : std::towlower(static_cast<wint_t>(c));
}

wint_t FoldUpper(wchar_t c)
{
    const locale_t unicode = UnicodeCase();
    return unicode ? towupper_l(static_cast<wint_t>(c), unicode) : std::towupper(static_cast<wint_t>(c));
}

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool IsWhite(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f'; }

}  // namespace

std::wstring FromUtf8(std::string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char lead = p[i];
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        }
        std::size_t extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if ((lead & 0xE0) == 0xC0) {
            extra = 1, cp = lead & 0x1F, min = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, cp = lead & 0x0F, min = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, cp = lead & 0x07, min = 0x10000;
        }
        bool ok = extra > 0 && extra < n - i;
        for (std::size_t k = 1; ok && k <= extra; ++k) {
            if (!IsContinuation(p[i + k])) ok = false;
            else cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            // One replacement for the lead byte and the continuation bytes after it.
            out.push_back(kReplacement);
            ++i;
            while (i < n && IsContinuation(p[i])) ++i;
            continue;
        }
        out.push_back(static_cast<wchar_t>(cp));
        i += extra + 1;
    }
    return out;
}

std::string ToUtf8(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        char32_t cp = static_cast<char32_t>(wc);
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
        AppendUtf8(out, cp);
    }
    return out;
}

void AppendUtf16Le(std::vector<std::uint8_t>& out, std::wstring_view text)
{
    auto unit = [&out](std::uint32_t u) {
        out.push_back(static_cast<std::uint8_t>(u & 0xFF));
        out.push_back(static_cast<std::uint8_t>((u >> 8) & 0xFF));
    };
    for (wchar_t wc : text) {
        std::uint32_t cp = static_cast<std::uint32_t>(wc);
        if (cp > 0x10FFFF) cp = kReplacement;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            unit(0xD800 | (cp >> 10));
            unit(0xDC00 | (cp & 0x3FF));
        } else {
            unit(cp);
        }
    }
}

std::vector<std::uint8_t> ToUtf16LeBytes(std::wstring_view text)
{
    std::vector<std::uint8_t> out;
    out.reserve(text.size() * 2);
    AppendUtf16Le(out, text);
    return out;
}

std::size_t Utf16Length(std::wstring_view text)
{
    std::size_t units = 0;
    for (wchar_t wc : text) {
        const auto cp = static_cast<std::uint32_t>(wc);
        units += (cp >= 0x10000 && cp <= 0x10FFFF) ? 2 : 1;
    }
    return units;
}

std::wstring FromUtf16Le(const std::uint8_t* data, std::size_t units)
{
    std::wstring out(units, L'\0');
    std::size_t length = 0;
    for (std::size_t i = 0; i < units; ++i) {
        const std::uint32_t u = data[2 * i] | (static_cast<std::uint32_t>(data[2 * i + 1]) << 8);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const std::uint32_t low = data[2 * i + 2] | (static_cast<std::uint32_t>(data[2 * i + 3]) << 8);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                out[length++] = static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        out[length++] = static_cast<wchar_t>(u);
    }
    out.resize(length);
    return out;
}

std::wstring ToUpper(std::wstring_view text)
{
    std::wstring out(text);
    for (auto& c : out) c = static_cast<wchar_t>(FoldUpper(c));
    return out;
}

std::wstring ToLower(std::wstring_view text)
{
    std::wstring out(text);
    for (auto& c : out) c = static_cast<wchar_t>(FoldLower(c));
    return out;
}

int CompareNoCase(std::wstring_view a, std::wstring_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = FoldLower(a[i]);
        const auto cb = FoldLower(b[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::wstring TrimRight(std::wstring_view text)
{
    std::size_t end = text.size();
    while (end > 0 && IsWhite(text[end - 1])) --end;
    return std::wstring(text.substr(0, end));
}

std::wstring TrimLeft(std::wstring_view text)
{
    std::size_t begin = 0;
    while (begin < text.size() && IsWhite(text[begin])) ++begin;
    return std::wstring(text.substr(begin));
}

std::wstring Trim(std::wstring_view text) { return TrimLeft(TrimRight(text)); }

std::wstring ReplaceAll(std::wstring_view text, std::wstring_view from, std::wstring_view to)
{
    if (from.empty()) return std::wstring(text);
    std::wstring out;
    std::size_t pos = 0;
    while (true) {
        const std::size_t hit = text.find(from, pos);
        if (hit == std::wstring_view::npos) break;
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    out.append(text.substr(pos));
    return out;
}

std::string HexUpper(const std::uint8_t* data, std::size_t size)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        out.push_back(kDigits[data[i] >> 4]);
        out.push_back(kDigits[data[i] & 0x0F]);
    }
    return out;
}

}  // namespace ZRSTD
