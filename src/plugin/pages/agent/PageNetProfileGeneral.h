#pragma once

#include <vector>

#include "controls/HyperLink.h"
#include "controls/NHPPropertyPageBase.h"
#include "controls/RangeEdit.h"
#include "plugin/pages/agent/NLARule.h"

// One connection profile, shown as a modal dialog: its name, the server the
// agent connects to with it (another one, or its own home server), SSL, the
// connection gateway, whether it serves updates only, roaming, and its proxy
// (the proxy dialog in its profile form). It writes into the provider it is
// given, over the caller's working copy of the profile.
class CPageNetProfileGeneral : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10523, kHelpTopic = 10806;
    static constexpr int kNameLabel = 1416, kName = 1414, kOtherServer = 1241, kAddressLabel = 6000, kAddress = 6001,
                         kPortLabel = 6002, kPort = 6003, kPortSpin = 1009, kSslPortLabel = 6004, kSslPort = 6005,
                         kSslPortSpin = 1010, kUseSsl = 6013, kProxyLink = 1017, kUpdatesOnly = 1072,
                         kRoaming = 1073, kGatewayGroup = 1180, kHomeGateway = 1176, kNoGateway = 1177,
                         kOwnGateway = 1178, kGatewayLabel = 6006, kGatewayAddress = 1136, kSynchronize = 1074;
    static constexpr WORD kProxyCommand = 6019;

    static ui::DialogTemplate Template();

    // others: the other profiles of the list, whose names this one may not take.
    CPageNetProfileGeneral(std::shared_ptr<NHPP::CNHPPageData> pageData, NHPP::CParams& profile,
                           std::vector<nla::ProfileEntry> others);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ValidatePage() override;
    bool ApplyPage() override;
    void OnOK() override;

private:
    void UpdateControls();
    void OpenProxySettings();
    // Writes a port array: the stored one stays as it was while its field is untouched.
    bool WritePort(const wchar_t* key, const CRangeEdit& field, bool storedArray);

    NHPP::CParams& m_profile;
    std::vector<nla::ProfileEntry> m_others;
    CRangeEdit m_port, m_sslPort;
    CHyperLink m_proxyLink;
    bool m_portsStored = false, m_sslPortsStored = false;
};
