#include "plugin/pages/tasks/PageTaskCheckUpdatesGeneral.h"

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/tasks/CheckUpdatesTask.h"
#include "zrstd/Trace.h"

namespace {

using namespace checkupdates;

// The two flags as stored (a value of another type reads as its default).
struct Flags {
    bool needRestart = kNeedRestartDefault;
    bool checkRdp = kCheckRdpDefault;
};

Flags ReadFlags(NHPP::CParams& provider)
{
    return {provider.GetBoolOrDefault(kNeedRestartKey, kNeedRestartDefault, nullptr),
            provider.GetBoolOrDefault(kCheckRdpKey, kCheckRdpDefault, nullptr)};
}

// Writes each flag whose box no longer shows what was read, so that an
// untouched box leaves its stored value (or its absence) as it was.
bool WriteChangedFlags(HWND page, int restartBox, int rdpBox, const Flags& loaded, NHPP::CParams& provider, bool& any)
{
    bool written = true;
    const struct {
        int box;
        bool was;
        const wchar_t* key;
    } flags[] = {{restartBox, loaded.needRestart, kNeedRestartKey}, {rdpBox, loaded.checkRdp, kCheckRdpKey}};
    for (const auto& flag : flags) {
        const bool checked = ::SendMessageW(::GetDlgItem(page, flag.box), BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (checked == flag.was) continue;
        any = true;
        written = provider.SetBool(flag.key, checked, false) >= 0 && written;
    }
    return written;
}

std::vector<ui::ControlTemplate> FlagControls(int restartBox, int rdpBox, std::int32_t top)
{
    const DWORD box = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | BS_MULTILINE;
    return {{restartBox, L"Button", L"", box, {10, top, 430, top + 18}},
            {rdpBox, L"Button", L"", box, {10, top + 24, 430, top + 42}}};
}

// The names of the chosen tasks as the console knows them (a task it does
// not know by its storage id), joined for the export.
std::wstring ChosenTaskNames(NHPP::CParams& provider, const wchar_t* key, const std::vector<GroupTask>& known)
{
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> chosen;
    if (provider.GetArray(key, &chosen, nullptr) != NHPP::kOk || !chosen) return {};
    std::wstring names;
    for (std::size_t i = 0; i < chosen->GetSize(); ++i) {
        const ZRPAR::Value* item = chosen->ItemAt(i);
        if (!item || item->GetType() != ZRPAR::VT_PARAMS) continue;
        const ZRPAR::Value* id = static_cast<const ZRPAR::ParamsValue*>(item)->GetValue()->FindValue(kItemStorageId);
        if (!id || id->GetType() != ZRPAR::VT_STRING) continue;
        std::wstring name = static_cast<const ZRPAR::StringValue*>(id)->GetValue();
        for (const GroupTask& task : known)
            if (task.storageId == name && !task.displayName.empty()) {
                name = task.displayName;
                break;
            }
        names += (names.empty() ? L"" : L"; ") + name;
    }
    return names;
}

}  // namespace

ui::DialogTemplate CPageTaskCheckUpdatesGeneral::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 340};
    // the placeholders only mark where the selectors go
    dialog.controls = {
        {kUpdateTasksPlace, L"Static", L"", WS_CHILD, {5, 5, 435, 135}},
        {kScanTasksPlace, L"Static", L"", WS_CHILD, {5, 140, 435, 270}},
    };
    for (auto& control : FlagControls(kNeedRestart, kCheckRdp, 280)) dialog.controls.push_back(control);
    return dialog;
}

CPageTaskCheckUpdatesGeneral::CPageTaskCheckUpdatesGeneral(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, pageData),
      m_updateTasks(ZRSTD::MakeRef<CWizPageTaskCheckUpdatesUpdateTaskSelector>(
          pageData, CWizPageTaskCheckUpdatesTaskSelectorBase::kEmbeddedTemplate)),
      m_scanTasks(ZRSTD::MakeRef<CWizPageTaskCheckUpdatesScanTaskSelector>(
          pageData, CWizPageTaskCheckUpdatesTaskSelectorBase::kEmbeddedTemplate))
{
}

CPageTaskCheckUpdatesGeneral::~CPageTaskCheckUpdatesGeneral() = default;

bool CPageTaskCheckUpdatesGeneral::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    m_updateTasks->CreateEmbedded(m_hWnd, kUpdateTasksPlace);
    m_scanTasks->CreateEmbedded(m_hWnd, kScanTasksPlace);
    SetControlTexts({{kNeedRestart, kRestartText}, {kCheckRdp, kCheckRdpText}});
    const Flags flags = ReadFlags(*Provider());
    m_loadedRestart = flags.needRestart;
    m_loadedRdp = flags.checkRdp;
    CheckDlgButton(kNeedRestart, flags.needRestart ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kCheckRdp, flags.checkRdp ? BST_CHECKED : BST_UNCHECKED);
    m_loading = false;
    return true;
}

