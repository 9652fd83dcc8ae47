#include "plugin/pages/tasks/DlgUpdSources.h"

#include <optional>
#include <utility>

#include "nhpp/PageData.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PasswordProtection.h"
#include "ui/CommonControls.h"
#include "ui/Mouse.h"
#include "ui/Services.h"
#include "zrpar/UpdateSource.h"
#include "zrstd/Strings.h"

namespace {

// strings
constexpr UINT kCaption = 2205, kListText = 2254, kAddText = 2207, kPropertiesText = 2208, kUseAccountText = 2601,
               kUserText = 2603, kPasswordText = 2604, kShowPasswordText = 5843, kOkText = 12, kCancelText = 13,
               kUpText = 9507, kDownText = 9508, kRemoveText = 9509;
constexpr UINT kPropsCaption = 2213, kVendorServiceText = 2209, kAdminServerText = 2210, kFolderText = 9510,
               kBrowseText = 2218, kNoProxyText = 2217, kGroupText = 2215, kPickFolderTitle = 2220;
// messages
constexpr UINT kEmptyList = 2212, kNoUser = 2602, kEmptyFolder = 2219;

constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;

bool IsAccountSource(const updater::Sources& sources) { return updater::HasKind(sources, updater::kFolderOrUrl); }

}  // namespace

// ---- source list --------------------------------------------------------------

ui::DialogTemplate CDlgUpdSources::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.style = WS_POPUP;
    dialog.rect = {0, 0, 440, 360};
    const DWORD button = kVisible | WS_TABSTOP;
    const DWORD edit = kVisible | WS_TABSTOP | ES_AUTOHSCROLL;
    dialog.controls = {
        {kListLabel, L"Static", L"", kVisible, {10, 8, 330, 24}},
        {kList, L"SysListView32", L"",
         kVisible | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER,
         {10, 28, 330, 190}},
        {kAdd, L"Button", L"", button, {340, 28, 430, 52}},
        {kProperties, L"Button", L"", button, {340, 58, 430, 82}},
        {kUp, L"Button", L"", button | BS_ICON, {340, 96, 365, 120}},
        {kDown, L"Button", L"", button | BS_ICON, {370, 96, 395, 120}},
        {kRemove, L"Button", L"", button | BS_ICON, {400, 96, 425, 120}},
        {kUseAccount, L"Button", L"", button | BS_AUTOCHECKBOX, {10, 202, 430, 218}},
        {kUserLabel, L"Static", L"", kVisible, {25, 228, 150, 244}},
        {kUser, L"Edit", L"", edit, {155, 226, 430, 246}},
        {kPasswordLabel, L"Static", L"", kVisible, {25, 254, 150, 270}},
        {kPassword, L"Edit", L"", edit | ES_PASSWORD, {155, 252, 400, 272}},
        {kShowPassword, L"Button", L"", button, {405, 252, 430, 272}},
        {IDOK, L"Button", L"", button | BS_DEFPUSHBUTTON, {270, 324, 345, 348}},
        {IDCANCEL, L"Button", L"", button, {355, 324, 430, 348}},
    };
    return dialog;
}

CDlgUpdSources::CDlgUpdSources(std::shared_ptr<NHPP::CNHPPageData> pageData, UpdaterSourceList list,
                               std::int32_t serverVersion)
    : CNHPDialog(kTemplate, std::move(pageData)), m_list(std::move(list)), m_serverVersion(serverVersion)
{
}

bool CDlgUpdSources::OnInitDialog()
{
    CNHPDialog::OnInitDialog();
    SetWindowText(ui::LoadStringW(kCaption));
    SetControlTexts({{kListLabel, kListText},
                     {kAdd, kAddText},
                     {kProperties, kPropertiesText},
                     {kUp, kUpText},  // the icon buttons' accessible names
                     {kDown, kDownText},
                     {kRemove, kRemoveText},
                     {kUseAccount, kUseAccountText},
                     {kUserLabel, kUserText},
                     {kPasswordLabel, kPasswordText},
                     {kShowPassword, kShowPasswordText},
                     {IDOK, kOkText},
                     {IDCANCEL, kCancelText}});
    m_rows.SubclassDlgItem(kList, m_hWnd);
    m_rows.SetSaveOnDestroy(false);  // one column as wide as the list: no layout to remember
    const RECT client = ::GetClientRect(GetDlgItem(kList));
    m_rows.InsertColumn(0, L"", client.right - client.left);
    for (std::size_t i = 0; i < m_list.sources.size(); ++i) {
        m_rows.InsertItem(static_cast<int>(i), L"");
        ShowRow(static_cast<int>(i));
    }
    if (!m_list.sources.empty()) Select(0);

    m_password.SubclassDlgItem(kPassword, m_hWnd);
    m_showPassword.SubclassDlgItem(kShowPassword, m_hWnd);
    m_showPassword.SetEdit(kPassword);
    const auto state = GetPageData() ? GetPageData()->GetNodeProperty(kNodeStateProperty) : std::nullopt;
    m_nodeLocked = state && *state == kNodeLocked;
    if (m_serverVersion >= kFirstServerWithAccount) {
        CheckDlgButton(kUseAccount, m_list.shareUser.empty() ? BST_UNCHECKED : BST_CHECKED);
        SetDlgItemText(kUser, m_list.shareUser);
        m_password.ShowPlaceholder();  // the protected password is never shown
    }
    UpdateAccount();
    UpdateButtons();
    return true;
}

