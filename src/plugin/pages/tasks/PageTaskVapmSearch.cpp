#include "plugin/pages/tasks/PageTaskVapmSearch.h"

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/tasks/DlgVapmSearchAddFolder.h"
#include "ui/CommonControls.h"
#include "ui/Mouse.h"

namespace {

using Page = CPageTaskVapmSearch;

constexpr UINT kPromptText = 2494, kWindowsUpdaterText = 2495, kMakersDataText = 2496, kRefreshText = 2513,
               kFoldersText = 2497, kFolderColumnText = 2489, kAddText = 2308, kPropertiesText = 2480,
               kRemoveText = 2304, kDiagText = 5904, kDiagSizeText = 5905;

constexpr const wchar_t* kSourceKey = L"nSource";
constexpr const wchar_t* kSearchModeKey = L"ZRNAG_WUA_SEARCH_MODE";
constexpr const wchar_t* kPathsKey = L"ZRNAG_TSK_VAPMSEARCH_PATHS";
constexpr const wchar_t* kDiagKey = L"ZRNAG_TSK_VAPM_EXTENDED_DIAG";
constexpr const wchar_t* kDiagSizeKey = L"ZRNAG_TSK_VAPM_EXTENDED_DIAG_DISK_SPACE";

constexpr std::int32_t kRefreshSearchMode = 0, kNoRefreshSearchMode = 1;
constexpr std::int32_t kDiagSizeDefault = 100, kDiagSizeMin = 1, kDiagSizeMax = 2048;
constexpr UINT kDiagSizeDigits = 8;

// The stored folders: the texts in order, and the items that are no text.
struct StoredFolders {
    std::vector<std::wstring> texts;
    std::vector<ZRSTD::CAutoPtr<ZRPAR::Value>> unreadable;
};

StoredFolders ReadFolders(NHPP::CParams& provider)
{
    StoredFolders folders;
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> stored;
    if (provider.GetArray(kPathsKey, &stored, nullptr) != NHPP::kOk || !stored) return folders;
    for (std::size_t i = 0; i < stored->GetSize(); ++i) {
        ZRPAR::Value* item = stored->ItemAt(i);
        if (item && item->GetType() == ZRPAR::VT_STRING)
            folders.texts.push_back(static_cast<ZRPAR::StringValue*>(item)->GetValue());
        else if (item)
            folders.unreadable.emplace_back(item);
    }
    return folders;
}

bool ServerKeepsDiagnostics(const NHPP::CNHPPageData& pageData)
{
    return pageData.GetServerVersionId() >= Page::kFirstDiagServer;
}

}  // namespace

ui::DialogTemplate CPageTaskVapmSearch::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 360};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    const DWORD box = visible | WS_TABSTOP | BS_AUTOCHECKBOX;
    dialog.controls = {
        {kPrompt, L"Static", L"", visible, {10, 10, 430, 26}},
        {kUseWindowsUpdater, L"Button", L"", box, {10, 32, 430, 48}},
        {kRefreshData, L"Button", L"", box, {30, 54, 430, 70}},
        {kUseMakersData, L"Button", L"", box, {10, 76, 430, 92}},
        {kFoldersLabel, L"Static", L"", visible, {30, 100, 430, 116}},
        {kFolders, L"SysListView32", L"",
         visible | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, {30, 120, 340, 250}},
        {kAdd, L"Button", L"", visible | WS_TABSTOP, {345, 120, 430, 144}},
        {kProperties, L"Button", L"", visible | WS_TABSTOP, {345, 150, 430, 174}},
        {kRemove, L"Button", L"", visible | WS_TABSTOP | BS_ICON, {345, 180, 370, 204}},
        {kExtendedDiag, L"Button", L"", box, {10, 262, 430, 278}},
        {kDiagSizeLabel, L"Static", L"", visible, {30, 286, 330, 302}},
        {kDiagSize, L"Edit", L"", visible | WS_TABSTOP | WS_BORDER | ES_NUMBER, {335, 284, 395, 304}},
        {kDiagSizeSpin, L"msctls_updown32", L"", visible, {395, 284, 410, 304}},
    };
    return dialog;
}

CPageTaskVapmSearch::CPageTaskVapmSearch(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData))
{
}

bool CPageTaskVapmSearch::HasDiagnostics() const { return ServerKeepsDiagnostics(*GetPageData()); }

