#pragma once

#include <string>
#include <string_view>

#include "zrstd/Format.h"
#include "zrstd/Strings.h"

// The framework's wide string: a thin value type over std::wstring with the
// operations pages use on control texts.
class CString {
public:
    CString() = default;
    CString(const wchar_t* text) : m_text(text ? text : L"") {}
    CString(std::wstring text) : m_text(std::move(text)) {}
    CString(std::wstring_view text) : m_text(text) {}

    template <class... A>
    void Format(std::wstring_view format, const A&... args)
    {
        m_text = ZRSTD::FormatW(format, args...);
    }

    const std::wstring& str() const { return m_text; }
    std::wstring& str() { return m_text; }
    const wchar_t* GetString() const { return m_text.c_str(); }
    operator const wchar_t*() const { return m_text.c_str(); }
    operator std::wstring_view() const { return m_text; }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }

    CString& Trim() { m_text = ZRSTD::Trim(m_text); return *this; }
    CString& TrimRight() { m_text = ZRSTD::TrimRight(m_text); return *this; }
    CString& TrimLeft() { m_text = ZRSTD::TrimLeft(m_text); return *this; }
    int Replace(std::wstring_view from, std::wstring_view to);
    int Remove(wchar_t c);
    int Find(std::wstring_view what, int start = 0) const;
    CString Left(int count) const { return CString(m_text.substr(0, Clamp(count))); }
    CString Mid(int first) const { return CString(m_text.substr(Clamp(first))); }
    CString Mid(int first, int count) const { return CString(m_text.substr(Clamp(first), Clamp(count))); }
    int Compare(std::wstring_view other) const { return std::wstring_view(m_text).compare(other); }
    int CompareNoCase(std::wstring_view other) const { return ZRSTD::CompareNoCase(m_text, other); }

    CString& operator+=(std::wstring_view more) { m_text += more; return *this; }
    CString& operator+=(wchar_t c) { m_text += c; return *this; }
    friend CString operator+(const CString& a, std::wstring_view b) { return CString(a.m_text + std::wstring(b)); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.m_text == (b ? b : L""); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }

private:
    std::size_t Clamp(int n) const { return n < 0 ? 0 : static_cast<std::size_t>(n); }
    std::wstring m_text;
};

inline int CString::Replace(std::wstring_view from, std::wstring_view to)
{
    if (from.empty()) return 0;
    int count = 0;
    for (std::size_t pos = m_text.find(from); pos != std::wstring::npos; pos = m_text.find(from, pos + to.size())) {
        m_text.replace(pos, from.size(), to);
        ++count;
    }
    return count;
}

inline int CString::Remove(wchar_t c)
{
    const auto before = m_text.size();
    std::erase(m_text, c);
    return static_cast<int>(before - m_text.size());
}

inline int CString::Find(std::wstring_view what, int start) const
{
    const auto pos = m_text.find(what, Clamp(start));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}