void CDlgUpdSources::ShowRow(int line)
{
    const ZRPAR::Value* source = m_list.sources[static_cast<std::size_t>(line)].Get();
    m_rows.SetItemText(line, 0, updater::SourceText(source));
    LVITEMW image;
    image.mask = LVIF_IMAGE;
    image.iItem = line;
    image.iImage = updater::SourceImage(source);
    m_rows.SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&image));
}

void CDlgUpdSources::Select(int line)
{
    for (int other = 0; other < m_rows.GetItemCount(); ++other) {
        LVITEMW state;
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = other == line ? LVIS_SELECTED | LVIS_FOCUSED : 0;
        m_rows.SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(other), reinterpret_cast<LPARAM>(&state));
    }
}

int CDlgUpdSources::Selected() const
{
    return static_cast<int>(m_rows.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CDlgUpdSources::UpdateButtons()
{
    const int line = Selected();
    const int rows = static_cast<int>(m_list.sources.size());
    const bool selected = line >= 0 && line < rows;
    // a row the dialog cannot read can be moved or removed, not edited
    const bool readable =
        selected && updater::KindOf(m_list.sources[static_cast<std::size_t>(line)].Get()) != updater::kUnreadableKind;
    ::EnableWindow(GetDlgItem(kRemove), selected);
    ::EnableWindow(GetDlgItem(kProperties), readable);
    ::EnableWindow(GetDlgItem(kUp), selected && line > 0 && rows >= 2);
    ::EnableWindow(GetDlgItem(kDown), selected && line < rows - 1 && rows >= 2);
}

void CDlgUpdSources::UpdateAccount()
{
    const bool offered = m_serverVersion >= kFirstServerWithAccount && !m_nodeLocked && IsAccountSource(m_list.sources);
    for (int id : {kUseAccount, kUserLabel, kUser, kPasswordLabel, kPassword, kShowPassword})
        ::ShowWindow(GetDlgItem(id), offered ? SW_SHOW : SW_HIDE);
    const bool account = offered && IsDlgButtonChecked(kUseAccount) == BST_CHECKED;
    ::EnableWindow(GetDlgItem(kUseAccount), offered);
    for (int id : {kUserLabel, kUser, kPasswordLabel, kPassword, kShowPassword}) ::EnableWindow(GetDlgItem(id), account);
}

void CDlgUpdSources::Add()
{
    const bool vendorFree = !updater::HasKind(m_list.sources, updater::kVendorUpdateService);
    auto source = ZRUPDSRV_CreateUpdSource(vendorFree ? updater::kVendorUpdateService : updater::kFolderOrUrl, true, L"");
    CDlgUpdSrcProps properties(GetPageData(), *source, vendorFree, m_serverVersion);
    if (properties.DoModal(m_hWnd) != IDOK) return;
    m_list.sources.push_back(ZRPAR::CreateValue(source.Get()));
    const int line = static_cast<int>(m_list.sources.size()) - 1;
    m_rows.InsertItem(line, L"");
    ShowRow(line);
    Select(line);
    UpdateAccount();
    UpdateButtons();
}

void CDlgUpdSources::EditSelected()
{
    const int line = Selected();
    if (line < 0 || line >= static_cast<int>(m_list.sources.size())) return;
    auto& stored = m_list.sources[static_cast<std::size_t>(line)];
    const std::int32_t kind = updater::KindOf(stored.Get());
    if (kind == updater::kUnreadableKind) return;
    const bool vendorAllowed =
        kind == updater::kVendorUpdateService || !updater::HasKind(m_list.sources, updater::kVendorUpdateService);
    // the dialog edits a copy: cancelled, nothing of it stays
    auto source = static_cast<const ZRPAR::ParamsValue*>(stored.Get())->GetValue()->Clone();
    CDlgUpdSrcProps properties(GetPageData(), *source, vendorAllowed, m_serverVersion);
    if (properties.DoModal(m_hWnd) != IDOK) return;
    stored = ZRPAR::CreateValue(source.Get());
    ShowRow(line);
    UpdateAccount();
    UpdateButtons();
}

void CDlgUpdSources::RemoveSelected()
{
    const int line = Selected();
    if (line < 0 || line >= static_cast<int>(m_list.sources.size())) return;
    m_list.sources.erase(m_list.sources.begin() + line);
    m_rows.DeleteItem(line);
    UpdateAccount();
    UpdateButtons();
}

void CDlgUpdSources::Move(int by)
{
    const int line = Selected();
    const int other = line + by;
    if (line < 0 || other < 0 || other >= static_cast<int>(m_list.sources.size())) return;
    std::swap(m_list.sources[static_cast<std::size_t>(line)], m_list.sources[static_cast<std::size_t>(other)]);
    ShowRow(line);
    ShowRow(other);
    Select(other);  // the selection moves with the source
    UpdateButtons();
}

bool CDlgUpdSources::OnCommand(WORD id, WORD code, HWND)
{
    if (code != BN_CLICKED) return false;
    switch (id) {
    case kAdd: Add(); return true;
    case kProperties: EditSelected(); return true;
    case kRemove: RemoveSelected(); return true;
    case kUp: Move(-1); return true;
    case kDown: Move(1); return true;
    case kUseAccount: UpdateAccount(); return true;
    default: return false;
    }
}

bool CDlgUpdSources::OnNotify(NMHDR* header, LRESULT* result)
{
    if (!header || header->idFrom != static_cast<std::uintptr_t>(kList)) return false;
    if (header->code == LVN_ITEMCHANGED) {
        UpdateButtons();
    } else if (header->code == NM_DBLCLK) {
        EditSelected();
    } else {
        return false;
    }
    if (result) *result = 0;
    return true;
}

bool CDlgUpdSources::Accept()
{
    if (m_serverVersion < kFirstServerWithAccount) return true;  // no account on these servers: kept as it was
    const bool account = IsDlgButtonChecked(kUseAccount) == BST_CHECKED && IsAccountSource(m_list.sources);
    if (!account) {
        m_list.shareUser.clear();
        m_list.sharePassword = nullptr;
        return true;
    }
    if (m_nodeLocked) return true;  // the account is not the administrator's to change here
    const std::wstring user = ZRSTD::Trim(GetDlgItemText(kUser));
    if (user.empty()) {
        ShowPluginMessage(m_hWnd, kNoUser, MB_ICONERROR);
        ::SetFocus(GetDlgItem(kUser));
        return false;
    }
    // protected before anything changes: a refusal of the service leaves the account as it was
    ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> password;
    if (!m_password.ShowsPlaceholder())
        password = ProtectPassword(GetPageData() ? GetPageData()->GetDataSource() : nullptr, m_password.GetWindowText());
    m_list.shareUser = user;
    if (password) m_list.sharePassword = password;
    return true;
}

void CDlgUpdSources::OnOK()
{
    if (m_list.sources.empty()) {
        ShowPluginMessage(m_hWnd, kEmptyList, MB_ICONERROR);
        return;
    }
    try {
        if (!Accept()) return;
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "DlgUpdSources");
        ShowSettingsNotChanged(m_hWnd, &error);
        return;
    }
    CNHPDialog::OnOK();
}

// ---- one source -----------------------------------------------------------------

ui::DialogTemplate CDlgUpdSrcProps::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.style = WS_POPUP;
    dialog.rect = {0, 0, 420, 230};
    const DWORD radio = kVisible | WS_TABSTOP | BS_AUTORADIOBUTTON;
    dialog.controls = {
        {kGroup, L"Button", L"", kVisible | BS_GROUPBOX, {8, 6, 412, 150}},
        {kVendorService, L"Button", L"", radio | WS_GROUP, {18, 24, 400, 40}},
        {kAdminServer, L"Button", L"", radio, {18, 46, 400, 62}},
        {kFolder, L"Button", L"", radio, {18, 68, 400, 84}},
        {kUrl, L"Edit", L"", kVisible | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, {34, 90, 320, 110}},
        {kBrowse, L"Button", L"", kVisible | WS_TABSTOP, {325, 88, 400, 112}},
        {kNoProxy, L"Button", L"", kVisible | WS_TABSTOP | BS_AUTOCHECKBOX, {18, 160, 400, 176}},
        {IDOK, L"Button", L"", kVisible | WS_TABSTOP | BS_DEFPUSHBUTTON, {250, 196, 325, 220}},
        {IDCANCEL, L"Button", L"", kVisible | WS_TABSTOP, {335, 196, 410, 220}},
    };
    return dialog;
}