bool CPageTaskVapmSearch::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    SetControlTexts({{kPrompt, kPromptText},
                     {kUseWindowsUpdater, kWindowsUpdaterText},
                     {kUseMakersData, kMakersDataText},
                     {kRefreshData, kRefreshText},
                     {kFoldersLabel, kFoldersText},
                     {kAdd, kAddText},
                     {kProperties, kPropertiesText},
                     {kRemove, kRemoveText},  // the icon button's accessible name
                     {kExtendedDiag, kDiagText},
                     {kDiagSizeLabel, kDiagSizeText}});
    m_folders.SubclassDlgItem(kFolders, m_hWnd);
    m_folders.SetSaveOnDestroy(false);
    const RECT list = ::GetClientRect(GetDlgItem(kFolders));
    m_folders.InsertColumn(0, ui::LoadStringW(kFolderColumnText), static_cast<int>(list.right - list.left));
    m_folders.SetFitWidth(true);
    m_diagSize.SubclassDlgItem(kDiagSize, m_hWnd);
    m_diagSize.SetLimitText(kDiagSizeDigits);
    m_diagSize.SetRange(kDiagSizeMin, kDiagSizeMax);
    m_diagSize.SetSpin(GetDlgItem(kDiagSizeSpin));
    Load();
    UpdateControls();
    m_loading = false;
    return true;
}

void CPageTaskVapmSearch::Load()
{
    auto task = Provider();
    // a source the page does not know checks neither box and is kept while they stay so
    m_storedSource = task->GetIntOrDefault(kSourceKey, kBothSources, nullptr);
    CheckDlgButton(kUseWindowsUpdater,
                   m_storedSource == kBothSources || m_storedSource == kWindowsUpdaterOnly ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kUseMakersData,
                   m_storedSource == kBothSources || m_storedSource == kMakersDataOnly ? BST_CHECKED : BST_UNCHECKED);

    std::int32_t searchMode = kRefreshSearchMode;
    m_loadedRefresh = task->GetInt(kSearchModeKey, searchMode, nullptr) != NHPP::kOk || searchMode == kRefreshSearchMode;
    CheckDlgButton(kRefreshData, m_loadedRefresh ? BST_CHECKED : BST_UNCHECKED);

    StoredFolders folders = ReadFolders(*task);
    m_folders.DeleteAllItems();
    for (std::size_t i = 0; i < folders.texts.size(); ++i) m_folders.InsertItem(static_cast<int>(i), folders.texts[i]);
    m_unreadableFolders = std::move(folders.unreadable);
    m_foldersChanged = false;

    if (!HasDiagnostics()) {
        for (int id : {kExtendedDiag, kDiagSizeLabel, kDiagSize, kDiagSizeSpin}) {
            ::ShowWindow(GetDlgItem(id), SW_HIDE);
            ::EnableWindow(GetDlgItem(id), false);
        }
        return;
    }
    m_loadedDiag = task->GetBoolOrDefault(kDiagKey, false, nullptr);
    CheckDlgButton(kExtendedDiag, m_loadedDiag ? BST_CHECKED : BST_UNCHECKED);
    m_diagSize.LoadStored(task->GetIntOrDefault(kDiagSizeKey, kDiagSizeDefault, nullptr));
}

int CPageTaskVapmSearch::SelectedFolder() const
{
    return static_cast<int>(m_folders.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CPageTaskVapmSearch::UpdateControls()
{
    // neither source is no choice: the update agent is used again
    if (IsDlgButtonChecked(kUseWindowsUpdater) != BST_CHECKED && IsDlgButtonChecked(kUseMakersData) != BST_CHECKED &&
        !m_loading)
        CheckDlgButton(kUseWindowsUpdater, BST_CHECKED);
    const bool makersData = IsDlgButtonChecked(kUseMakersData) == BST_CHECKED;
    for (int id : {kFoldersLabel, kFolders, kAdd, kProperties, kRemove})
        ::ShowWindow(GetDlgItem(id), makersData ? SW_SHOW : SW_HIDE);
    ::EnableWindow(GetDlgItem(kRefreshData), IsDlgButtonChecked(kUseWindowsUpdater) == BST_CHECKED);
    const bool selected = SelectedFolder() >= 0;
    ::EnableWindow(GetDlgItem(kProperties), selected);
    ::EnableWindow(GetDlgItem(kRemove), selected);
    if (HasDiagnostics()) {
        const bool diag = IsDlgButtonChecked(kExtendedDiag) == BST_CHECKED;
        for (int id : {kDiagSizeLabel, kDiagSize, kDiagSizeSpin}) ::EnableWindow(GetDlgItem(id), diag);
    }
}

void CPageTaskVapmSearch::EditFolder(int line)
{
    CDlgVapmSearchAddFolder dialog(line >= 0 ? m_folders.GetItemText(line, 0) : std::wstring());
    if (dialog.DoModal(m_hWnd) != IDOK) return;
    if (line >= 0) m_folders.SetItemText(line, 0, dialog.Folder());
    else m_folders.InsertItem(m_folders.GetItemCount(), dialog.Folder());
    m_foldersChanged = true;
    SetModified();
    UpdateControls();
}

void CPageTaskVapmSearch::RemoveFolder()
{
    const int line = SelectedFolder();
    if (line < 0) return;
    m_folders.DeleteItem(line);
    m_foldersChanged = true;
    SetModified();
    UpdateControls();
}

bool CPageTaskVapmSearch::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading) return false;
    if (id == kDiagSize) {
        if (code != EN_CHANGE) return false;
        SetModified();
        return true;
    }
    if (code != BN_CLICKED) return false;
    switch (id) {
    case kUseWindowsUpdater:
    case kUseMakersData:
    case kRefreshData:
    case kExtendedDiag: UpdateControls(); break;
    case kAdd: EditFolder(-1); return true;
    case kProperties:
        if (SelectedFolder() >= 0) EditFolder(SelectedFolder());
        return true;
    case kRemove: RemoveFolder(); return true;
    default: return false;
    }
    SetModified();
    return true;
}

