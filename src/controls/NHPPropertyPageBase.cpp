#include "controls/NHPPropertyPageBase.h"

#include "controls/PageMessages.h"
#include "controls/PluginEnvironment.h"
#include "ui/Services.h"
#include "zrstd/Error.h"

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
    return Create(GetTemplateId(), parent) ? m_hWnd : nullptr;
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
