#pragma once

#include <cstdint>
#include <vector>

#include "controls/LockCtrl.h"
#include "controls/NHPPropertyPageBase.h"
#include "controls/RangeEdit.h"
#include "plugin/pages/dpoint/KeptSetting.h"

// The cloud reputation network proxy a distribution point runs for the
// computers it serves: whether it runs, whether it forwards requests to the
// administration server or reaches the cloud directly, and the ports it
// opens (TCP, an optional UDP port, an optional HTTPS port).
class CPageUaVtnSettings : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10529;
    static constexpr int kEnable = 1026, kEnableLock = 1025;
    static constexpr int kForward = 1226, kDirect = 1227, kIgnoreServerProxy = 1237, kMethodLock = 2419;
    static constexpr int kPortsGroup = 1097, kPortsLock = 2418, kTcpPortLabel = 1229, kTcpPort = 1004, kTcpPortSpin = 1013;
    static constexpr int kOpenUdp = 1236, kUdpPortLabel = 841, kUdpPort = 842, kUdpPortSpin = 1016;
    static constexpr int kUseHttps = 1251, kHttpsPort = 1027, kHttpsPortSpin = 1028;
    static constexpr std::int32_t kMinPort = 1, kMaxPort = 65535;
    // the console's context in which requests cannot be forwarded to the administration server
    static constexpr std::int32_t kDirectOnlyContext = 2;

    static ui::DialogTemplate Template();
    // The page's export: the group "VTN proxy" with the proxy's settings and their locks.
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageUaVtnSettings(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ValidatePage() override;
    bool ApplyPage() override;

    void Load();
    void UpdateControls();
    bool WriteSettings(NHPP::CParams& settings);

    CRangeEdit m_tcpPort, m_udpPort, m_httpsPort;
    CLockCtrl m_enableLock, m_methodLock, m_portsLock;
    KeptSetting<bool> m_enabled, m_forward, m_ignoreServerProxy, m_useHttps;
    KeptSetting<std::int32_t> m_tcpStored, m_udpStored, m_httpsStored;
    // whether the administrator used the method group (its radios, its box or its lock)
    bool m_methodTouched = false;
    // local settings: everything but the switch follows the switch
    bool m_localMode = false;
    bool m_loading = false;
};

// The same page in a distribution point's property sheet, over its local
// settings: values a policy enforces are read-only, and the method and the
// ports can be changed only while the proxy is switched on.
class CPageUaVtnSettingsProduct : public CPageUaVtnSettings {
public:
    explicit CPageUaVtnSettingsProduct(std::shared_ptr<NHPP::CNHPPageData> pageData);
};
