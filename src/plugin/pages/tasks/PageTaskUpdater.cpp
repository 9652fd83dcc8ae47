#include "plugin/pages/tasks/PageTaskUpdater.h"

#include <optional>

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "plugin/pages/PageResources.h"
#include "zrplugin/DataSource.h"
#include "zrstd/Crypto.h"
#include "zrstd/Format.h"
#include "zrstd/PasswordEncoding.h"

namespace {

// strings
constexpr UINT kSourcesTitle = 2205, kSourcesTextId = 2240, kConfigure = 2241, kConnectionTitle = 2242,
               kConnectionTextId = 2243, kContentsTitle = 2245, kContentsTextId = 2246, kOtherTitle = 2221,
               kOtherTextId = 2248, kContentsSynchronized = 5879;
// export labels
constexpr UINT kSourceListLabel = 2254, kFolderLabel = 2215, kNoProxyLabel = 2217, kUseAccountLabel = 2601,
               kUserLabel = 2603, kPasswordLabel = 2604, kDiffsLabel = 5907, kForInstalledLabel = 2201,
               kForcedLabel = 9500, kKnownComponent = 9503, kUnknownComponent = 9504, kDistributionFolderLabel = 2222,
               kUnixFolderLabel = 7023, kUpdateAgentsLabel = 2223, kOldSchemeLabel = 7019;

// settings at the task's root
constexpr const wchar_t* kShareUser = L"ShareUsername";
constexpr const wchar_t* kSharePassword = L"SharePassword";
constexpr const wchar_t* kProxy = L"proxy";
constexpr const wchar_t* kDetectProxy = L"use_ie_proxy";
constexpr const wchar_t* kProxyUrl = L"proxy_url";
constexpr const wchar_t* kProxyPort = L"proxy_port";
constexpr const wchar_t* kProxyAuth = L"proxy_authorisation";
constexpr const wchar_t* kProxyLogin = L"proxy_login";
constexpr const wchar_t* kProxyPassword = L"proxy_pwd";
constexpr const wchar_t* kPassiveFtp = L"passive_ftp";
constexpr const wchar_t* kBypassLocal = L"bypassProxyServerForLocalAddresses";
constexpr const wchar_t* kTimeout = L"connect_tmo";
constexpr const wchar_t* kForceSlaves = L"ZRSRV_FORCE_UPD_SLAVES";
constexpr const wchar_t* kDetailedHistory = L"displayAllEventsInHistory";
constexpr const wchar_t* kServerUpdates = L"ZRSRV_SERVER_AUTOUPDATES";
constexpr const wchar_t* kAgentUpdates = L"ZRSRV_NAGENT_AUTOUPDATES";
constexpr const wchar_t* kProductUpdates = L"ZRSRV_EXTPROD_AUTOUPDATES";
constexpr const wchar_t* kUseAdditionalTargets = L"use_additional_targets";
constexpr const wchar_t* kWaitAdditionalTargets = L"wait_additional_targets";
constexpr const wchar_t* kForcePackages = L"ZRSRV_FORCE_UPD_PACKAGES";
constexpr const wchar_t* kSchema = L"retranslation_schema";
constexpr const wchar_t* kAdditionalTargets = L"additional_targets";
constexpr const wchar_t* kFolder = L"retranslation_dir";
constexpr const wchar_t* kUnixFolder = L"retranslation_dir_linux";
constexpr const wchar_t* kContents = L"RetranslationListData";
constexpr const wchar_t* kComponents = L"Components";
constexpr const wchar_t* kApplications = L"Applications";
constexpr const wchar_t* kForInstalled = L"ZRUPDSRV_RetrForInstalledProds";
constexpr const wchar_t* kForInstalledOnSlaves = L"ZRUPDSRV_RetrForInstalledProdsOnSlaves";
constexpr const wchar_t* kDiffs = L"bRetranslateDiffs";
constexpr const wchar_t* kOnlyListedApps = L"retranslate_only_listed_apps";
constexpr const wchar_t* kAlwaysTrue[] = {L"retranslate_bases", L"retranslate_urgent_updates",
                                          L"retranslate_available_updates"};

constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
using Block = UpdaterProxyBlock;

// Typed reads of the task that remember which settings were stored with a
// type the page cannot read, and whether the governing policy locks any.
class TaskReader {
public:
    TaskReader(NHPP::CParams& task, std::set<std::wstring>* unreadable) : m_task(task), m_unreadable(unreadable) {}

