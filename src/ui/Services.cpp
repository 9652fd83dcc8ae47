#include "ui/Services.h"

#include <map>
#include <set>

#include "zrstd/Format.h"

namespace ui {

namespace {

struct ServiceState {
    std::vector<ServiceCall> calls;
    PickerAnswer picker;
    bool shellOpenSucceeds = true;
    bool startSucceeds = true;
    std::map<HWND, std::wstring> themes;
    bool waiting = false;
    std::set<HWND> themed;
};

ServiceState& State()
{
    static ServiceState* state = new ServiceState;
    return *state;
}

std::wstring Pick(ServiceCall call)
{
    State().calls.push_back(call);
    return State().picker ? State().picker(call) : std::wstring();
}

}  // namespace

const std::vector<ServiceCall>& ServiceCalls() { return State().calls; }
void ClearServiceCalls() { State().calls.clear(); }
void SetPickerAnswer(PickerAnswer answer) { State().picker = std::move(answer); }
void SetShellOpenResult(bool succeeds) { State().shellOpenSucceeds = succeeds; }

bool ShellExecuteOpen(HWND, const std::wstring& target)
{
    State().calls.push_back({L"open", target, L""});
    return State().shellOpenSucceeds;
}

bool StartProgram(const std::wstring& commandLine)
{
    State().calls.push_back({L"run", commandLine, L""});
    return State().startSucceeds;
}

void SetStartProgramResult(bool succeeds) { State().startSucceeds = succeeds; }

bool HtmlHelpShow(HWND, const std::wstring& file, DWORD contextId)
{
    State().calls.push_back({L"help", file, ZRSTD::FormatW(L"%u", contextId)});
    return true;
}

std::wstring PickSaveFile(HWND, const std::wstring& title, const std::wstring& filter,
                          const std::wstring& defaultExtension, DWORD flags)
{
    return Pick({L"save-file", title, ZRSTD::FormatW(L"%s|%s|0x%X", filter, defaultExtension, flags)});
}

std::wstring PickOpenFile(HWND, const std::wstring& title, const std::wstring& filter,
                          const std::wstring& defaultExtension)
{
    return Pick({L"open-file", title, ZRSTD::FormatW(L"%s|%s", filter, defaultExtension)});
}

std::wstring PickFolder(HWND, const std::wstring& title) { return Pick({L"folder", title, L""}); }

void SetWaitCursor(bool waiting)
{
    State().waiting = waiting;
    State().calls.push_back({L"cursor", waiting ? L"wait" : L"arrow", L""});
}

bool IsWaitCursor() { return State().waiting; }

void EnableThemeDialogTexture(HWND window, DWORD flags)
{
    if (flags & ETDT_ENABLETAB) State().themed.insert(window);
    else State().themed.erase(window);
    State().calls.push_back({L"theme", ZRSTD::FormatW(L"%u", flags), L""});
}

bool HasThemeDialogTexture(HWND window) { return State().themed.count(window) != 0; }

void SetWindowTheme(HWND window, const std::wstring& theme)
{
    State().themes[window] = theme;
    State().calls.push_back({L"window-theme", theme, L""});
}

std::wstring GetWindowTheme(HWND window)
{
    const auto found = State().themes.find(window);
    return found == State().themes.end() ? std::wstring() : found->second;
}

}  // namespace ui
