#pragma once

#include <string>
#include <string_view>

// Text into HTML: everything that comes from the store, the plug-in or the
// browser passes through Escape before it is written into a page.
namespace host::web {

// UTF-8 text as HTML text or attribute value: & < > " ' are written as
// references, control characters other than tab and line breaks are dropped.
std::string Escape(std::string_view text);
std::string Escape(const std::wstring& text);

// Whether text is UTF-8 without NUL and without control characters other
// than tab, line feed and carriage return (what a form may send).
bool IsCleanText(std::string_view text);

// Percent-encoding of a query value (for links that carry an object's name).
std::string UrlEncode(std::string_view text);

}  // namespace host::web
