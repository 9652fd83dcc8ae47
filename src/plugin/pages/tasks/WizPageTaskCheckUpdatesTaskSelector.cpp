#include "plugin/pages/tasks/WizPageTaskCheckUpdatesTaskSelector.h"

#include <algorithm>

#include "nhpp/PageData.h"
#include "plugin/frame/ErrorMessage.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/tasks/CheckUpdatesTask.h"
#include "ui/Mouse.h"
#include "zrstd/Trace.h"

namespace {

using Selector = CWizPageTaskCheckUpdatesTaskSelectorBase;
using checkupdates::GroupTask;

constexpr int kTaskNameWidth = 250;

std::wstring StringIn(const ZRPAR::Params& item, const wchar_t* name)
{
    const ZRPAR::Value* value = item.FindValue(name);
    return value && value->GetType() == ZRPAR::VT_STRING ? static_cast<const ZRPAR::StringValue*>(value)->GetValue()
                                                          : std::wstring();
}

// The chosen item as a container, or null when it is none.
const ZRPAR::Params* ItemParams(const ZRPAR::Value* item)
{
    return item && item->GetType() == ZRPAR::VT_PARAMS ? static_cast<const ZRPAR::ParamsValue*>(item)->GetValue()
                                                        : nullptr;
}

}  // namespace

ui::DialogTemplate CWizPageTaskCheckUpdatesTaskSelectorBase::Template(UINT templateId)
{
    ui::DialogTemplate dialog;
    dialog.id = templateId;
    // embedded, the selector fills a placeholder of the settings page
    const bool embedded = templateId == kEmbeddedTemplate;
    dialog.rect = embedded ? RECT{0, 0, 430, 130} : RECT{0, 0, 440, 300};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    const std::int32_t bottom = embedded ? 125 : 290;
    dialog.controls = {
        {kPrompt, L"Static", L"", visible, {5, 5, 425, 30}},
        {kTasks, L"SysListView32", L"",
         visible | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, {5, 34, 425, bottom}},
    };
    return dialog;
}

CWizPageTaskCheckUpdatesTaskSelectorBase::CWizPageTaskCheckUpdatesTaskSelectorBase(
    UINT templateId, std::shared_ptr<NHPP::CNHPPageData> pageData, const wchar_t* key, checkupdates::TaskKind kind,
    UINT prompt)
    : CNHPPropertyPageBase(templateId, std::move(pageData)), m_key(key), m_kind(kind), m_prompt(prompt)
{
}

bool CWizPageTaskCheckUpdatesTaskSelectorBase::CreateEmbedded(HWND page, int placeholder)
{
    m_embedded = true;
    m_cancelToParent = true;
    if (!Create(GetTemplateId(), page)) return false;
    MoveWindow(::GetWindowRect(::GetDlgItem(page, placeholder)));
    return true;
}

bool CWizPageTaskCheckUpdatesTaskSelectorBase::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    if (m_kind == checkupdates::TaskKind::Scan) {
        ::SetWindowLongW(GetDlgItem(kPrompt), GWL_ID, kScanPrompt);
        ::SetWindowLongW(GetDlgItem(kTasks), GWL_ID, kScanTasks);
        m_promptId = kScanPrompt;
        m_listId = kScanTasks;
    }
    SetDlgItemText(m_promptId, ui::LoadStringW(m_prompt));
    m_tasks.SubclassDlgItem(m_listId, m_hWnd);
    m_tasks.SetSaveOnDestroy(false);
    m_tasks.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    m_tasks.InsertColumn(0, ui::LoadStringW(checkupdates::kTaskNameColumnText), kTaskNameWidth);
    const RECT list = ::GetClientRect(GetDlgItem(m_listId));
    m_tasks.InsertColumn(1, ui::LoadStringW(checkupdates::kProductColumnText),
                         std::max<int>(60, static_cast<int>(list.right - list.left) - kTaskNameWidth));
    Data2UIInternal();
    m_loading = false;
    return true;
}

