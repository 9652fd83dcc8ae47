#include "plugin/pages/agent/PageAuditWDS.h"

#include <optional>

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"
#include "zrpar/Render.h"
#include "zrstd/Trace.h"

namespace {

using Page = CPageAuditWDS;

constexpr UINT kEnableText = 2585, kReadText = 2586, kWriteText = 2587, kNoteText = 2588;

constexpr const wchar_t* kSection = L"ZRNAG_WDS_USRLOG";
constexpr const wchar_t* kEnableKey = L"ZRNAG_WDS_USRLOG_ENABLE";
constexpr const wchar_t* kReadKey = L"ZRNAG_WDS_USRLOG_READ_MASKS";
constexpr const wchar_t* kWriteKey = L"ZRNAG_WDS_USRLOG_WRITE_MASKS";

constexpr const wchar_t* kLineBreak = L"\r\n";

// The mask arrays, each with the edit that shows it and its label; the read
// masks' lock is the page's first mask lock, the write masks' the second.
struct MaskList {
    const wchar_t* key;
    int edit;
    UINT label;
};
constexpr MaskList kMaskLists[] = {{kReadKey, Page::kReadMasks, kReadText}, {kWriteKey, Page::kWriteMasks, kWriteText}};

// The masks of an array setting, with the array's lock; none when the array
// is absent (or of another type). Elements that are not texts are skipped.
std::optional<std::vector<std::wstring>> StoredMasks(NHPP::CParams& provider, const wchar_t* key,
                                                     NHPP::PolicyLockInfo* lock)
{
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> array;
    if (provider.GetArray(key, &array, lock) != NHPP::kOk || !array) return std::nullopt;
    std::vector<std::wstring> masks;
    for (std::size_t i = 0; i < array->GetSize(); ++i) {
        std::wstring mask;
        if (provider.GetArrayItem(key, i, mask) == NHPP::kOk) masks.push_back(std::move(mask));
    }
    return masks;
}

}  // namespace

const std::vector<std::wstring>& CPageAuditWDS::DefaultMasks()
{
    static const std::vector<std::wstring> masks = {L"*.txt",  L"*.rtf",  L"*.doc", L"*.xls",
                                                    L"*.docx", L"*.xlsx", L"*.odt", L"*.pdf"};
    return masks;
}

std::wstring CPageAuditWDS::MasksText(const std::vector<std::wstring>& masks)
{
    std::wstring text;
    for (const auto& mask : masks) text += mask + kLineBreak;
    return text;
}

std::vector<std::wstring> CPageAuditWDS::MasksOf(const std::wstring& text)
{
    std::vector<std::wstring> masks;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();  // the edit ends its lines with "\r\n"
        if (!line.empty()) masks.push_back(std::move(line));
        start = end + 1;
    }
    return masks;
}

ui::DialogTemplate CPageAuditWDS::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 440, 330};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    const DWORD masks = visible | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    dialog.controls = {
        {kEnable, L"Button", L"", visible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 10, 365, 26}},
        {kEnableLock, L"Static", L"", visible | WS_TABSTOP, {370, 8, 435, 28}},
        {kReadLabel, L"Static", L"", visible, {10, 40, 365, 56}},
        {kReadLock, L"Static", L"", visible | WS_TABSTOP, {370, 38, 435, 58}},
        {kReadMasks, L"Edit", L"", masks, {10, 60, 430, 170}},
        {kWriteLabel, L"Static", L"", visible, {10, 180, 365, 196}},
        {kWriteLock, L"Static", L"", visible | WS_TABSTOP, {370, 178, 435, 198}},
        {kWriteMasks, L"Edit", L"", masks, {10, 200, 430, 310}},
        {kNote, L"Static", L"", WS_CHILD, {10, 312, 430, 328}},  // hidden
    };
    return dialog;
}

CPageAuditWDS::CPageAuditWDS(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(kTemplate, std::move(pageData))
{
}

bool CPageAuditWDS::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    SetControlTexts({{kReadLabel, kReadText}, {kWriteLabel, kWriteText}, {kEnable, kEnableText}, {kNote, kNoteText}});
    const LockCtrlTexts lockTexts = LoadLockCtrlTexts(pageres::kLockImages, pageres::kInfoIcon);
    const struct {
        CLockCtrl* lock;
        int id;
        std::vector<int> governed;
    } locks[] = {{&m_maskLocks[0], kReadLock, {kReadLabel, kReadMasks}},
                 {&m_maskLocks[1], kWriteLock, {kWriteLabel, kWriteMasks}},
                 {&m_enableLock, kEnableLock, {kEnable}}};
    for (const auto& lock : locks) lock.lock->Attach(m_hWnd, lock.id, m_localMode, lock.governed, lockTexts);
    Load();
    UpdateControls();
    m_loading = false;
    return true;
}

