#include "plugin/pages/tasks/PageTaskMessagerGeneral.h"

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "ui/RichEdit.h"
#include "ui/Services.h"
#include "zrpar/Render.h"
#include "zrstd/Trace.h"

namespace {

constexpr UINT kLabelText = 2076, kNoTextMessage = 2075, kExportLabel = 2611;
constexpr const wchar_t* kTextKey = L"ZRNAG_MSG_TEXT";

}  // namespace

ui::DialogTemplate CPageTaskMessagerGeneral::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 300};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    dialog.controls = {
        {kLabel, L"Static", L"", visible, {10, 10, 430, 58}},
        {kText, L"RichEdit20W", L"",
         visible | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, {10, 64, 430, 290}},
    };
    return dialog;
}

CPageTaskMessagerGeneral::CPageTaskMessagerGeneral(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData))
{
}

bool CPageTaskMessagerGeneral::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    SetControlTexts({{kLabel, kLabelText}});
    HWND text = GetDlgItem(kText);
    ::SendMessageW(text, EM_SETEVENTMASK, 0, static_cast<LPARAM>(ENM_CHANGE | ENM_LINK));
    ::SendMessageW(text, EM_AUTOURLDETECT, TRUE, 0);
    m_settings = std::make_unique<CTaskSettings>(Provider());
    SetDlgItemText(kText, m_settings->ReadString(kTextKey, L""));
    // a text the policy of the task type enforces is shown, not edited
    if (m_settings->IsLocked(kTextKey)) ::SendMessageW(text, EM_SETREADONLY, TRUE, 0);
    m_loading = false;
    return true;
}

bool CPageTaskMessagerGeneral::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading || id != kText || code != EN_CHANGE) return false;
    SetModified();
    return true;
}

bool CPageTaskMessagerGeneral::OnNotify(NMHDR* header, LRESULT* result)
{
    if (header->idFrom != static_cast<std::uintptr_t>(kText) || header->code != EN_LINK) return false;
    const auto* link = reinterpret_cast<const ENLINK*>(header);
    if (link->msg != WM_LBUTTONDOWN && link->msg != WM_LBUTTONUP) return false;
    if (link->msg == WM_LBUTTONDOWN && link->chrg.cpMax > link->chrg.cpMin) {
        std::wstring address(static_cast<std::size_t>(link->chrg.cpMax - link->chrg.cpMin) + 1, L'\0');
        TEXTRANGEW range{link->chrg, address.data()};
        address.resize(static_cast<std::size_t>(::SendMessageW(GetDlgItem(kText), EM_GETTEXTRANGE, 0,
                                                               reinterpret_cast<LPARAM>(&range))));
        ui::ShellExecuteOpen(m_hWnd, address);
    }
    *result = 1;  // the press and its release are the page's: the text stays as it is
    return true;
}

bool CPageTaskMessagerGeneral::ValidatePage()
{
    if (m_settings->IsLocked(kTextKey)) return true;
    if (!GetDlgItemText(kText).empty()) return true;
    ShowError(kNoTextMessage);
    ::SetFocus(GetDlgItem(kText));
    return false;
}

bool CPageTaskMessagerGeneral::ApplyPage()
{
    if (m_settings->Write(kTextKey, GetDlgItemText(kText))) return true;
    ShowSettingsNotChanged(m_hWnd, nullptr);
    return false;
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageTaskMessagerGeneral::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto settings = pageData.Provider();
    ZRSTD::CAutoPtr<ZRPAR::Params> root;
    if (ZRSTD::TraceEnabled(4) && settings->GetRoot(&root) == NHPP::kOk && root)
        ZRSTD::Trace(4, L"the show message task's settings:\n%hs", ZRPAR::RenderText(*root));
    NHPP::PolicyLockInfo lock;
    std::wstring text;
    settings->GetStringOrDefault(text, kTextKey, L"", &lock);
    auto page = ZRPAR::CreateParams();
    frame::AddSettingNode(*page, kExportLabel, text, lock.mandatory);
    return {page};
}
