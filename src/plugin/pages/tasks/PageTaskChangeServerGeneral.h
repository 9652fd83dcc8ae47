#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/NHPPropertyPageBase.h"
#include "controls/PasswordButton.h"
#include "controls/PasswordEdit.h"
#include "controls/RangeEdit.h"
#include "plugin/pages/tasks/TaskSettings.h"
#include "zrstd/MemoryChunk.h"

// The change server task: the administration server (or the virtual server
// on the current one) the agent moves to, its ports, the proxy on the way,
// the server's certificate, and how long the agent waits before it restarts.
class CPageTaskChangeServerGeneral : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 1056;
    // controls of template 1056
    static constexpr int kMainServer = 1239, kVirtualServer = 1240, kAddressLabel = 6000, kAddress = 6001,
                         kPortLabel = 1002, kPort = 1004, kPortSpin = 1013, kSslPortLabel = 1003, kSslPort = 1010,
                         kSslPortSpin = 1014, kUseProxy = 761, kProxyLabel = 838, kProxy = 837, kProxyPortLabel = 839,
                         kProxyPort = 1011, kProxyPortSpin = 1015, kUserLabel = 841, kUser = 842,
                         kPasswordLabel = 843, kPassword = 844, kShowPassword = 1220, kCertificateLabel = 1078,
                         kCertificateStatus = 1090, kBrowseCertificate = 1079, kTimeoutLabel = 1005, kTimeout = 1006,
                         kTimeoutSpin = 1016;
    static constexpr std::uint32_t kDefaultPort = 14000, kDefaultSslPort = 13000, kDefaultProxyPort = 3128;
    static constexpr std::int32_t kDefaultTimeoutMs = 60000;
    // the console node's property that tells a virtual server's node
    static constexpr std::int32_t kNodeKindProperty = 13, kVirtualServerNode = 2;

    static ui::DialogTemplate Template();
    // The page's export: the connection rows at the top level of the result.
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageTaskChangeServerGeneral(std::shared_ptr<NHPP::CNHPPageData> pageData);

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ValidatePage() override;
    bool ApplyPage() override;

private:
    void Load();
    void UpdateControls();
    void ShowCertificateStatus();
    void BrowseCertificate();
    // Writes the first item of a port array, keeping the items after it.
    bool WritePort(const wchar_t* key, const CRangeEdit& edit, std::optional<std::int32_t> stored);
    bool WriteProxyLocation();

    std::unique_ptr<CTaskSettings> m_settings;
    CRangeEdit m_port, m_sslPort, m_proxyPort, m_timeout;
    CPasswordEdit m_password;
    CPasswordButton m_showPassword;
    ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> m_certificate;
    bool m_certificateChosen = false;
    // the first ports as stored, if they were
    std::optional<std::int32_t> m_storedPort, m_storedSslPort;
    // the host and port the page showed for the stored proxy location
    std::wstring m_shownProxyHost;
    std::uint32_t m_shownProxyPort = kDefaultProxyPort;
    bool m_loading = false;
};