    bool Bool(const wchar_t* key, bool fallback)
    {
        bool value = fallback;
        return Noted(key, m_task.GetBool(key, value, Lock())) ? value : fallback;
    }
    std::int32_t Int(const wchar_t* key, std::int32_t fallback)
    {
        std::int32_t value = fallback;
        return Noted(key, m_task.GetInt(key, value, Lock())) ? value : fallback;
    }
    std::wstring String(const wchar_t* key)
    {
        std::wstring value;
        return Noted(key, m_task.GetString(key, value, Lock())) ? value : std::wstring();
    }
    ZRSTD::CAutoPtr<ZRPAR::ArrayValue> Array(const wchar_t* key)
    {
        ZRSTD::CAutoPtr<ZRPAR::ArrayValue> array;
        if (!Noted(key, m_task.GetArray(key, &array, Lock())) || !array) return nullptr;
        const ZRSTD::CAutoPtr<ZRPAR::Value> copy = array->CloneValue();  // the page's own, not the task's
        return ZRSTD::CAutoPtr<ZRPAR::ArrayValue>(static_cast<ZRPAR::ArrayValue*>(copy.Get()));
    }
    ZRSTD::CAutoPtr<ZRPAR::Params> Container(const wchar_t* key)
    {
        ZRSTD::CAutoPtr<ZRPAR::Params> params;
        if (!Noted(key, m_task.GetParams(key, &params, Lock())) || !params) return nullptr;
        return params->Clone();
    }
    ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> Binary(const wchar_t* key)
    {
        ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> chunk;
        if (!Noted(key, m_task.GetBinary(key, &chunk, Lock()))) return nullptr;
        return chunk;
    }
    bool Locked() const { return m_locked; }
    void MarkUnreadable(const wchar_t* key)
    {
        if (m_unreadable) m_unreadable->insert(key);
    }

private:
    NHPP::PolicyLockInfo* Lock()
    {
        m_lock = {};
        return &m_lock;
    }
    // true when the value was read; absent is no fault, another type is
    bool Noted(const wchar_t* key, NHPP::HResult result)
    {
        if (m_lock.locked) m_locked = true;
        if (result != NHPP::kOk && result != NHPP::kFalse) MarkUnreadable(key);
        return result == NHPP::kOk;
    }

    NHPP::CParams& m_task;
    std::set<std::wstring>* m_unreadable;
    NHPP::PolicyLockInfo m_lock;
    bool m_locked = false;
};

// Components and Applications of the update contents; a missing or
// unreadable one is empty, and an unreadable one marks the whole block.
void ReadContentsLists(TaskReader& reader, UpdaterContents& contents)
{
    contents.components = ZRPAR::CreateParams();
    contents.applications = ZRPAR::CreateParams();
    auto data = reader.Container(kContents);
    if (!data) return;
    auto take = [&](const wchar_t* name, ZRSTD::CAutoPtr<ZRPAR::Params>& into) {
        const ZRPAR::Value* list = data->FindValue(name);
        if (list && list->GetType() == ZRPAR::VT_PARAMS)
            into = static_cast<const ZRPAR::ParamsValue*>(list)->GetValue()->Clone();
        else if (list)
            reader.MarkUnreadable(kContents);
    };
    take(kComponents, contents.components);
    take(kApplications, contents.applications);
}

updater::Sources ReadSources(TaskReader& reader, NHPP::CParams& task)
{
    auto array = reader.Array(updater::kSourceListKey);
    if (!array) return updater::LegacySources(task);  // a task of the old form
    updater::Sources sources;
    for (std::size_t i = 0; i < array->GetSize(); ++i) sources.emplace_back(array->ItemAt(i));
    return sources;
}

ZRSTD::CAutoPtr<ZRPAR::Params> ComponentCatalogue(NHPP::CNHPPageData& pageData, std::int32_t serverVersion)
{
    if (serverVersion <= CPageTaskUpdater::kNewestServerWithoutCatalogue) return nullptr;
    auto server = ZRPlugin::GetDataSourceItem<ZRPlugin::IAdmServer>(pageData.GetDataSource(), L"ZRADMSRV::AdmServer2");
    if (!server) return nullptr;
    ZRSTD::CAutoPtr<ZRPAR::Params> catalogue;
    try {
        if (!server->GetUpdateComponents(&catalogue)) return nullptr;
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "CPageTaskUpdater::GetUpdateComponents");
        return nullptr;  // the list shows no rows; chosen ids are kept
    }
    return catalogue;
}

