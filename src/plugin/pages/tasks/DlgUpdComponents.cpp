#include "plugin/pages/tasks/DlgUpdComponents.h"

#include <set>

#include "ui/CommonControls.h"

namespace {

// strings
constexpr UINT kCaption = 2198, kForInstalledText = 2201, kOnSlavesText = 9502, kDiffsText = 2615, kForcedText = 9500,
               kTypeColumn = 2203, kDescriptionColumn = 2204, kDownloadAllText = 9501, kNoteText = 5910, kOkText = 12,
               kCancelText = 13;

constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
constexpr int kColumnWidth = 190;

std::wstring Text(const ZRPAR::Params* record, const wchar_t* key)
{
    const ZRPAR::Value* value = record ? record->FindValue(key) : nullptr;
    return value && value->GetType() == ZRPAR::VT_STRING ? static_cast<const ZRPAR::StringValue*>(value)->GetValue()
                                                         : std::wstring();
}

// The catalogue's records that name a component (others are left out).
std::vector<const ZRPAR::Params*> Records(const ZRPAR::Params* catalogue)
{
    std::vector<const ZRPAR::Params*> records;
    const ZRPAR::Value* list = catalogue ? catalogue->FindValue(L"ZRUpdates") : nullptr;
    if (!list || list->GetType() != ZRPAR::VT_ARRAY) return records;
    const auto* array = static_cast<const ZRPAR::ArrayValue*>(list);
    for (std::size_t i = 0; i < array->GetSize(); ++i) {
        const ZRPAR::Value* item = array->ItemAt(i);
        if (!item || item->GetType() != ZRPAR::VT_PARAMS) continue;
        const ZRPAR::Params* record = static_cast<const ZRPAR::ParamsValue*>(item)->GetValue();
        if (!Text(record, L"CompId").empty()) records.push_back(record);
    }
    return records;
}

}  // namespace

ui::DialogTemplate CDlgUpdComponents::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.style = WS_POPUP;
    dialog.rect = {0, 0, 440, 380};
    const DWORD check = kVisible | WS_TABSTOP | BS_AUTOCHECKBOX;
    dialog.controls = {
        {kForInstalled, L"Button", L"", check, {10, 10, 430, 26}},
        {kForInstalledOnSlaves, L"Button", L"", WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, {25, 32, 430, 48}},
        {kDiffs, L"Button", L"", check, {10, 54, 430, 70}},
        {kForced, L"Button", L"", check, {10, 78, 430, 94}},
        {kList, L"SysListView32", L"", kVisible | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
         {25, 100, 430, 280}},
        {kDownloadAll, L"Button", L"", WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 286, 430, 302}},
        {kNote, L"Static", L"", kVisible, {10, 306, 430, 336}},
        {IDOK, L"Button", L"", kVisible | WS_TABSTOP | BS_DEFPUSHBUTTON, {270, 346, 345, 370}},
        {IDCANCEL, L"Button", L"", kVisible | WS_TABSTOP, {355, 346, 430, 370}},
    };
    return dialog;
}

CDlgUpdComponents::CDlgUpdComponents(std::shared_ptr<NHPP::CNHPPageData> pageData, UpdaterContents contents,
                                     ZRSTD::CAutoPtr<ZRPAR::Params> catalogue, std::int32_t serverVersion)
    : CNHPDialog(kTemplate, std::move(pageData)),
      m_contents(std::move(contents)),
      m_catalogue(std::move(catalogue)),
      m_serverVersion(serverVersion)
{
}

