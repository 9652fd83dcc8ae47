#include "ui/RichEdit.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <memory>

#include "ui/UserActions.h"
#include "ui/Wnd.h"

namespace ui {

namespace {

constexpr std::array<std::wstring_view, 5> kUrlStarts = {L"http://", L"https://", L"ftp://", L"mailto:", L"www."};
constexpr std::wstring_view kUrlEnds = L" \t\r\n<>\"";
constexpr std::wstring_view kTrailingPunctuation = L".,;:!?)'";

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix)
{
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (static_cast<wchar_t>(std::towlower(static_cast<wint_t>(text[i]))) != prefix[i]) return false;
    return true;
}

// The character at a client point, in the fixed cells of the layout.
std::int32_t CharFromPoint(const std::wstring& text, POINT point)
{
    const std::int32_t line = std::max(0, point.y) / kRichEditLineHeight;
    const std::int32_t column = std::max(0, point.x) / kRichEditCharWidth;
    std::size_t start = 0;
    for (std::int32_t i = 0; i < line; ++i) {
        const std::size_t next = text.find(L'\n', start);
        if (next == std::wstring::npos) return static_cast<std::int32_t>(text.size());
        start = next + 1;
    }
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    if (end > start && text[end - 1] == L'\r') --end;
    return static_cast<std::int32_t>(std::min(start + static_cast<std::size_t>(column), end));
}

POINT PointFromChar(const std::wstring& text, std::size_t index)
{
    index = std::min(index, text.size());
    const std::size_t lineStart = text.rfind(L'\n', index == 0 ? std::wstring::npos : index - 1);
    const std::size_t start = lineStart == std::wstring::npos || index == 0 ? 0 : lineStart + 1;
    const auto line = static_cast<std::int32_t>(std::count(text.begin(), text.begin() + static_cast<long>(start), L'\n'));
    return {static_cast<std::int32_t>(index - start) * kRichEditCharWidth, line * kRichEditLineHeight};
}

}  // namespace

std::vector<CHARRANGE> FindUrls(std::wstring_view text)
{
    std::vector<CHARRANGE> urls;
    std::size_t i = 0;
    while (i < text.size()) {
        const bool wordStart = i == 0 || kUrlEnds.find(text[i - 1]) != std::wstring_view::npos;
        const bool starts = wordStart && std::any_of(kUrlStarts.begin(), kUrlStarts.end(), [&](std::wstring_view p) {
                                return StartsWithNoCase(text.substr(i), p);
                            });
        if (!starts) {
            ++i;
            continue;
        }
        std::size_t end = text.find_first_of(kUrlEnds, i);
        if (end == std::wstring_view::npos) end = text.size();
        while (end > i && kTrailingPunctuation.find(text[end - 1]) != std::wstring_view::npos) --end;
        urls.push_back({static_cast<std::int32_t>(i), static_cast<std::int32_t>(end)});
        i = std::max(end, i + 1);
    }
    return urls;
}

WindowProc RichEditProc(WindowProc edit)
{
    struct State {
        DWORD eventMask = 0;
        bool detectUrls = false;
    };
    auto state = std::make_shared<State>();
    return [state, edit](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        switch (message) {
        case EM_SETEVENTMASK: {
            const DWORD previous = state->eventMask;
            state->eventMask = static_cast<DWORD>(lParam);
            return previous;
        }
        case EM_GETEVENTMASK: return state->eventMask;
        case EM_AUTOURLDETECT: state->detectUrls = wParam != 0; return 0;
        case EM_CHARFROMPOS: {
            if (!lParam) return -1;
            return CharFromPoint(GetWindowTextW(window), *reinterpret_cast<const POINT*>(lParam));
        }
        case EM_POSFROMCHAR:
            if (wParam)
                *reinterpret_cast<POINT*>(wParam) = PointFromChar(GetWindowTextW(window), static_cast<std::size_t>(lParam));
            return 0;
        case EM_GETTEXTRANGE: {
            auto* range = reinterpret_cast<TEXTRANGEW*>(lParam);
            if (!range || !range->lpstrText) return 0;
            const std::wstring text = GetWindowTextW(window);
            const auto start = static_cast<std::size_t>(std::clamp<std::int32_t>(range->chrg.cpMin, 0, static_cast<std::int32_t>(text.size())));
            const auto end = range->chrg.cpMax < 0 ? text.size()
                                                   : std::clamp<std::size_t>(static_cast<std::size_t>(range->chrg.cpMax), start, text.size());
            std::copy(text.begin() + static_cast<long>(start), text.begin() + static_cast<long>(end), range->lpstrText);
            range->lpstrText[end - start] = L'\0';
            return static_cast<LRESULT>(end - start);
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP: {
            if (!state->detectUrls || !(state->eventMask & ENM_LINK)) break;
            const std::wstring text = GetWindowTextW(window);
            const std::int32_t at = CharFromPoint(text, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            for (const CHARRANGE& url : FindUrls(text)) {
                if (at < url.cpMin || at >= url.cpMax) continue;
                ENLINK link;
                link.msg = message;
                link.wParam = wParam;
                link.lParam = lParam;
                link.chrg = url;
                if (NotifyParent(window, link.nmhdr, EN_LINK)) return 0;  // the parent handled the click
                break;
            }
            break;
        }
        default: break;
        }
        return edit(window, message, wParam, lParam);
    };
}

void ClickRichEditText(HWND richEdit, std::wstring_view text)
{
    const std::wstring shown = GetWindowTextW(richEdit);
    const std::size_t at = text.empty() ? std::wstring::npos : shown.find(text);
    if (at == std::wstring::npos) throw ActionRefused("the text is not in the field");
    POINT point;
    SendMessageW(richEdit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), static_cast<LPARAM>(at));
    ClickAt(richEdit, {point.x + kRichEditCharWidth / 2, point.y + kRichEditLineHeight / 2});
}

}  // namespace ui