std::int32_t ServerVersionOf(const NHPP::CNHPPageData& pageData)
{
    const std::int32_t version = pageData.GetServerVersionId();
    return version ? version : CPageTaskUpdater::kUnreportedServerVersion;
}

ui::DialogTemplate BuildTemplate(UINT id)
{
    ui::DialogTemplate dialog;
    dialog.id = id;
    dialog.rect = {0, 0, 440, 380};
    using Page = CPageTaskUpdater;
    dialog.controls = {
        {Page::kSourcesGroup, L"Button", L"", kVisible | BS_GROUPBOX, {6, 4, 434, 88}},
        {Page::kSourcesText, L"Static", L"", kVisible, {16, 22, 330, 80}},
        {Page::kSourcesLink, L"Static", L"", kVisible | WS_TABSTOP | SS_NOTIFY, {340, 22, 426, 38}},
        {Page::kConnectionGroup, L"Button", L"", kVisible | BS_GROUPBOX, {6, 94, 434, 160}},
        {Page::kConnectionIcon, L"Static", L"", kVisible | SS_ICON, {16, 112, 36, 132}},
        {Page::kConnectionText, L"Static", L"", kVisible, {42, 112, 330, 152}},
        {Page::kConnectionLink, L"Static", L"", kVisible | WS_TABSTOP | SS_NOTIFY, {340, 112, 426, 128}},
        {Page::kContentsGroup, L"Button", L"", kVisible | BS_GROUPBOX, {6, 166, 434, 250}},
        {Page::kContentsIcon, L"Static", L"", kVisible | SS_ICON, {16, 184, 36, 204}},
        {Page::kContentsText, L"Static", L"", kVisible, {42, 184, 330, 242}},
        {Page::kContentsLink, L"Static", L"", kVisible | WS_TABSTOP | SS_NOTIFY, {340, 184, 426, 200}},
        {Page::kOtherGroup, L"Button", L"", kVisible | BS_GROUPBOX, {6, 256, 434, 330}},
        {Page::kOtherText, L"Static", L"", kVisible, {16, 274, 330, 322}},
        {Page::kOtherLink, L"Static", L"", kVisible | WS_TABSTOP | SS_NOTIFY, {340, 274, 426, 290}},
    };
    return dialog;
}

}  // namespace

ui::DialogTemplate CPageTaskUpdater::SheetTemplate() { return BuildTemplate(kSheetTemplate); }
ui::DialogTemplate CPageTaskUpdater::WizardTemplate() { return BuildTemplate(kWizardTemplate); }

CPageTaskUpdater::CPageTaskUpdater(std::shared_ptr<NHPP::CNHPPageData> pageData, UINT templateId)
    : CNHPPropertyPageBase(templateId, std::move(pageData)), m_wizard(templateId == kWizardTemplate)
{
    SetHelpTopic(kHelpTopic);
}

std::int32_t CPageTaskUpdater::ServerVersion() const { return ServerVersionOf(*GetPageData()); }

bool CPageTaskUpdater::IsLocalTask() const
{
    auto info = NHPP::GetAdditionalInfo(GetPageData()->GetDataSource());
    const ZRPAR::Value* local = info ? info->FindValue(L"LocalTask") : nullptr;
    return local && local->GetType() == ZRPAR::VT_BOOL && static_cast<const ZRPAR::BoolValue*>(local)->GetValue();
}

bool CPageTaskUpdater::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    SetControlTexts({{kSourcesGroup, kSourcesTitle},
                     {kSourcesText, kSourcesTextId},
                     {kSourcesLink, kConfigure},
                     {kConnectionGroup, kConnectionTitle},
                     {kConnectionText, kConnectionTextId},
                     {kConnectionLink, 2244},
                     {kContentsGroup, kContentsTitle},
                     {kContentsText, kContentsTextId},
                     {kContentsLink, 2247},
                     {kOtherGroup, kOtherTitle},
                     {kOtherText, kOtherTextId},
                     {kOtherLink, 2249}});
    const int linkIds[] = {kSourcesLink, kConnectionLink, kContentsLink, kOtherLink};
    const WORD commands[] = {kSourcesCommand, kConnectionCommand, kContentsCommand, kOtherCommand};
    for (int i = 0; i < 4; ++i) {
        m_links[i].SubclassDlgItem(linkIds[i], m_hWnd);
        m_links[i].SetCommandId(commands[i]);
    }
    if (ServerVersion() >= kFirstServerWithoutConnection)
        for (int id : {kConnectionGroup, kConnectionIcon, kConnectionText, kConnectionLink})
            ::ShowWindow(GetDlgItem(id), SW_HIDE);
    if (m_wizard)
        for (int id : {kContentsGroup, kContentsIcon, kContentsText, kContentsLink}) {
            ::ShowWindow(GetDlgItem(id), SW_HIDE);
            ::EnableWindow(GetDlgItem(id), false);
        }
    Load(*Provider());
    SetControlTexts({{kContentsText, kContentsSynchronized}});
    // a policy that enforces the task's settings leaves them to be looked at only
    if (m_lockedByPolicy)
        for (int id : linkIds) ::EnableWindow(GetDlgItem(id), false);
    return true;
}

