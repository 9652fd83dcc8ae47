#include "controls/NHPDialog.h"

#include <algorithm>

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "ui/Interaction.h"
#include "ui/Registry.h"
#include "ui/Services.h"
#include "zrstd/Format.h"

namespace {
const wchar_t* const kComponentKey = L"Software\\BrenvikLab\\Components\\34";
}

CNHPDialog::CNHPDialog(UINT templateId, std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CDialog(templateId), m_pageData(std::move(pageData))
{
}

CNHPDialog::~CNHPDialog()
{
    // while this part of the object still exists, so that closing saves the placement
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

void CNHPDialog::OnCreateWindow()
{
    // a dialog inside a right-to-left parent reads and lays out right to left too
    if (::GetWindowLongW(GetParent(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) ModifyStyleEx(0, WS_EX_LAYOUTRTL | WS_EX_RTLREADING);
}

void CNHPDialog::OnDestroy()
{
    if (m_placementKey.IsEmpty() || !m_hWnd) return;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, m_placementKey.str(), KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    WINDOWPLACEMENT placement;
    placement.showCmd = IsWindowVisible() ? 1 : 0;
    placement.rcNormalPosition = GetWindowRect();
    RegSetValueExW(key, L"wp", REG_BINARY, &placement, sizeof placement);
    RegCloseKey(key);
}

POINT CNHPDialog::MinimumTrackingSize()
{
    if (!m_keepMinimumSize) return POINT{0, 0};
    if (!m_minimumKnown) {
        const RECT rect = GetWindowRect();
        m_minimumSize = POINT{rect.Width(), rect.Height()};
        m_minimumKnown = true;
    }
    return m_minimumSize;
}

void CNHPDialog::SetControlTexts(std::initializer_list<ControlText> texts)
{
    for (const auto& text : texts) SetDlgItemText(text.control, ui::LoadStringW(text.text));
}

void CNHPDialog::Help(HELPINFO* received)
{
    if (m_helpTopicId == 0) {
        HELPINFO empty;  // size 28, everything else zero
        ::SendMessageW(GetParent(), WM_HELP, 0, reinterpret_cast<LPARAM>(received ? received : &empty));
        return;
    }
    const PluginEnvironment& environment = GetPluginEnvironment();
    if (!environment.helpFile.empty()) {
        ui::HtmlHelpShow(m_hWnd, environment.helpFile, m_helpTopicId);
        return;
    }
    DWORD online = 1;  // absent counts as online
    ui::RegistryGetDword(HKEY_CURRENT_USER, kComponentKey, L"UseOnlineHelp", online);
    const std::wstring topic = ZRSTD::FormatW(L"%u", m_helpTopicId);
    const std::wstring& pattern = online ? environment.onlineHelpTemplate : environment.localHelpTemplate;
    ui::ShellExecuteOpen(m_hWnd, ZRSTD::FormatInsert(pattern, {topic}));
}

bool CNHPDialog::OnHelp(HELPINFO* info)
{
    Help(info);
    return true;
}

bool CNHPDialog::PreTranslateKey(WORD key)
{
    const auto found = m_accelerators.find(key);
    if (found == m_accelerators.end()) return false;
    PostMessage(WM_COMMAND, MAKEWPARAM(found->second, 1), 0);
    return true;
}

ZRSTD::CAutoPtr<NHPP::CParams> CNHPDialog::Provider(const wchar_t* section)
{
    auto provider = m_pageData->Provider(section);
    const auto same = [&](const ZRSTD::CAutoPtr<NHPP::CParams>& used) { return used.Get() == provider.Get(); };
    if (std::none_of(m_providersUsed.begin(), m_providersUsed.end(), same))
        m_providersUsed.push_back(provider);
    return provider;
}

int ShowPluginMessage(HWND owner, UINT stringId, UINT style)
{
    ui::ModuleStateScope scope(GetPluginEnvironment().moduleState);
    return ShowPluginText(owner, ui::LoadStringW(stringId), style);
}

int ShowPluginText(HWND owner, const std::wstring& text, UINT style)
{
    const PluginEnvironment& environment = GetPluginEnvironment();
    return MessageBoxW(owner, text, environment.messageCaption, style | RightToLeftBoxStyle());
}

LRESULT CNHPDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    PluginStateScope scope;
    return CDialog::WindowProc(message, wParam, lParam);
}
