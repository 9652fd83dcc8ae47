#include "controls/RangeEdit.h"

#include "ui/CommonControls.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "zrstd/Format.h"

namespace {

// The whole text as a decimal number of at most 32 bits; nothing else is a number.
std::optional<std::uint32_t> ParseUnsigned(const std::wstring& text)
{
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - L'0');
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace

void CRangeEdit::PreSubclassWindow()
{
    // a number in range in the template becomes the value; anything else shows the value
    const std::optional<std::uint32_t> shown = ParseUnsigned(GetWindowText());
    if (shown && InRange(*shown)) m_value = *shown;
    else SetTextUnchecked(ZRSTD::FormatW(L"%u", m_value));
}

void CRangeEdit::SetValue(std::uint32_t value)
{
    m_value = value;
    m_loadedText.reset();
    m_divisor = 1;
    if (m_hWnd) SetTextUnchecked(ZRSTD::FormatW(L"%u", value));
}

void CRangeEdit::LoadStored(std::int64_t stored, std::int64_t divisor)
{
    if (divisor <= 0) divisor = 1;
    const std::int64_t shown = stored / divisor;
    if (shown >= 0 && shown <= 0xFFFFFFFFll) m_value = static_cast<std::uint32_t>(shown);
    m_stored = stored;
    m_divisor = divisor;
    m_loadedText = ZRSTD::FormatW(L"%lld", static_cast<long long>(shown));
    if (m_hWnd) SetTextUnchecked(*m_loadedText);
}

std::optional<std::int64_t> CRangeEdit::TextNumber() const
{
    const std::wstring text = GetWindowText();
    const bool negative = !text.empty() && text[0] == L'-';
    const std::optional<std::uint32_t> magnitude = ParseUnsigned(negative ? text.substr(1) : text);
    if (!magnitude) return std::nullopt;
    return negative ? -static_cast<std::int64_t>(*magnitude) : static_cast<std::int64_t>(*magnitude);
}

std::optional<std::int64_t> CRangeEdit::StoredOrTyped() const
{
    if (IsUntouched()) return m_stored;
    const std::optional<std::int64_t> typed = TextNumber();
    if (!typed) return std::nullopt;
    return *typed * m_divisor;
}

bool CRangeEdit::IsUntouched() const { return m_loadedText && GetWindowText() == *m_loadedText; }

bool CRangeEdit::Accepts(std::int64_t low, std::int64_t high) const
{
    const std::optional<std::int64_t> number = TextNumber();
    if (!number) return false;
    if (IsUntouched() && !::IsWindowEnabled(m_hWnd)) return true;
    return *number >= low && *number <= high;
}

void CRangeEdit::SetTextUnchecked(const std::wstring& text)
{
    const bool outer = std::exchange(m_settingText, true);
    SetWindowText(text);
    m_settingText = outer;
}

LRESULT CRangeEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool edits = message == WM_CHAR || message == WM_PASTE || message == WM_CLEAR || message == EM_REPLACESEL ||
                       (message == WM_KEYDOWN && wParam == VK_DELETE);
    if (!edits || m_userEditing) return Default(message, wParam, lParam);
    GetSel(m_startBefore, m_endBefore);
    m_userEditing = true;
    const LRESULT result = Default(message, wParam, lParam);
    m_userEditing = false;
    return result;
}

bool CRangeEdit::OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT*)
{
    if (message == WM_COMMAND && HIWORD(wParam) == EN_UPDATE && !m_settingText) OnUpdate();
    return false;  // the page sees the notification too
}

void CRangeEdit::OnUpdate()
{
    const std::wstring text = GetWindowText();
    if (text.empty()) {
        if (m_allowEmpty) return;
        // an edit that may not be empty shows its last value again, selected
        SetTextUnchecked(ZRSTD::FormatW(L"%u", m_value));
        SetSel(0, -1);
        SendMessage(EM_SCROLLCARET);
        return;
    }
    const std::optional<std::uint32_t> number = ParseUnsigned(text);
    if (number && InRange(*number)) {
        m_value = *number;
        return;
    }
    // undo the keystroke: the last value again, the caret where the rejected character went
    int start = 0, end = 0;
    GetSel(start, end);
    if (m_userEditing) {
        start = m_startBefore;
        end = m_endBefore;
    } else {
        start = std::max(start - 1, 0);
        end = std::max(end - 1, 0);
    }
    SetTextUnchecked(InRange(m_value) ? ZRSTD::FormatW(L"%u", m_value) : std::wstring());
    SetSel(start, end);
    SendMessage(EM_SCROLLCARET);
}

void CRangeEdit::SetSpin(HWND upDown) const
{
    ::SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(m_hWnd), 0);
    ::SendMessageW(upDown, UDM_SETRANGE32, static_cast<WPARAM>(m_minimum), static_cast<LPARAM>(m_maximum));
}