void CPageTaskUpdater::Load(NHPP::CParams& task)
{
    m_unreadable.clear();
    m_changed.clear();
    TaskReader read(task, &m_unreadable);
    m_forcePackages = read.Bool(kForcePackages, true);
    m_forceSlaves = read.Bool(kForceSlaves, false);
    m_other.schema = read.Int(kSchema, 0);
    m_other.detailedHistory = read.Bool(kDetailedHistory, false);
    m_serverUpdates = read.Bool(kServerUpdates, true);
    m_other.updateAgents = read.Bool(kAgentUpdates, true);
    m_productUpdates = read.Bool(kProductUpdates, true);
    m_useAdditionalTargets = read.Bool(kUseAdditionalTargets, false);
    m_waitAdditionalTargets = read.Bool(kWaitAdditionalTargets, false);
    m_additionalTargets = read.Array(kAdditionalTargets);
    if (!m_additionalTargets) m_additionalTargets = ZRPAR::CreateArrayValue();
    m_other.folder = read.String(kFolder);
    m_other.unixFolder = read.String(kUnixFolder);
    ReadContentsLists(read, m_contents);
    m_sources.shareUser = read.String(kShareUser);
    m_sources.sharePassword = read.Binary(kSharePassword);
    m_sources.sources = ReadSources(read, task);

    m_proxy = {};
    m_proxy.flags = (read.Bool(kProxy, false) ? Block::kUseProxy : 0) |
                    (read.Bool(kDetectProxy, false) ? Block::kDetectAutomatically : 0) |
                    (read.Bool(kProxyAuth, false) ? Block::kAuthenticate : 0) |
                    (read.Bool(kPassiveFtp, false) ? Block::kPassiveFtp : 0) |
                    (read.Bool(kBypassLocal, false) ? Block::kBypassLocal : 0);
    m_proxy.address = read.String(kProxyUrl);
    m_proxy.port = read.Int(kProxyPort, 3128);
    m_proxy.user = read.String(kProxyLogin);
    m_proxyPassword = read.String(kProxyPassword);
    m_proxy.timeout = read.Int(kTimeout, 20);

    m_contents.forInstalled = read.Bool(kForInstalled, true);
    m_contents.forInstalledOnSlaves = read.Bool(kForInstalledOnSlaves, true);
    m_contents.diffs = read.Bool(kDiffs, false);
    m_contents.onlyListedApps = read.Bool(kOnlyListedApps, true);
    m_contentsEdited = false;
    m_lockedByPolicy = read.Locked();
}

// ---- the four dialogs -----------------------------------------------------------

void CPageTaskUpdater::EditSources()
{
    UpdaterSourceList copy{updater::CopySources(m_sources.sources), m_sources.shareUser, m_sources.sharePassword};
    CDlgUpdSources dialog(GetPageData(), std::move(copy), ServerVersion());
    if (dialog.DoModal(m_hWnd) != IDOK) return;
    const UpdaterSourceList& result = dialog.Result();
    m_sources.sources = result.sources;
    m_changed.insert(updater::kSourceListKey);
    Take(m_sources.shareUser, result.shareUser, kShareUser);
    if (result.sharePassword.Get() != m_sources.sharePassword.Get()) {
        m_sources.sharePassword = result.sharePassword;
        m_changed.insert(kSharePassword);
    }
    SetModified();
}

