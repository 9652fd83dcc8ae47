#pragma once

#include <vector>

#include "plugin/pages/dpoint/KeptSetting.h"
#include "plugin/pages/installer/PageInstallerSettingsNetwork.h"

// The administration server connection a boot server hands to the computers
// it installs: the package's network page over the boot server's parameters,
// whose two ports are numbers (14000 and 13000 unless stored otherwise).
class CPagePxeConnectionSettings : public CPageInstallerSettingsNetwork {
public:
    static constexpr UINT kTemplate = 10515;
    static constexpr std::int32_t kPortDefault = 14000, kSslPortDefault = 13000;

    static ui::DialogTemplate Template();
    // The package page's export with the ports as the boot server stores them.
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPagePxeConnectionSettings(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    void LoadPorts(NHPP::CParams& settings) override;
    bool ValidatePorts() override;
    bool WritePorts(NHPP::CParams& settings) override;

private:
    KeptSetting<std::int32_t> m_storedPort, m_storedSslPort;
};