CDlgUpdSrcProps::CDlgUpdSrcProps(std::shared_ptr<NHPP::CNHPPageData> pageData, ZRPAR::Params& source,
                                 bool vendorServiceAllowed, std::int32_t serverVersion)
    : CNHPDialog(kTemplate, std::move(pageData)),
      m_source(source),
      m_vendorServiceAllowed(vendorServiceAllowed),
      m_serverVersion(serverVersion)
{
}

bool CDlgUpdSrcProps::OnInitDialog()
{
    CNHPDialog::OnInitDialog();
    SetWindowText(ui::LoadStringW(kPropsCaption));
    SetControlTexts({{kVendorService, kVendorServiceText},
                     {kAdminServer, kAdminServerText},
                     {kFolder, kFolderText},
                     {kBrowse, kBrowseText},
                     {kNoProxy, kNoProxyText},
                     {kGroup, kGroupText},
                     {IDOK, 12},
                     {IDCANCEL, 13}});
    const ZRSTD::CAutoPtr<ZRPAR::Value> self = ZRPAR::CreateValue(&m_source);
    const std::int32_t kind = updater::KindOf(self.Get());
    if (kind == updater::kVendorUpdateService) CheckDlgButton(kVendorService, BST_CHECKED);
    else if (kind == updater::kServerSourceKind) CheckDlgButton(kAdminServer, BST_CHECKED);
    else if (kind == updater::kFolderOrUrl) CheckDlgButton(kFolder, BST_CHECKED);
    SetDlgItemText(kUrl, updater::UrlOf(self.Get()));
    CheckDlgButton(kNoProxy, updater::UsesProxy(self.Get()) ? BST_UNCHECKED : BST_CHECKED);
    ::EnableWindow(GetDlgItem(kVendorService), m_vendorServiceAllowed);
    ::EnableWindow(GetDlgItem(kAdminServer), false);  // the administration server is never chosen by hand
    ::EnableWindow(GetDlgItem(kNoProxy), kind != updater::kServerSourceKind);
    if (m_serverVersion >= kFirstServerWithoutSourceProxy) {
        CheckDlgButton(kNoProxy, BST_UNCHECKED);
        ::ShowWindow(GetDlgItem(kNoProxy), SW_HIDE);
    }
    UpdateControls();
    return true;
}