void CPageTaskUpdater::EditConnection()
{
    CDlgLanSettings dialog(GetPageData(), m_proxy);
    if (dialog.DoModal(m_hWnd) != IDOK) return;
    const Block& result = dialog.Result();
    const std::pair<int, const wchar_t*> bits[] = {{Block::kUseProxy, kProxy},
                                                   {Block::kDetectAutomatically, kDetectProxy},
                                                   {Block::kAuthenticate, kProxyAuth},
                                                   {Block::kPassiveFtp, kPassiveFtp},
                                                   {Block::kBypassLocal, kBypassLocal}};
    for (const auto& [bit, key] : bits)
        if ((m_proxy.flags ^ result.flags) & bit) m_changed.insert(key);
    m_proxy.flags = result.flags;
    Take(m_proxy.address, result.address, kProxyUrl);
    Take(m_proxy.port, result.port, kProxyPort);
    Take(m_proxy.user, result.user, kProxyLogin);
    Take(m_proxy.timeout, result.timeout, kTimeout);
    // the typed password is kept only encoded, never in clear
    if (result.newPassword) Take(m_proxyPassword, PWD_UTILS::GetEncodedPasswordString(*result.newPassword), kProxyPassword);
    SetModified();
}

void CPageTaskUpdater::EditContents()
{
    UpdaterContents copy = m_contents;
    copy.components = m_contents.components->Clone();
    copy.applications = m_contents.applications->Clone();
    CDlgUpdComponents dialog(GetPageData(), std::move(copy), ComponentCatalogue(*GetPageData(), ServerVersion()),
                             ServerVersion());
    if (dialog.DoModal(m_hWnd) != IDOK) return;
    m_contents = dialog.Result();
    m_contentsEdited = true;
    m_changed.insert(kContents);
    for (const wchar_t* key : {kForInstalled, kForInstalledOnSlaves, kOnlyListedApps, kDiffs}) m_changed.insert(key);
    SetModified();
}

void CPageTaskUpdater::EditOther()
{
    CDlgUpdPropAdvanced::Context context;
    context.localTask = IsLocalTask();
    context.unixPlatform = GetPageData()->GetPlatformType() == 1;
    context.serverVersion = ServerVersion();
    CDlgUpdPropAdvanced dialog(GetPageData(), m_other, context);
    if (dialog.DoModal(m_hWnd) != IDOK) return;
    const UpdaterOtherSettings& result = dialog.Result();
    Take(m_other.detailedHistory, result.detailedHistory, kDetailedHistory);
    Take(m_other.updateAgents, result.updateAgents, kAgentUpdates);
    Take(m_other.schema, result.schema, kSchema);
    Take(m_other.folder, result.folder, kFolder);
    Take(m_other.unixFolder, result.unixFolder, kUnixFolder);
    SetModified();
}

bool CPageTaskUpdater::OnCommand(WORD id, WORD code, HWND)
{
    if (code != BN_CLICKED || m_lockedByPolicy) return false;
    switch (id) {
    case kSourcesCommand: EditSources(); return true;
    case kConnectionCommand: EditConnection(); return true;
    case kContentsCommand:
        if (m_wizard) return false;  // the wizard has no contents group
        EditContents();
        return true;
    case kOtherCommand: EditOther(); return true;
    default: return false;
    }
}

// ---- apply -----------------------------------------------------------------------

