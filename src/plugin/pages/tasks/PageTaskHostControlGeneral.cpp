#include "plugin/pages/tasks/PageTaskHostControlGeneral.h"

#include <cstdint>
#include <optional>

#include "controls/PluginEnvironment.h"
#include "nhpp/PageData.h"
#include "plugin/frame/Exporter.h"
#include "plugin/pages/PageCommit.h"
#include "ui/CommonControls.h"

namespace {

using Page = CPageTaskHostControlGeneral;

constexpr UINT kTitleText = 2140, kTurnOnText = 2174, kShutDownText = 2175, kRestartText = 2176,
               kMessageText = 2177, kAskText = 2178, kRepeatText = 2179, kForceRestartText = 2180,
               kForceShutdownText = 2269, kCloseText = 2173, kRestartMessage = 2142, kShutdownMessage = 2267;

constexpr const wchar_t* kShutdownKey = L"ZRNAG_TASK_COMP_CONTROL_SHUTDOWN";
constexpr const wchar_t* kTurnOnAfterKey = L"ZRNAG_SHUTDOWN_TURN_ON_AFTER_SHUTDOWN";
constexpr const wchar_t* kCloseKey = L"ZRNAG_SHUTDOWN_FROCE_CLOSE_APP";
constexpr const wchar_t* kClosePeriodKey = L"ZRNAG_SHUTDOWN_FROCE_CLOSE_APP_PERIOD";
constexpr const wchar_t* kAskKey = L"ZRNAG_SHUTDOWN_ASK";
constexpr const wchar_t* kImmediatelyKey = L"ZRNAG_SHUTDOWN_IMMEDIATELY";
constexpr const wchar_t* kQuestionKey = L"ZRNAG_SHUTDOWN_ASK_QUESTION";
constexpr const wchar_t* kAskPeriodKey = L"ZRNAG_SHUTDOWN_ASK_PERIOD";
constexpr const wchar_t* kForceKey = L"ZRNAG_SHUTDOWN_FORCE";
constexpr const wchar_t* kForceTimeKey = L"ZRNAG_SHUTDOWN_FORCE_TIME";

constexpr std::int64_t kSecondsPerMinute = 60;

constexpr int kUserGroup[] = {Page::kAsk,    Page::kMessageLabel, Page::kMessage,   Page::kRepeat, Page::kRepeatPeriod,
                              Page::kRepeatSpin, Page::kForce,    Page::kForceTime, Page::kForceSpin};
constexpr int kApplicationsGroup[] = {Page::kCloseApplications, Page::kClosePeriod, Page::kCloseSpin};

// A period in seconds as apply writes it, if the edit holds one.
std::optional<std::int32_t> Seconds(const CRangeEdit& edit)
{
    const std::optional<std::int64_t> value = edit.StoredOrTyped();
    if (!value || *value < INT32_MIN || *value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

}  // namespace

ui::DialogTemplate CPageTaskHostControlGeneral::Template(UINT templateId)
{
    ui::DialogTemplate dialog;
    dialog.id = templateId;
    dialog.rect = {0, 0, 440, 330};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    const DWORD number = visible | WS_TABSTOP | ES_NUMBER;
    const DWORD check = visible | WS_TABSTOP | BS_AUTOCHECKBOX;
    dialog.controls = {
        {kTurnOn, L"Button", L"", visible | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, {10, 10, 430, 26}},
        {kShutDown, L"Button", L"", visible | BS_AUTORADIOBUTTON, {10, 30, 430, 46}},
        {kRestart, L"Button", L"", visible | BS_AUTORADIOBUTTON, {10, 50, 430, 66}},
        {kAsk, L"Button", L"", check | WS_GROUP, {10, 76, 430, 92}},
        {kMessageLabel, L"Static", L"", visible, {25, 98, 430, 114}},
        {kMessage, L"Edit", L"", visible | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL,
         {25, 116, 430, 170}},
        {kRepeat, L"Button", L"", check, {25, 178, 350, 194}},
        {kRepeatPeriod, L"Edit", L"", number, {355, 176, 415, 196}},
        {kRepeatSpin, L"msctls_updown32", L"", visible, {415, 176, 430, 196}},
        {kForce, L"Button", L"", check, {25, 202, 350, 218}},
        {kForceTime, L"Edit", L"", number, {355, 200, 415, 220}},
        {kForceSpin, L"msctls_updown32", L"", visible, {415, 200, 430, 220}},
    };
    if (templateId == kFullTemplate) {
        dialog.controls.push_back({kCloseApplications, L"Button", L"", check, {10, 232, 350, 260}});
        dialog.controls.push_back({kClosePeriod, L"Edit", L"", number, {355, 234, 415, 254}});
        dialog.controls.push_back({kCloseSpin, L"msctls_updown32", L"", visible, {415, 234, 430, 254}});
    } else {
        // the compact layout has the group too, hidden for good
        dialog.controls.push_back({kCloseApplications, L"Button", L"", WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX,
                                   {10, 232, 350, 260}});
        dialog.controls.push_back({kClosePeriod, L"Edit", L"", WS_CHILD | WS_TABSTOP | ES_NUMBER, {355, 234, 415, 254}});
        dialog.controls.push_back({kCloseSpin, L"msctls_updown32", L"", WS_CHILD, {415, 234, 430, 254}});
    }
    return dialog;
}

CPageTaskHostControlGeneral::CPageTaskHostControlGeneral(UINT templateId, std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(templateId == kCompactTemplate ? kCompactTemplate : kFullTemplate, std::move(pageData))
{
}

bool CPageTaskHostControlGeneral::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    m_loading = true;
    SetControlTexts({{kTurnOn, kTurnOnText},
                     {kShutDown, kShutDownText},
                     {kRestart, kRestartText},
                     {kAsk, kAskText},
                     {kMessageLabel, kMessageText},
                     {kRepeat, kRepeatText},
                     {kForce, kForceRestartText},
                     {kCloseApplications, kCloseText}});
    const struct {
        CRangeEdit& edit;
        int id, spin;
    } periods[] = {{m_repeatPeriod, kRepeatPeriod, kRepeatSpin},
                   {m_forceTime, kForceTime, kForceSpin},
                   {m_closePeriod, kClosePeriod, kCloseSpin}};
    for (const auto& period : periods) {
        period.edit.SubclassDlgItem(period.id, m_hWnd);
        period.edit.SetRange(static_cast<std::uint32_t>(kMinMinutes), static_cast<std::uint32_t>(kMaxMinutes));
        period.edit.SetSpin(GetDlgItem(period.spin));
    }
    Load();
    UpdateControls();
    m_loading = false;
    return true;
}

void CPageTaskHostControlGeneral::Load()
{
    m_settings = std::make_unique<CTaskSettings>(Provider());
    CTaskSettings& settings = *m_settings;
    const bool shutdown = settings.ReadBool(kShutdownKey, true);
    const bool turnOnAfter = settings.ReadBool(kTurnOnAfterKey, true);  // read for every action, used for shutdown
    m_loadedAction = !shutdown ? Action::TurnOn : turnOnAfter ? Action::Restart : Action::ShutDown;
    CheckDlgButton(kTurnOn, m_loadedAction == Action::TurnOn ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kShutDown, m_loadedAction == Action::ShutDown ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kRestart, m_loadedAction == Action::Restart ? BST_CHECKED : BST_UNCHECKED);

    CheckDlgButton(kCloseApplications, settings.ReadBool(kCloseKey, false) ? BST_CHECKED : BST_UNCHECKED);
    m_closePeriod.LoadStored(settings.ReadInt(kClosePeriodKey, kDefaultPeriod), kSecondsPerMinute);

    const bool ask = settings.ReadBool(kAskKey, true);
    CheckDlgButton(kAsk, ask ? BST_CHECKED : BST_UNCHECKED);
    settings.ReadBool(kImmediatelyKey, !ask);
    SetDlgItemText(kMessage, settings.ReadString(kQuestionKey, L""));
    const std::int32_t askPeriod = settings.ReadInt(kAskPeriodKey, kDefaultPeriod);
    CheckDlgButton(kRepeat, askPeriod > 0 ? BST_CHECKED : BST_UNCHECKED);
    // "do not repeat" has no minutes of its own: the edit offers the default
    m_repeatPeriod.LoadStored(askPeriod > 0 ? askPeriod : kDefaultPeriod, kSecondsPerMinute);

    CheckDlgButton(kForce, settings.ReadBool(kForceKey, false) ? BST_CHECKED : BST_UNCHECKED);
    m_forceTime.LoadStored(settings.ReadInt(kForceTimeKey, kDefaultPeriod), kSecondsPerMinute);
}

CPageTaskHostControlGeneral::Action CPageTaskHostControlGeneral::ChosenAction() const
{
    if (IsDlgButtonChecked(kTurnOn) == BST_CHECKED) return Action::TurnOn;
    return IsDlgButtonChecked(kShutDown) == BST_CHECKED ? Action::ShutDown : Action::Restart;
}

void CPageTaskHostControlGeneral::UpdateControls()
{
    const Action action = ChosenAction();
    const bool userGroup = action != Action::TurnOn;
    for (int id : kUserGroup) ::ShowWindow(GetDlgItem(id), userGroup ? SW_SHOW : SW_HIDE);
    for (int id : kApplicationsGroup) ::ShowWindow(GetDlgItem(id), userGroup && !IsCompact() ? SW_SHOW : SW_HIDE);
    SetDlgItemText(kForce, ui::LoadStringW(action == Action::ShutDown ? kForceShutdownText : kForceRestartText));

    const CTaskSettings& settings = *m_settings;
    auto checked = [&](int id) { return IsDlgButtonChecked(id) == BST_CHECKED; };
    auto enable = [&](int id, bool on, const wchar_t* key) { ::EnableWindow(GetDlgItem(id), on && !settings.IsLocked(key)); };
    const bool actionFree = !settings.IsLocked(kShutdownKey) && !settings.IsLocked(kTurnOnAfterKey);
    for (int id : {kTurnOn, kShutDown, kRestart}) ::EnableWindow(GetDlgItem(id), actionFree);
    const bool ask = checked(kAsk);
    enable(kAsk, true, kAskKey);
    enable(kMessageLabel, ask, kQuestionKey);
    enable(kMessage, ask, kQuestionKey);
    enable(kRepeat, ask, kAskPeriodKey);
    enable(kForce, ask, kForceKey);
    for (int id : {kRepeatPeriod, kRepeatSpin}) enable(id, ask && checked(kRepeat), kAskPeriodKey);
    for (int id : {kForceTime, kForceSpin}) enable(id, ask && checked(kForce), kForceTimeKey);
    enable(kCloseApplications, !IsCompact(), kCloseKey);
    for (int id : {kClosePeriod, kCloseSpin}) enable(id, !IsCompact() && checked(kCloseApplications), kClosePeriodKey);
}

void CPageTaskHostControlGeneral::FollowActionInMessage()
{
    if (!IsCompact() || m_settings->IsLocked(kQuestionKey)) return;
    switch (ChosenAction()) {
    case Action::Restart: SetDlgItemText(kMessage, ui::LoadStringW(kRestartMessage)); break;
    case Action::ShutDown: SetDlgItemText(kMessage, ui::LoadStringW(kShutdownMessage)); break;
    case Action::TurnOn: break;
    }
}

bool CPageTaskHostControlGeneral::OnCommand(WORD id, WORD code, HWND)
{
    if (m_loading) return false;
    switch (id) {
    case kTurnOn:
    case kShutDown:
    case kRestart:
        if (code != BN_CLICKED) return false;
        FollowActionInMessage();
        break;
    case kAsk:
    case kRepeat:
    case kForce:
    case kCloseApplications:
        if (code != BN_CLICKED) return false;
        break;
    case kMessage:
    case kRepeatPeriod:
    case kForceTime:
    case kClosePeriod:
        if (code != EN_CHANGE) return false;
        break;
    default: return false;
    }
    UpdateControls();
    SetModified();
    return true;
}

bool CPageTaskHostControlGeneral::ValidatePage()
{
    if (ChosenAction() == Action::TurnOn) return true;  // nothing of the user group is in force
    auto checked = [&](int id) { return IsDlgButtonChecked(id) == BST_CHECKED; };
    const struct {
        const CRangeEdit& edit;
        int id;
        bool inForce;
        UINT label;
    } periods[] = {
        {m_repeatPeriod, kRepeatPeriod, checked(kAsk) && checked(kRepeat), kRepeatText},
        {m_forceTime, kForceTime, checked(kAsk) && checked(kForce),
         ChosenAction() == Action::ShutDown ? kForceShutdownText : kForceRestartText},
        {m_closePeriod, kClosePeriod, !IsCompact() && checked(kCloseApplications), kCloseText},
    };
    for (const auto& period : periods)
        if (period.inForce && !period.edit.Accepts(kMinMinutes, kMaxMinutes))
            return ShowRangeError(period.id, 0, kMinMinutes, kMaxMinutes, period.label);
    return true;
}

bool CPageTaskHostControlGeneral::ApplyPage()
{
    CTaskSettings& settings = *m_settings;
    auto checked = [&](int id) { return IsDlgButtonChecked(id) == BST_CHECKED; };
    bool written = true;
    auto check = [&](bool result) { written = result && written; };
    const Action action = ChosenAction();
    if (action != m_loadedAction) {
        check(settings.Write(kShutdownKey, action != Action::TurnOn));
        check(settings.Write(kTurnOnAfterKey, action != Action::ShutDown));
    }
    // a period no edit holds a number for stays as stored
    auto writePeriod = [&](const wchar_t* key, const CRangeEdit& edit) {
        if (const auto seconds = Seconds(edit)) check(settings.Write(key, *seconds));
    };
    check(settings.Write(kCloseKey, checked(kCloseApplications)));
    writePeriod(kClosePeriodKey, m_closePeriod);
    const bool ask = checked(kAsk);
    check(settings.Write(kAskKey, ask));
    if (!settings.IsLocked(kAskKey)) check(settings.Write(kImmediatelyKey, !ask));  // follows what the policy enforces
    check(settings.Write(kQuestionKey, GetDlgItemText(kMessage)));
    if (checked(kRepeat)) writePeriod(kAskPeriodKey, m_repeatPeriod);
    else check(settings.Write(kAskPeriodKey, std::int32_t{0}));
    check(settings.Write(kForceKey, checked(kForce)));
    writePeriod(kForceTimeKey, m_forceTime);
    if (written) return true;
    ShowSettingsNotChanged(m_hWnd, nullptr);
    return false;
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPageTaskHostControlGeneral::Export(NHPP::CNHPPageData& pageData)
{
    PluginStateScope scope;
    auto settings = pageData.Provider();
    auto group = ZRPAR::CreateParams();
    NHPP::PolicyLockInfo lock;
    auto minutesOr = [](bool on, std::int32_t seconds) {
        return on ? std::to_wstring(seconds / kSecondsPerMinute) : frame::YesNoText(false);
    };
    const bool shutdown = settings->GetBoolOrDefault(kShutdownKey, true, &lock);
    const bool turnOnAfter = shutdown && settings->GetBoolOrDefault(kTurnOnAfterKey, true, nullptr);
    const UINT actionText = !shutdown ? kTurnOnText : turnOnAfter ? kRestartText : kShutDownText;
    frame::AddSettingNode(*group, actionText, frame::YesNoText(true), lock.mandatory);
    if (shutdown) {
        const bool ask = settings->GetBoolOrDefault(kAskKey, true, &lock);
        frame::AddSettingNode(*group, kAskText, frame::YesNoText(ask), lock.mandatory);
        if (ask) {
            std::wstring message;
            settings->GetStringOrDefault(message, kQuestionKey, L"", &lock);
            frame::AddSettingNode(*group, kMessageText, message, lock.mandatory);
            const std::int32_t askPeriod = settings->GetIntOrDefault(kAskPeriodKey, kDefaultPeriod, &lock);
            frame::AddSettingNode(*group, kRepeatText, minutesOr(askPeriod > 0, askPeriod), lock.mandatory);
            const bool force = settings->GetBoolOrDefault(kForceKey, false, &lock);
            const std::int32_t forceTime = settings->GetIntOrDefault(kForceTimeKey, kDefaultPeriod, nullptr);
            frame::AddSettingNode(*group, turnOnAfter ? kForceRestartText : kForceShutdownText,
                                  minutesOr(force, forceTime), lock.mandatory);
        }
        const bool close = settings->GetBoolOrDefault(kCloseKey, false, &lock);
        const std::int32_t closePeriod = settings->GetIntOrDefault(kClosePeriodKey, kDefaultPeriod, nullptr);
        frame::AddSettingNode(*group, kCloseText, minutesOr(close, closePeriod), lock.mandatory);
    }
    auto page = ZRPAR::CreateParams();
    page->AddValue(frame::NormalizeTitle(ui::LoadStringW(kTitleText)), ZRPAR::CreateValue(group.Get()).Get());
    return {page};
}
