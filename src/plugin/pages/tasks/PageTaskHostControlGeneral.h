#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "controls/NHPPropertyPageBase.h"
#include "controls/RangeEdit.h"
#include "plugin/pages/tasks/TaskSettings.h"

// The host control task: turn the computer on, shut it down or restart it,
// optionally asking the logged-on user first, repeating the question, forcing
// the action after a delay and closing applications of locked sessions. The
// full layout (template 10427) is the property sheet's; the compact one
// (10428) is the creation wizard's, without the applications group and with
// a message that follows the chosen action.
class CPageTaskHostControlGeneral : public CNHPPropertyPageBase {
public:
    static constexpr UINT kFullTemplate = 10427, kCompactTemplate = 10428;
    static constexpr int kTurnOn = 1060, kShutDown = 1061, kRestart = 1062, kAsk = 1066, kMessageLabel = 1069,
                         kMessage = 1068, kRepeat = 1073, kRepeatPeriod = 1074, kRepeatSpin = 1075, kForce = 1070,
                         kForceTime = 1071, kForceSpin = 1072, kCloseApplications = 1063, kClosePeriod = 1065,
                         kCloseSpin = 1067;
    static constexpr std::int32_t kDefaultPeriod = 600;  // seconds
    static constexpr std::int64_t kMinMinutes = 1, kMaxMinutes = 86400;

    static ui::DialogTemplate Template(UINT templateId);
    // The page's export: the "Настройки" group at the top level of the result.
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    CPageTaskHostControlGeneral(UINT templateId, std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ValidatePage() override;
    bool ApplyPage() override;

private:
    enum class Action { TurnOn, ShutDown, Restart };
    bool IsCompact() const { return GetTemplateId() == kCompactTemplate; }
    Action ChosenAction() const;
    void Load();
    void UpdateControls();
    void FollowActionInMessage();

    std::unique_ptr<CTaskSettings> m_settings;
    CRangeEdit m_repeatPeriod, m_forceTime, m_closePeriod;
    Action m_loadedAction = Action::Restart;
    bool m_loading = false;
};