bool CPageTaskUpdater::Write(NHPP::CParams& task)
{
    bool written = true;
    auto check = [&](NHPP::HResult result) {
        if (result < 0) written = false;
    };
    auto setBool = [&](const wchar_t* key, bool value) {
        if (Writes(key)) check(task.SetBool(key, value, false));
    };
    auto setInt = [&](const wchar_t* key, std::int64_t value) {
        if (Writes(key)) check(task.SetInt(key, static_cast<std::int32_t>(value), false));
    };
    auto setString = [&](const wchar_t* key, const std::wstring& value) {
        if (Writes(key)) check(task.SetString(key, value, false));
    };

    for (const wchar_t* key : kAlwaysTrue) check(task.SetBool(key, true, false));
    // newer servers keep the contents themselves; what the administrator chose here is still kept
    if (Writes(kContents) && (ServerVersion() < kFirstServerKeepingContents || m_contentsEdited)) {
        auto data = ZRPAR::CreateParams();
        data->AddValue(kComponents, ZRPAR::CreateValue(m_contents.components.Get()).Get());
        data->AddValue(kApplications, ZRPAR::CreateValue(m_contents.applications.Get()).Get());
        check(task.SetParams(kContents, data.Get(), false));
    }
    if (m_contentsEdited) {
        setBool(kForInstalled, m_contents.forInstalled);
        setBool(kForInstalledOnSlaves, m_contents.forInstalledOnSlaves);
        setBool(kOnlyListedApps, m_contents.onlyListedApps);
        setBool(kDiffs, m_contents.diffs);
    }
    if (Writes(updater::kSourceListKey))
        check(task.SetArray(updater::kSourceListKey, updater::SourceArray(m_sources.sources).Get(), false));

    setBool(kProxy, m_proxy.flags & Block::kUseProxy);
    setBool(kDetectProxy, m_proxy.flags & Block::kDetectAutomatically);
    setString(kProxyUrl, m_proxy.address);
    setInt(kProxyPort, m_proxy.port);
    setBool(kProxyAuth, m_proxy.flags & Block::kAuthenticate);
    setString(kProxyLogin, m_proxy.user);
    setString(kProxyPassword, m_proxyPassword);
    setBool(kPassiveFtp, m_proxy.flags & Block::kPassiveFtp);
    setInt(kTimeout, m_proxy.timeout);
    setBool(kBypassLocal, m_proxy.flags & Block::kBypassLocal);
    setBool(kForcePackages, m_forcePackages);
    setBool(kForceSlaves, m_forceSlaves);
    setInt(kSchema, m_other.schema);
    setBool(kDetailedHistory, m_other.detailedHistory);
    setBool(kServerUpdates, m_serverUpdates);
    setBool(kAgentUpdates, m_other.updateAgents);
    setBool(kProductUpdates, m_productUpdates);
    setBool(kUseAdditionalTargets, m_useAdditionalTargets);
    setBool(kWaitAdditionalTargets, m_waitAdditionalTargets);
    if (Writes(kAdditionalTargets)) check(task.SetArray(kAdditionalTargets, m_additionalTargets.Get(), false));
    setString(kFolder, m_other.folder);
    setString(kUnixFolder, m_other.unixFolder);
    setString(kShareUser, m_sources.shareUser);
    if (Writes(kSharePassword)) {
        // no account, no password: the protected one goes with it
        if (m_sources.sharePassword) check(task.SetBinary(kSharePassword, *m_sources.sharePassword, false));
        else check(task.Remove(kSharePassword));
    }
    return written;
}

bool CPageTaskUpdater::ApplyPage()
{
    // opened and closed untouched, or enforced by a policy: the stored task stays as it is
    if (!m_modified || m_lockedByPolicy) return true;
    auto task = Provider();
    bool written = false;
    std::optional<ZRERR::Error> why;
    try {
        written = Write(*task);
    } catch (const ZRERR::Error& error) {
        ZRERR::SayFailure2(error, "CPageTaskUpdater::OnApply");
        why = error;
    }
    return CommitPageSettings(m_hWnd, *task, written, why ? &*why : nullptr);
}

