#include "controls/NHPPropertyPageBase.h"

#include "controls/PageMessages.h"
#include "controls/PluginEnvironment.h"
#include "nhpp/ParamsProviderBase.h"
#include "ui/Services.h"
#include "zrstd/Error.h"
#include "zrstd/Format.h"

namespace {
// texts of the page framework's own
constexpr UINT kUnreadableSettings = 9010, kUnreadablePolicy = 9011, kAllowedRange = 9012, kBadFieldValue = 9013;
}  // namespace

CNHPPropertyPageBase::CNHPPropertyPageBase(UINT templateId, std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPDialog(templateId & 0xFFFF, std::move(pageData))
{
}

CNHPPropertyPageBase::~CNHPPropertyPageBase()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);  // the window goes with the page
}

void CNHPPropertyPageBase::Apply()
{
    PluginStateScope scope;
    if (!CallApplyPage())
        ZRERR_throwError("ZRSTD", ZRPlugin::kPageApplyFailed, L"the page (template %u) could not apply its settings",
                         GetTemplateId());
    SetModified(false);  // saved: the console sees the page clean again
}

std::int32_t CNHPPropertyPageBase::Validate()
{
    PluginStateScope scope;
    return ValidatePage() ? 1 : 0;
}

std::int32_t CNHPPropertyPageBase::Activate()
{
    PluginStateScope scope;
    return OnPageActivate() ? 1 : 0;
}

std::int32_t CNHPPropertyPageBase::Deactivate()
{
    PluginStateScope scope;
    return OnPageDeactivate() ? 1 : 0;
}

HWND CNHPPropertyPageBase::CreatePageWindow(HWND parent)
{
    PluginStateScope scope;
    m_themed = false;  // a page the console creates gets no tab texture
    if (m_hWnd) return m_hWnd;
    if (!Create(GetTemplateId(), parent)) return nullptr;
    TellUnreadableSettings();
    return m_hWnd;
}

void CNHPPropertyPageBase::TellUnreadableSettings()
{
    for (const auto& provider : ProvidersUsed()) {
        const auto* known = dynamic_cast<const NHPP::CParamsProviderBase*>(provider.Get());
        bool ofPolicy = false;
        const ZRERR::Error* error = known ? known->UnreadableSettings(ofPolicy) : nullptr;
        if (!error) continue;
        const std::wstring reason = ZRERR_IsErrorLocalized(*error) ? ZRERR_LocFormatErrorString(*error) : error->GetMessage();
        ShowPluginText(m_hWnd, ZRSTD::FormatW(ui::LoadStringW(ofPolicy ? kUnreadablePolicy : kUnreadableSettings), reason),
                       MB_ICONWARNING);
        return;  // one notice says it: nothing on the page is saved
    }
}

bool CNHPPropertyPageBase::ShowRangeError(int field, UINT messageId, std::int64_t low, std::int64_t high, UINT labelId)
{
    std::wstring text;
    if (messageId) {
        text = ui::LoadStringW(messageId);
    } else {
        std::wstring label = ui::LoadStringW(labelId);
        std::erase(label, L'&');
        while (!label.empty() && (label.back() == L':' || label.back() == L' ')) label.pop_back();
        text = ZRSTD::FormatW(ui::LoadStringW(kBadFieldValue), label);
    }
    text += L"\n" + ZRSTD::FormatW(ui::LoadStringW(kAllowedRange), low, high);
    ShowPluginText(m_hWnd, text, MB_ICONERROR);
    ::SetFocus(GetDlgItem(field));
    return false;
}

void CNHPPropertyPageBase::ShowHelp()
{
    PluginStateScope scope;
    Help();
}

void CNHPPropertyPageBase::SetModified(bool modified)
{
    if (!m_initialized) return;
    const HWND parent = GetParent();
    const auto self = reinterpret_cast<WPARAM>(m_hWnd);
    ::SendMessageW(parent, modified ? PSM_CHANGED : PSM_UNCHANGED, self, 0);
    ::SendMessageW(parent, modified ? RWM_ZRHCCON_PPN_PAGE_MODIFIED : RWM_ZRHCCON_PPN_PAGE_UNMODIFIED, self, 0);
    m_modified = modified;
}

int CNHPPropertyPageBase::GetApplyResult()
{
    if (!ValidatePage()) return -1;
    return ApplyPage() ? 0 : -1;
}

int CNHPPropertyPageBase::ShowError(UINT stringId) { return ShowPluginMessage(m_hWnd, stringId, MB_ICONERROR); }

bool CNHPPropertyPageBase::OnInitDialog()
{
    CNHPDialog::OnInitDialog();
    if (m_themed) ui::EnableThemeDialogTexture(m_hWnd, ui::ETDT_ENABLETAB);
    m_initialized = true;
    return true;
}

void CNHPPropertyPageBase::OnCancel()
{
    if (m_cancelToParent) {
        // the page does not close itself: the console's sheet does
        ::SendMessageW(GetParent(), WM_COMMAND, IDCANCEL, 0);
        return;
    }
    CNHPDialog::OnCancel();
}

void CNHPPropertyPageBase::OnSize(int, int) { UpdateLayout(); }

LRESULT CNHPPropertyPageBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == RWM_ZRHCCON_PPN_POST_APPLY) {
        OnPostApply();
        return 1;
    }
    return CNHPDialog::WindowProc(message, wParam, lParam);
}