void CPageTaskCheckUpdatesGeneral::UpdateLayout()
{
    const struct {
        CWizPageTaskCheckUpdatesTaskSelectorBase* selector;
        int place;
    } selectors[] = {{m_updateTasks.Get(), kUpdateTasksPlace}, {m_scanTasks.Get(), kScanTasksPlace}};
    for (const auto& entry : selectors)
        if (entry.selector->GetSafeHwnd()) entry.selector->MoveWindow(::GetWindowRect(GetDlgItem(entry.place)));
}

LRESULT CPageTaskCheckUpdatesGeneral::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kSelectionChanged) {
        if (!m_loading) SetModified();
        return 0;
    }
    return CNHPPropertyPageBase::WindowProc(message, wParam, lParam);
}

bool CPageTaskCheckUpdatesGeneral::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading || (id != kNeedRestart && id != kCheckRdp) || code != BN_CLICKED) return false;
    SetModified();
    return true;
}

bool CPageTaskCheckUpdatesGeneral::ValidatePage() { return m_updateTasks->ValidateChoice(); }

bool CPageTaskCheckUpdatesGeneral::ApplyPage()
{
    auto provider = Provider();
    bool written = true, any = false;
    for (CWizPageTaskCheckUpdatesTaskSelectorBase* selector :
         {static_cast<CWizPageTaskCheckUpdatesTaskSelectorBase*>(m_updateTasks.Get()),
          static_cast<CWizPageTaskCheckUpdatesTaskSelectorBase*>(m_scanTasks.Get())}) {
        if (!selector->IsChoiceChanged()) continue;  // an untouched choice stays as stored
        any = true;
        written = selector->WriteChoice(*provider) && written;
    }
    written = WriteChangedFlags(m_hWnd, kNeedRestart, kCheckRdp, {m_loadedRestart, m_loadedRdp}, *provider, any) && written;
    if (!any) return true;
    if (!CommitPageSettings(m_hWnd, *provider, written)) return false;
    m_loadedRestart = IsDlgButtonChecked(kNeedRestart) == BST_CHECKED;
    m_loadedRdp = IsDlgButtonChecked(kCheckRdp) == BST_CHECKED;
    return true;
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageTaskCheckUpdatesGeneral::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto provider = pageData.Provider();
    std::vector<GroupTask> known;
    try {
        known = ReadGroupTasks(pageData.GetDataSource());
    } catch (const ZRERR::Error& error) {
        // the tasks are then named by their storage ids
        ZRSTD::Trace(1, L"CPageTaskCheckUpdatesGeneral::ExportAsText: %s", error.GetMessage());
    }
    auto page = ZRPAR::CreateParams();
    auto add = [&](UINT label, const std::wstring& text) {
        page->ReplaceValue(frame::NormalizeTitle(ui::LoadStringW(label)), ZRPAR::CreateValue(text).Get());
    };
    add(kUpdatePromptText, ChosenTaskNames(*provider, kUpdateTasksKey, known));
    add(kScanPromptText, ChosenTaskNames(*provider, kScanTasksKey, known));
    const Flags flags = ReadFlags(*provider);
    add(kRestartText, frame::YesNoText(flags.needRestart));
    add(kCheckRdpText, frame::YesNoText(flags.checkRdp));
    return {page};
}

ui::DialogTemplate CWizPageTaskCheckUpdatesOptions::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 80};
    dialog.controls = FlagControls(kNeedRestart, kCheckRdp, 10);
    return dialog;
}

CWizPageTaskCheckUpdatesOptions::CWizPageTaskCheckUpdatesOptions(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData))
{
}

bool CWizPageTaskCheckUpdatesOptions::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    SetControlTexts({{kNeedRestart, kRestartText}, {kCheckRdp, kCheckRdpText}});
    const Flags flags = ReadFlags(*Provider());
    m_loadedRestart = flags.needRestart;
    m_loadedRdp = flags.checkRdp;
    CheckDlgButton(kNeedRestart, flags.needRestart ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kCheckRdp, flags.checkRdp ? BST_CHECKED : BST_UNCHECKED);
    m_loading = false;
    return true;
}

bool CWizPageTaskCheckUpdatesOptions::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading || (id != kNeedRestart && id != kCheckRdp) || code != BN_CLICKED) return false;
    SetModified();
    return true;
}

bool CWizPageTaskCheckUpdatesOptions::ApplyPage()
{
    auto provider = Provider();
    bool any = false;
    const bool written = WriteChangedFlags(m_hWnd, kNeedRestart, kCheckRdp, {m_loadedRestart, m_loadedRdp}, *provider, any);
    if (!any) return true;
    if (!CommitPageSettings(m_hWnd, *provider, written)) return false;
    m_loadedRestart = IsDlgButtonChecked(kNeedRestart) == BST_CHECKED;
    m_loadedRdp = IsDlgButtonChecked(kCheckRdp) == BST_CHECKED;
    return true;
}