// ---- export ------------------------------------------------------------------------

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageTaskUpdater::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto task = pageData.Provider();
    const std::int32_t serverVersion = ServerVersionOf(pageData);
    TaskReader read(*task, nullptr);
    auto label = [](UINT id) { return frame::NormalizeTitle(ui::LoadStringW(id)); };
    auto text = [](const std::wstring& value) { return ZRPAR::CreateValue(value); };
    auto yesNo = [](bool value) { return ZRPAR::CreateValue(frame::YesNoText(value)); };
    auto numbered = [](ZRPAR::Params& into, const std::wstring& name, ZRPAR::Value* value) {
        std::wstring unique = name;
        for (int n = 2; into.DoesExist(unique); ++n) unique = name + L" (" + std::to_wstring(n) + L")";
        into.AddValue(unique, value);
    };

    // sources and the shared folder's account
    auto sources = ZRPAR::CreateParams();
    auto list = ZRPAR::CreateParams();
    for (const auto& source : ReadSources(read, *task)) {
        auto row = ZRPAR::CreateParams();
        row->AddValue(label(kFolderLabel), text(updater::UrlOf(source.Get())).Get());
        row->AddValue(label(kNoProxyLabel), yesNo(!updater::UsesProxy(source.Get())).Get());
        numbered(*list, updater::SourceText(source.Get()), ZRPAR::CreateValue(row.Get()).Get());
    }
    sources->AddValue(label(kSourceListLabel), ZRPAR::CreateValue(list.Get()).Get());
    const std::wstring user = read.String(kShareUser);
    sources->AddValue(label(kUseAccountLabel), yesNo(!user.empty()).Get());
    sources->AddValue(label(kUserLabel), text(user).Get());
    if (auto password = read.Binary(kSharePassword)) {
        // only a digest of the protected bytes leaves the page
        const ZRSTD::Md5Digest hash = ZRSTD::CalcMD5Hash(password->GetData(), password->GetDataSize());
        sources->AddValue(label(kPasswordLabel), ZRPAR::CreateValue(ZRPAR::binary_wrapper_t{hash.data(), hash.size()}).Get());
    }

    // update contents
    UpdaterContents contents;
    ReadContentsLists(read, contents);
    auto contentsGroup = ZRPAR::CreateParams();
    contentsGroup->AddValue(label(kDiffsLabel), yesNo(read.Bool(kDiffs, false)).Get());
    contentsGroup->AddValue(label(kForInstalledLabel), yesNo(read.Bool(kForInstalled, true)).Get());
    auto catalogue = ComponentCatalogue(pageData, serverVersion);
    auto chosen = ZRPAR::CreateParams();
    std::size_t number = 0;
    for (const auto& id : contents.components->GetNames()) {
        std::wstring name, description;
        const ZRPAR::Value* records = catalogue ? catalogue->FindValue(L"ZRUpdates") : nullptr;
        for (std::size_t i = 0; records && records->GetType() == ZRPAR::VT_ARRAY &&
                                i < static_cast<const ZRPAR::ArrayValue*>(records)->GetSize();
             ++i) {
            const ZRPAR::Value* item = static_cast<const ZRPAR::ArrayValue*>(records)->ItemAt(i);
            const ZRPAR::Params* record =
                item && item->GetType() == ZRPAR::VT_PARAMS ? static_cast<const ZRPAR::ParamsValue*>(item)->GetValue() : nullptr;
            if (!record) continue;
            const ZRPAR::Value* compId = record->FindValue(L"CompId");
            if (!compId || compId->GetType() != ZRPAR::VT_STRING ||
                static_cast<const ZRPAR::StringValue*>(compId)->GetValue() != id)
                continue;
            const ZRPAR::Value* shownName = record->FindValue(L"Name");
            const ZRPAR::Value* shownDescription = record->FindValue(L"Descr");
            if (shownName && shownName->GetType() == ZRPAR::VT_STRING)
                name = static_cast<const ZRPAR::StringValue*>(shownName)->GetValue();
            if (shownDescription && shownDescription->GetType() == ZRPAR::VT_STRING)
                description = static_cast<const ZRPAR::StringValue*>(shownDescription)->GetValue();
            break;
        }
        // a component the server's catalogue does not list is shown by its id
        const std::wstring line = name.empty()
                                      ? ZRSTD::FormatInsert(ui::LoadStringW(kUnknownComponent), {id, id})
                                      : ZRSTD::FormatInsert(ui::LoadStringW(kKnownComponent), {name, description});
        chosen->AddValue(std::to_wstring(++number), text(line).Get());
    }
    contentsGroup->AddValue(label(kForcedLabel), ZRPAR::CreateValue(chosen.Get()).Get());

    // other settings
    auto other = ZRPAR::CreateParams();
    other->AddValue(label(kDistributionFolderLabel), text(read.String(kFolder)).Get());
    other->AddValue(label(kUnixFolderLabel), text(read.String(kUnixFolder)).Get());
    other->AddValue(label(kUpdateAgentsLabel), yesNo(read.Bool(kAgentUpdates, true)).Get());
    if (serverVersion > CDlgUpdPropAdvanced::kNewestServerWithoutOldScheme)
        other->AddValue(label(kOldSchemeLabel), yesNo(read.Int(kSchema, 0) == 1).Get());

    auto page = ZRPAR::CreateParams();
    page->AddValue(label(kSourcesTitle), ZRPAR::CreateValue(sources.Get()).Get());
    page->AddValue(label(kContentsTitle), ZRPAR::CreateValue(contentsGroup.Get()).Get());
    page->AddValue(label(kOtherTitle), ZRPAR::CreateValue(other.Get()).Get());
    return {page};
}

CPageTaskUpdaterNagent::CPageTaskUpdaterNagent(std::shared_ptr<NHPP::CNHPPageData> pageData, UINT templateId)
    : CPageTaskUpdater(std::move(pageData), templateId)
{
}
