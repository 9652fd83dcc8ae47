#pragma once

#include <string>
#include <vector>

#include "controls/HyperLink.h"
#include "controls/LockCtrl.h"
#include "controls/NHPPropertyPageBase.h"
#include "controls/RangeEdit.h"

// How the agent connects to the administration server: the synchronisation
// period, SSL, compression, the agent's ports in the firewall, the update
// agent's connection gateway, the UDP port, and forced connection through an
// update agent.
class CPageNetworkSettingsBase : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 6002;
    static constexpr int kConnectionGroup = 20098, kPeriodLabel = 6014, kPeriod = 6011, kPeriodSpin = 1008;
    static constexpr int kUseSsl = 6013, kCompress = 6015, kGatewayInDefaults = 6016, kFirewallPorts = 763;
    static constexpr int kUseUdp = 6006, kUdpPortLabel = 6007, kUdpPort = 6008, kUdpPortSpin = 3009;
    static constexpr int kForcedGroup = 1096, kForcedConnection = 1240;
    static constexpr int kConnectionLock = 20036, kUdpLock = 20037, kForcedLock = 20042;

    static ui::DialogTemplate Template();
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageNetworkSettingsBase(std::shared_ptr<NHPP::CNHPPageData> pageData, UINT templateId = kTemplate);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ValidatePage() override;
    bool ApplyPage() override;

    void Load();
    void UpdateUdpGroup();
    // Forced connection is offered by servers from 0xD0001 whose licence allows it.
    bool IsForcedConnectionOffered() const;

    CRangeEdit m_period, m_udpPort;
    CLockCtrl m_connectionLock, m_udpLock, m_forcedLock;
    bool m_localMode = false;
    bool m_loading = false;
};

// The local-settings page: it also names the server the agent is connected
// to and opens the agent's proxy settings.
class CPageNetworkSettingsProduct : public CPageNetworkSettingsBase {
public:
    static constexpr UINT kTemplate = 6003;
    static constexpr int kConnectedTo = 6000, kProxyLink = 1017;
    static constexpr WORD kProxyCommand = 6019;
    static ui::DialogTemplate Template();

    explicit CPageNetworkSettingsProduct(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void ShowConnectedServer();
    void OpenProxySettings();

    CHyperLink m_proxyLink;
};
