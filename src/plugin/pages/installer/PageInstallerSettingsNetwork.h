#pragma once

#include <optional>
#include <string>
#include <vector>

#include "controls/HyperLink.h"
#include "controls/NHPPropertyPageBase.h"
#include "controls/RangeEdit.h"
#include "zrstd/MemoryChunk.h"

// How a new agent installed from a package connects to the administration
// server: address, ports, SSL and the server's certificate, NetBIOS, the
// agent's ports in the firewall, its UDP port, and the proxy (a dialog).
//
// The boot-server connection page is this page over a boot server's
// parameters: it keeps its two ports as numbers (LoadPorts, ValidatePorts,
// WritePorts) and, with the boot-server switch the page factory sets,
// reports a failed apply as a failed change of the server connection.
class CPageInstallerSettingsNetwork : public CNHPPropertyPageBase {
public:
    static constexpr UINT kTemplate = 10437;
    static constexpr int kAddressLabel = 6000, kAddress = 6001, kPortLabel = 6002, kPort = 6003, kPortSpin = 1009,
                         kSslPortLabel = 6004, kSslPort = 6005, kSslPortSpin = 1010;
    static constexpr int kUseSsl = 6013, kUseCertificate = 6022, kBrowse = 967, kCertificate = 1136;
    static constexpr int kProxyLink = 1017, kNetBios = 762, kFirewallPorts = 763;
    static constexpr int kAgentPortGroup = 20099, kUseUdp = 6006, kUdpPortLabel = 6007, kUdpPort = 6008, kUdpPortSpin = 3009;
    static constexpr WORD kProxyCommand = 6019;
    static constexpr std::uint32_t kMinPort = 1, kMaxPort = 65535;

    // The package's page (10437); the controls every form of the page has.
    static ui::DialogTemplate Template();
    static std::vector<ui::ControlTemplate> Controls();
    static std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> Export(NHPP::CNHPPageData& pageData);

    explicit CPageInstallerSettingsNetwork(std::shared_ptr<NHPP::CNHPPageData> pageData, UINT templateId = kTemplate);

    // Set by the page factory for the boot-server connection page.
    void SetBootServer(bool bootServer) { m_bootServer = bootServer; }
    bool IsBootServer() const { return m_bootServer; }
    // The certificate the page holds: the one read, or the one chosen since.
    const ZRSTD::MemoryChunk* GetCertificate() const { return m_certificate.Get(); }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool ValidatePage() override;
    bool ApplyPage() override;

    // The server's two ports into m_port and m_sslPort. A package keeps them
    // as text: a number is shown as it is, any other text as nothing, and
    // both go back as they were read while the administrator leaves them.
    virtual void LoadPorts(NHPP::CParams& settings);
    // Refuses a port the page cannot write, naming the field (a package takes an empty port).
    virtual bool ValidatePorts();
    // False when a write failed.
    virtual bool WritePorts(NHPP::CParams& settings);
    // What a failed apply is reported with.
    virtual UINT FailureText() const;

    void Load();
    void UpdateUdpGroup();
    void ShowCertificate();
    void BrowseCertificate();
    void OpenProxySettings();
    bool WriteSettings(NHPP::CParams& settings);

    CRangeEdit m_port, m_sslPort, m_udpPort;
    CHyperLink m_proxyLink;
    ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> m_certificate;
    bool m_bootServer = false;
    bool m_loading = false;

private:
    // A port as the package stores it, and the text the page showed for it.
    struct TextPort {
        std::optional<std::wstring> stored;
        std::wstring shown;
    };
    void LoadTextPort(NHPP::CParams& settings, const wchar_t* key, CRangeEdit& edit, TextPort& port);
    TextPort m_serverPort, m_serverSslPort;
    // how UseSSLConnection was stored: a bool keeps its type
    bool m_sslStoredAsBool = false;
    // whether the package had a UDP port for 6008 to show (and a cleared field to replace)
    bool m_udpPortLoaded = false;
};

// The description the network page shows of certificate bytes in any X.509
// encoding: thumbprint, subject and alternative names (string 5880); nothing
// when the bytes hold no certificate.
std::optional<std::wstring> DescribeCertificateBytes(const ZRSTD::MemoryChunk& certificate);
