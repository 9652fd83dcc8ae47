#pragma once

#include <vector>

#include "controls/NHPPropertyPageBase.h"

// The advanced page of an installation package: whether the new agent acts
// as a connection gateway or connects through one (and which), and its
// options for virtual desktops and virtual machines.
class CPageInstallerSettingsAdvanced : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10494;
    static constexpr int kActAsGateway = 1123, kUseGateway = 1124, kGatewayLabel = 6006, kGatewayAddress = 6007;
    static constexpr int kVdi = 1088, kVmOptimize = 1089;
    // GATEWAYMODE
    static constexpr std::int32_t kNoGateway = 0, kGatewayMode = 1, kThroughGatewayMode = 2;

    static ui::DialogTemplate Template();
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageInstallerSettingsAdvanced(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ValidatePage() override;
    bool ApplyPage() override;

    void Load();
    void OnActAsGateway();
    void OnUseGateway();

    // A stored mode the page cannot show (neither 0, 1 nor 2) goes back as
    // it was while the administrator leaves the gateway choice alone.
    std::int32_t m_storedMode = kNoGateway;
    bool m_gatewayTouched = false;
    bool m_loading = false;
};
