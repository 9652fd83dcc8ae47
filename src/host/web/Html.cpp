#include "host/web/Html.h"

#include "zrstd/Strings.h"

namespace host::web {

namespace {

// The length of the UTF-8 sequence that starts at text[at], 0 when it is not well formed.
std::size_t SequenceLength(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    std::uint32_t point = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2, point = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, point = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, point = lead & 0x07;
    else return 0;
    if (at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        point = (point << 6) | (byte(at + i) & 0x3F);
    }
    // overlong forms, surrogates and points past U+10FFFF
    if ((length == 3 && point < 0x800) || (length == 4 && (point < 0x10000 || point > 0x10FFFF)) ||
        (point >= 0xD800 && point <= 0xDFFF))
        return 0;
    return length;
}

}  // namespace

std::string Escape(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size() + 16);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = SequenceLength(text, i);
        if (length == 0) {
            escaped += "\xEF\xBF\xBD";  // a byte that is no UTF-8 shows as the replacement character
            ++i;
            continue;
        }
        const char c = text[i];
        if (length == 1) {
            switch (c) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            case '"': escaped += "&quot;"; break;
            case '\'': escaped += "&#39;"; break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r') {
                    if (c != 0x7F) escaped += c;
                }
            }
        } else {
            escaped.append(text.substr(i, length));
        }
        i += length;
    }
    return escaped;
}

std::string Escape(const std::wstring& text) { return Escape(ZRSTD::ToUtf8(text)); }

bool IsCleanText(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = SequenceLength(text, i);
        if (length == 0) return false;
        const auto c = static_cast<unsigned char>(text[i]);
        if (length == 1 && ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F)) return false;
        i += length;
    }
    return true;
}

std::string UrlEncode(std::string_view text)
{
    static const char* const kHex = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') || byte == '-' ||
            byte == '_' || byte == '.' || byte == '~') {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0xF];
        }
    }
    return encoded;
}

}  // namespace host::web