bool CDlgUpdComponents::OnInitDialog()
{
    CNHPDialog::OnInitDialog();
    SetWindowText(ui::LoadStringW(kCaption));
    SetControlTexts({{kForInstalled, kForInstalledText},
                     {kForInstalledOnSlaves, kOnSlavesText},
                     {kDiffs, kDiffsText},
                     {kForced, kForcedText},
                     {kDownloadAll, kDownloadAllText},
                     {kNote, kNoteText},
                     {IDOK, kOkText},
                     {IDCANCEL, kCancelText}});
    m_contents.onlyListedApps = true;
    m_contents.forInstalledOnSlaves = m_contents.forInstalledOnSlaves && m_contents.forInstalled;
    CheckDlgButton(kForInstalled, m_contents.forInstalled ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kForInstalledOnSlaves, m_contents.forInstalledOnSlaves ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kDiffs, m_contents.diffs ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kForced, m_contents.components->GetSize() > 0 ? BST_CHECKED : BST_UNCHECKED);

    m_rows.SubclassDlgItem(kList, m_hWnd);
    m_rows.SetSaveOnDestroy(false);
    m_rows.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    m_rows.InsertColumn(0, ui::LoadStringW(kTypeColumn), kColumnWidth);
    m_rows.InsertColumn(1, ui::LoadStringW(kDescriptionColumn), kColumnWidth);
    for (const ZRPAR::Params* record : Records(m_catalogue.Get())) {
        Row row{Text(record, L"AppId"), Text(record, L"CompId")};
        // the row's data is its index: sorting the list moves rows, not ids
        const int line = m_rows.InsertItem(m_rows.GetItemCount(), Text(record, L"Name"),
                                           static_cast<LPARAM>(m_rowIds.size()));
        m_rows.SetItemText(line, 1, Text(record, L"Descr"));
        m_rows.SetCheck(line, m_contents.components->DoesExist(row.componentId) &&
                                  (row.appId.empty() || m_contents.applications->DoesExist(row.appId)));
        m_rowIds.push_back(std::move(row));
    }
    UpdateControls();
    return true;
}

void CDlgUpdComponents::UpdateControls()
{
    if (m_serverVersion >= kFirstServerWithFreeContents) return;
    ::EnableWindow(GetDlgItem(kList), Checked(kForced));
    ::EnableWindow(GetDlgItem(kForInstalledOnSlaves), Checked(kForInstalled));
    ::EnableWindow(GetDlgItem(IDOK), Checked(kForced) || Checked(kForInstalled) || Checked(kDownloadAll));
}

bool CDlgUpdComponents::OnCommand(WORD id, WORD code, HWND)
{
    if (code != BN_CLICKED) return false;
    if (id == kForInstalled) CheckDlgButton(kForInstalledOnSlaves, Checked(kForInstalled) ? BST_CHECKED : BST_UNCHECKED);
    if (id == kForInstalled || id == kForced || id == kDownloadAll) {
        UpdateControls();
        return true;
    }
    return false;
}

void CDlgUpdComponents::OnOK()
{
    m_contents.forInstalled = Checked(kForInstalled);
    m_contents.forInstalledOnSlaves = m_contents.forInstalled;
    m_contents.diffs = Checked(kDiffs);
    m_contents.onlyListedApps = true;
    auto components = ZRPAR::CreateParams();
    auto applications = ZRPAR::CreateParams();
    if (Checked(kForced)) {
        // ids the catalogue does not list (a server that keeps none) are not the administrator's to lose here
        std::set<std::wstring> listedComponents, listedApps;
        for (const Row& row : m_rowIds) {
            listedComponents.insert(row.componentId);
            listedApps.insert(row.appId);
        }
        auto choose = [](ZRPAR::Params& into, const ZRPAR::Params& before, const std::wstring& id) {
            ZRPAR::Value* kept = before.FindValue(id);  // a chosen id keeps what it held
            into.ReplaceValue(id, kept ? kept : ZRPAR::CreateValue(ZRPAR::CreateParams().Get()).Get());
        };
        for (const auto& name : m_contents.components->GetNames())
            if (!listedComponents.count(name)) choose(*components, *m_contents.components, name);
        for (const auto& name : m_contents.applications->GetNames())
            if (!listedApps.count(name)) choose(*applications, *m_contents.applications, name);
        for (int line = 0; line < m_rows.GetItemCount(); ++line) {
            const auto index = static_cast<std::size_t>(m_rows.GetItemData(line));
            if (!m_rows.GetCheck(line) || index >= m_rowIds.size()) continue;
            const Row& row = m_rowIds[index];
            choose(*components, *m_contents.components, row.componentId);
            if (!row.appId.empty()) choose(*applications, *m_contents.applications, row.appId);
        }
    }
    m_contents.components = components;
    m_contents.applications = applications;
    CNHPDialog::OnOK();
}