bool CPageTaskVapmSearch::OnNotify(NMHDR* header, LRESULT*)
{
    if (m_loading || !header) return false;
    if (header->idFrom == static_cast<std::uintptr_t>(kFolders)) {
        if (header->code == LVN_ITEMCHANGED) UpdateControls();
        else if (header->code == NM_DBLCLK && SelectedFolder() >= 0) EditFolder(SelectedFolder());
        return false;
    }
    return false;
}

bool CPageTaskVapmSearch::ValidatePage()
{
    if (HasDiagnostics() && !m_diagSize.Accepts(kDiagSizeMin, kDiagSizeMax))
        return ShowRangeError(kDiagSize, 0, kDiagSizeMin, kDiagSizeMax, kDiagSizeText);
    return true;
}

std::int32_t CPageTaskVapmSearch::SourceShown() const
{
    const bool updater = IsDlgButtonChecked(kUseWindowsUpdater) == BST_CHECKED;
    const bool makers = IsDlgButtonChecked(kUseMakersData) == BST_CHECKED;
    if (updater && makers) return kBothSources;
    if (updater) return kWindowsUpdaterOnly;
    if (makers) return kMakersDataOnly;
    return m_storedSource;
}

bool CPageTaskVapmSearch::ApplyPage()
{
    if (!IsModified()) return true;  // an untouched page leaves every stored value as it was
    auto task = Provider();
    bool written = true;
    auto check = [&](NHPP::HResult result) { written = result >= 0 && written; };
    const std::int32_t source = SourceShown();
    if (source != m_storedSource) check(task->SetInt(kSourceKey, source, false));
    const bool refresh = IsDlgButtonChecked(kRefreshData) == BST_CHECKED;
    if (refresh != m_loadedRefresh)
        check(task->SetInt(kSearchModeKey, refresh ? kRefreshSearchMode : kNoRefreshSearchMode, false));
    if (m_foldersChanged) {
        auto folders = ZRPAR::CreateArrayValue();
        for (int line = 0; line < m_folders.GetItemCount(); ++line)
            folders->Append(ZRPAR::CreateValue(m_folders.GetItemText(line, 0)).Get());
        for (const auto& item : m_unreadableFolders) folders->Append(item.Get());
        check(task->SetArray(kPathsKey, folders.Get(), false));
    }
    if (HasDiagnostics()) {
        const bool diag = IsDlgButtonChecked(kExtendedDiag) == BST_CHECKED;
        if (diag != m_loadedDiag) check(task->SetBool(kDiagKey, diag, false));
        if (!m_diagSize.IsUntouched()) {
            const std::optional<std::int64_t> size = m_diagSize.StoredOrTyped();
            if (size) check(task->SetInt(kDiagSizeKey, static_cast<std::int32_t>(*size), false));
        }
    }
    if (!CommitPageSettings(m_hWnd, *task, written)) return false;
    m_loading = true;
    Load();  // what is stored now is what the next apply compares with
    UpdateControls();
    m_loading = false;
    return true;
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageTaskVapmSearch::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto task = pageData.Provider();
    auto page = ZRPAR::CreateParams();
    auto add = [&](UINT label, const std::wstring& text) {
        page->ReplaceValue(frame::NormalizeTitle(ui::LoadStringW(label)), ZRPAR::CreateValue(text).Get());
    };
    const std::int32_t source = task->GetIntOrDefault(kSourceKey, kBothSources, nullptr);
    add(kWindowsUpdaterText, frame::YesNoText(source == kBothSources || source == kWindowsUpdaterOnly));
    add(kMakersDataText, frame::YesNoText(source == kBothSources || source == kMakersDataOnly));
    std::int32_t searchMode = kRefreshSearchMode;
    add(kRefreshText,
        frame::YesNoText(task->GetInt(kSearchModeKey, searchMode, nullptr) != NHPP::kOk || searchMode == kRefreshSearchMode));
    std::wstring folders;
    for (const std::wstring& folder : ReadFolders(*task).texts) folders += (folders.empty() ? L"" : L"; ") + folder;
    add(kFoldersText, folders);
    if (ServerKeepsDiagnostics(pageData)) {
        add(kDiagText, frame::YesNoText(task->GetBoolOrDefault(kDiagKey, false, nullptr)));
        add(kDiagSizeText, std::to_wstring(task->GetIntOrDefault(kDiagSizeKey, kDiagSizeDefault, nullptr)));
    }
    return {page};
}
