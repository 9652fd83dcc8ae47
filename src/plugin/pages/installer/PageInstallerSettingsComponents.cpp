#include "plugin/pages/installer/PageInstallerSettingsComponents.h"

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"
#include "plugin/pages/installer/InstallerResources.h"
#include "ui/Mouse.h"

namespace {

constexpr UINT kExplanationText = 2536, kNacText = 2535;
constexpr const wchar_t* kNacKey = L"INSTALL_NAC";
constexpr int kNacRow = 0;

}  // namespace

ui::DialogTemplate CPageInstallerSettingsComponents::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 240};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    dialog.controls = {
        {kExplanation, L"Static", L"", visible, {10, 10, 430, 30}},
        {kComponents, L"SysListView32", L"", visible | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL,
         {10, 36, 430, 230}},
    };
    return dialog;
}

CPageInstallerSettingsComponents::CPageInstallerSettingsComponents(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData))
{
}

bool CPageInstallerSettingsComponents::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    SetControlTexts({{kExplanation, kExplanationText}});
    m_components.SubclassDlgItem(kComponents, m_hWnd);
    m_components.SetSaveOnDestroy(false);  // one fixed column: no layout to remember
    m_components.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    const RECT client = ::GetClientRect(GetDlgItem(kComponents));
    m_components.InsertColumn(0, L"", client.right - client.left);
    m_components.SetFitWidth(true);
    m_components.InsertItem(kNacRow, ui::LoadStringW(kNacText));
    m_components.SetCheck(kNacRow, Provider()->GetBoolOrDefault(kNacKey, false, nullptr));
    m_loading = false;
    return true;
}

bool CPageInstallerSettingsComponents::OnNotify(NMHDR* header, LRESULT*)
{
    if (m_loading || !header || header->idFrom != static_cast<std::uintptr_t>(kComponents) ||
        header->code != LVN_ITEMCHANGED)
        return false;
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK)) SetModified();
    return false;
}

bool CPageInstallerSettingsComponents::ApplyPage()
{
    auto settings = Provider();
    const bool written = settings->SetBool(kNacKey, m_components.GetCheck(kNacRow), false) >= 0;
    return CommitPageSettings(m_hWnd, *settings, written, installerres::kPackageNotChanged);
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageInstallerSettingsComponents::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    const bool install = pageData.Provider()->GetBoolOrDefault(kNacKey, false, nullptr);
    auto page = ZRPAR::CreateParams();
    page->ReplaceValue(frame::NormalizeTitle(ui::LoadStringW(kNacText)),
                       ZRPAR::CreateValue(ui::LoadStringW(install ? pageres::kYes : pageres::kNo)).Get());
    return {page};
}