void CWizPageTaskCheckUpdatesTaskSelectorBase::ShowReadError(const ZRERR::Error& error, const wchar_t* operation)
{
    ZRSTD::Trace(1, L"%s: %s", operation, error.GetMessage());
    CZRNGTErrorMessage reporter(L"", m_hWnd);
    reporter.ShowError(&error);
}

void CWizPageTaskCheckUpdatesTaskSelectorBase::Data2UIInternal()
{
    m_rows.clear();
    m_unreadable.clear();
    m_tasks.DeleteAllItems();
    std::vector<GroupTask> known;
    try {
        known = checkupdates::ReadGroupTasks(GetPageData()->GetDataSource());
    } catch (const ZRERR::Error& error) {
        // the tasks already chosen are still shown
        ShowReadError(error, L"CWizPageTaskCheckUpdatesTaskSelectorBase::Data2UIInternal");
    }
    for (GroupTask& task : FilterTasks(known)) m_rows.push_back({std::move(task), nullptr});
    const std::size_t offered = m_rows.size();

    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> chosen;
    if (Provider()->GetArray(m_key, &chosen, nullptr) != NHPP::kOk) chosen = nullptr;
    for (std::size_t i = 0; chosen && i < chosen->GetSize(); ++i) {
        ZRPAR::Value* item = chosen->ItemAt(i);
        const ZRPAR::Params* params = ItemParams(item);
        const std::wstring storageId = params ? StringIn(*params, checkupdates::kItemStorageId) : std::wstring();
        if (storageId.empty()) {
            if (item) m_unreadable.emplace_back(item);
            continue;
        }
        bool shown = false;
        for (std::size_t row = 0; row < offered && !shown; ++row) {
            if (m_rows[row].stored || m_rows[row].task.storageId != storageId) continue;
            m_rows[row].stored = item;
            shown = true;
        }
        if (!shown) m_rows.push_back(DisplayTaskFromSettings(item, known));
    }

    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const int line = static_cast<int>(i);
        m_tasks.InsertItem(line, m_rows[i].task.displayName, static_cast<LPARAM>(i));
        m_tasks.SetItemText(line, 1, m_rows[i].task.productName);
        m_tasks.SetCheck(line, m_rows[i].stored != nullptr);
    }
}

Selector::Row CWizPageTaskCheckUpdatesTaskSelectorBase::DisplayTaskFromSettings(ZRPAR::Value* item,
                                                                               const std::vector<GroupTask>& known)
{
    const ZRPAR::Params& params = *ItemParams(item);
    Row row;
    row.stored = item;
    row.task.storageId = StringIn(params, checkupdates::kItemStorageId);
    row.task.taskId = StringIn(params, checkupdates::kItemTaskId);
    row.task.productName = StringIn(params, checkupdates::kItemProductName);
    row.task.productVersion = StringIn(params, checkupdates::kItemProductVersion);
    row.task.displayName = row.task.storageId;
    for (const GroupTask& task : known)
        if (task.storageId == row.task.storageId && !task.displayName.empty()) row.task.displayName = task.displayName;
    return row;
}

std::vector<int> CWizPageTaskCheckUpdatesTaskSelectorBase::CheckedRows() const
{
    std::vector<int> checked;
    for (int line = 0; line < m_tasks.GetItemCount(); ++line)
        if (m_tasks.GetCheck(line)) checked.push_back(line);
    return checked;
}