void CDlgUpdSrcProps::UpdateControls()
{
    const bool folder = Checked(kFolder);
    ::EnableWindow(GetDlgItem(kUrl), folder);
    ::EnableWindow(GetDlgItem(kBrowse), folder);
}

void CDlgUpdSrcProps::Browse()
{
    std::wstring path = ui::PickFolder(m_hWnd, ui::LoadStringW(kPickFolderTitle));
    if (path.empty()) return;  // cancelled
    if (path.back() != L'\\' && path.back() != L'/') path += L'\\';
    SetDlgItemText(kUrl, path);
}

bool CDlgUpdSrcProps::OnCommand(WORD id, WORD code, HWND)
{
    if (code != BN_CLICKED) return false;
    switch (id) {
    case kVendorService:
    case kAdminServer:
    case kFolder: UpdateControls(); return true;
    case kBrowse: Browse(); return true;
    default: return false;
    }
}

void CDlgUpdSrcProps::OnOK()
{
    const ZRSTD::CAutoPtr<ZRPAR::Value> self = ZRPAR::CreateValue(&m_source);
    std::int32_t kind = updater::KindOf(self.Get());
    if (Checked(kVendorService)) kind = updater::kVendorUpdateService;
    else if (Checked(kAdminServer)) kind = updater::kServerSourceKind;
    else if (Checked(kFolder)) kind = updater::kFolderOrUrl;
    // with no choice a source keeps its own kind (the master server stays one)
    const std::wstring url = GetDlgItemText(kUrl);
    if (kind == updater::kFolderOrUrl && ZRSTD::Trim(url).empty()) {
        ShowPluginMessage(m_hWnd, kEmptyFolder, MB_ICONERROR);
        ::SetFocus(GetDlgItem(kUrl));
        return;
    }
    try {
        m_source.ReplaceValue(updater::kTypeKey, ZRPAR::CreateValue(kind).Get());
        m_source.ReplaceValue(updater::kUrlKey, ZRPAR::CreateValue(url).Get());
        // a flag the dialog does not show (newer servers) stays as stored
        if (m_serverVersion < kFirstServerWithoutSourceProxy)
            m_source.ReplaceValue(updater::kUseProxyKey, ZRPAR::CreateValue(!Checked(kNoProxy)).Get());
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "DlgUpdSrcProps");
        ShowSettingsNotChanged(m_hWnd, &error);
        return;
    }
    CNHPDialog::OnOK();
}