void CPageAuditWDS::Load()
{
    auto provider = Provider(kSection);
    NHPP::PolicyLockInfo enableLock;
    CheckDlgButton(kEnable, provider->GetBoolOrDefault(kEnableKey, false, &enableLock) ? BST_CHECKED : BST_UNCHECKED);
    m_enableLock.SetLockState(enableLock);
    for (std::size_t i = 0; i < std::size(kMaskLists); ++i) {
        NHPP::PolicyLockInfo lock;
        const auto stored = StoredMasks(*provider, kMaskLists[i].key, &lock);
        SetDlgItemText(kMaskLists[i].edit, MasksText(stored ? *stored : DefaultMasks()));
        m_concatenated[i] = lock.concatArray;
        m_maskLocks[i].SetLockState(lock);
    }
}

void CPageAuditWDS::UpdateControls()
{
    const bool enabled = IsDlgButtonChecked(kEnable) == BST_CHECKED;
    for (std::size_t i = 0; i < std::size(kMaskLists); ++i) {
        const CLockCtrl& lock = m_maskLocks[i];
        ::SendMessageW(GetDlgItem(kMaskLists[i].edit), EM_SETREADONLY, enabled && !lock.IsLockedByParent() ? FALSE : TRUE, 0);
        // the lock's choice is offered while the audit is on and the lock is the page's to set
        ::EnableWindow(lock.GetDropDown(), enabled && !lock.IsLockedByParent() && !lock.IsLocalMode());
    }
}

bool CPageAuditWDS::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading) return false;
    switch (id) {
    case kReadMasks:
    case kWriteMasks:
        if (code != EN_CHANGE) return false;
        break;
    case kEnable:
        if (code != BN_CLICKED) return false;
        UpdateControls();
        break;
    case kEnableLock:
    case kReadLock:
    case kWriteLock:
        if (code != BN_CLICKED) return false;
        break;
    default: return false;
    }
    SetModified();
    return true;
}

bool CPageAuditWDS::ApplyPage()
{
    auto provider = Provider(kSection);
    bool written = provider->SetBool(kEnableKey, IsDlgButtonChecked(kEnable) == BST_CHECKED, m_enableLock.IsMandatory()) >= 0;
    // an array a parent policy locks stays as it is, with the parent's lock data
    auto writable = [&](std::size_t i) { return !m_maskLocks[i].IsLockedByParent(); };
    for (std::size_t i = 0; i < std::size(kMaskLists); ++i)
        if (writable(i)) written = provider->Remove(kMaskLists[i].key) >= 0 && written;
    for (std::size_t i = 0; i < std::size(kMaskLists); ++i) {
        if (!writable(i)) continue;
        const wchar_t* key = kMaskLists[i].key;
        const std::vector<std::wstring> masks = MasksOf(GetDlgItemText(kMaskLists[i].edit));
        for (const auto& mask : masks) written = provider->PushbackArrayItem(key, mask, nullptr) >= 0 && written;
        // no masks write no array (not even an empty one): the next opening shows the default masks
        if (!masks.empty())
            written = provider->SetMandatoryForArray(key, m_maskLocks[i].IsMandatory(), m_concatenated[i]) >= 0 && written;
    }
    ZRSTD::CAutoPtr<ZRPAR::Params> root;
    if (ZRSTD::TraceEnabled(1) && provider->GetRoot(&root) >= 0 && root) {
        ZRSTD::Trace(1, L"CPageAuditWDS::ApplyPage: section %s", kSection);
        ZRPARLOG_LogParams2(1, ZRSTD::kTraceModule, root.Get());
    }
    return CommitPageSettings(m_hWnd, *provider, written);
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageAuditWDS::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto provider = pageData.Provider(kSection);
    auto page = ZRPAR::CreateParams();
    NHPP::PolicyLockInfo enableLock;
    const bool enabled = provider->GetBoolOrDefault(kEnableKey, false, &enableLock);
    frame::AddSettingNode(*page, kEnableText, frame::YesNoText(enabled), enableLock.mandatory);
    for (const MaskList& list : kMaskLists) {
        NHPP::PolicyLockInfo lock;
        const auto stored = StoredMasks(*provider, list.key, &lock);
        auto masks = ZRPAR::CreateArrayValue();
        for (const auto& mask : stored ? *stored : DefaultMasks()) masks->Append(ZRPAR::CreateValue(mask).Get());
        frame::AddSettingNode(*page, list.label, masks.Get(), lock.mandatory);
    }
    return {page};
}

CPageAuditWDSProduct::CPageAuditWDSProduct(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CPageAuditWDS(std::move(pageData))
{
    m_localMode = true;
}