bool CWizPageTaskCheckUpdatesTaskSelectorBase::OnNotify(NMHDR* header, LRESULT*)
{
    if (m_loading || !header || header->idFrom != static_cast<std::uintptr_t>(m_listId) || header->code != LVN_ITEMCHANGED)
        return false;
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if (!(change->uChanged & LVIF_STATE) || !((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK)) return false;
    m_choiceChanged = true;
    if (m_embedded) ::SendMessageW(GetParent(), checkupdates::kSelectionChanged, 0, 0);
    else SetModified();
    return false;
}

bool CWizPageTaskCheckUpdatesTaskSelectorBase::WriteChoice(NHPP::CParams& provider)
{
    auto chosen = ZRPAR::CreateArrayValue();
    for (int line : CheckedRows()) {
        const auto index = static_cast<std::size_t>(m_tasks.GetItemData(line));
        if (index >= m_rows.size()) continue;
        const Row& row = m_rows[index];
        if (row.stored) {
            chosen->Append(row.stored.Get());  // a task chosen before goes back as it was read
            continue;
        }
        auto item = ZRPAR::CreateParamsBody({{checkupdates::kItemProductName, row.task.productName},
                                             {checkupdates::kItemProductVersion, row.task.productVersion},
                                             {checkupdates::kItemStorageId, row.task.storageId},
                                             {checkupdates::kItemTaskId, row.task.taskId}});
        chosen->Append(ZRPAR::CreateValue(item.Get()).Get());
    }
    for (const auto& item : m_unreadable) chosen->Append(item.Get());
    return provider.SetArray(m_key, chosen.Get(), false) >= 0;
}

bool CWizPageTaskCheckUpdatesTaskSelectorBase::ApplyPage()
{
    if (!m_choiceChanged) return true;  // an untouched choice stays as it is stored
    auto provider = Provider();
    if (!CommitPageSettings(m_hWnd, *provider, WriteChoice(*provider))) return false;
    m_choiceChanged = false;
    return true;
}

CWizPageTaskCheckUpdatesUpdateTaskSelector::CWizPageTaskCheckUpdatesUpdateTaskSelector(
    std::shared_ptr<NHPP::CNHPPageData> pageData, UINT templateId)
    : CWizPageTaskCheckUpdatesTaskSelectorBase(templateId, std::move(pageData), checkupdates::kUpdateTasksKey,
                                               checkupdates::TaskKind::Update, checkupdates::kUpdatePromptText)
{
}

std::vector<GroupTask> CWizPageTaskCheckUpdatesUpdateTaskSelector::FilterTasks(const std::vector<GroupTask>& tasks) const
{
    return checkupdates::OfferedTasks(tasks, checkupdates::TaskKind::Update);
}

bool CWizPageTaskCheckUpdatesUpdateTaskSelector::ValidateChoice()
{
    const std::vector<int> checked = CheckedRows();
    auto refuse = [&](UINT message) {
        ShowError(message);
        ::SetFocus(GetDlgItem(m_listId));
        return false;
    };
    if (checked.empty()) return refuse(checkupdates::kNoUpdateTask);
    std::vector<const GroupTask*> tasks;
    for (int line : checked) {
        const auto index = static_cast<std::size_t>(m_tasks.GetItemData(line));
        if (index < m_rows.size()) tasks.push_back(&m_rows[index].task);
    }
    for (std::size_t a = 0; a < tasks.size(); ++a)
        for (std::size_t b = a + 1; b < tasks.size(); ++b)
            if (tasks[a]->productName == tasks[b]->productName && tasks[a]->productVersion == tasks[b]->productVersion)
                return refuse(checkupdates::kOneUpdateTaskPerProduct);
    return true;
}

CWizPageTaskCheckUpdatesScanTaskSelector::CWizPageTaskCheckUpdatesScanTaskSelector(
    std::shared_ptr<NHPP::CNHPPageData> pageData, UINT templateId)
    : CWizPageTaskCheckUpdatesTaskSelectorBase(templateId, std::move(pageData), checkupdates::kScanTasksKey,
                                               checkupdates::TaskKind::Scan, checkupdates::kScanPromptText)
{
}

std::vector<GroupTask> CWizPageTaskCheckUpdatesScanTaskSelector::FilterTasks(const std::vector<GroupTask>& tasks) const
{
    return checkupdates::OfferedTasks(tasks, checkupdates::TaskKind::Scan);
}
