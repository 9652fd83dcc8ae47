#include "plugin/pages/dpoint/PagePxeConnectionSettings.h"

#include <optional>

#include "controls/PluginEnvironment.h"
#include "plugin/frame/Exporter.h"

namespace {

using Page = CPagePxeConnectionSettings;

constexpr UINT kPortText = 10, kSslPortText = 11;
constexpr const wchar_t* kPortKey = L"ServerPort";
constexpr const wchar_t* kSslPortKey = L"ServerSSLPort";

}  // namespace

ui::DialogTemplate CPagePxeConnectionSettings::Template()
{
    ui::DialogTemplate dialog = CPageInstallerSettingsNetwork::Template();
    dialog.id = kTemplate;
    return dialog;
}

CPagePxeConnectionSettings::CPagePxeConnectionSettings(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CPageInstallerSettingsNetwork(std::move(pageData), kTemplate)
{
}

void CPagePxeConnectionSettings::LoadPorts(NHPP::CParams& settings)
{
    // a port of another type shows the usual one and stays stored as it is while untouched
    m_storedPort = dpoint::ReadInt(settings, kPortKey, kPortDefault, nullptr);
    m_storedSslPort = dpoint::ReadInt(settings, kSslPortKey, kSslPortDefault, nullptr);
    m_port.LoadStored(m_storedPort.value);
    m_sslPort.LoadStored(m_storedSslPort.value);
}

bool CPagePxeConnectionSettings::ValidatePorts()
{
    const struct {
        const CRangeEdit& edit;
        int id;
        UINT label;
    } ports[] = {{m_port, kPort, kPortText}, {m_sslPort, kSslPort, kSslPortText}};
    for (const auto& port : ports)
        if (!port.edit.Accepts(kMinPort, kMaxPort)) return ShowRangeError(port.id, 0, kMinPort, kMaxPort, port.label);
    return true;
}

bool CPagePxeConnectionSettings::WritePorts(NHPP::CParams& settings)
{
    bool written = true;
    const struct {
        const wchar_t* key;
        const CRangeEdit& edit;
        const KeptSetting<std::int32_t>& stored;
    } ports[] = {{kPortKey, m_port, m_storedPort}, {kSslPortKey, m_sslPort, m_storedSslPort}};
    for (const auto& port : ports) {
        if (port.stored.foreign && port.edit.IsUntouched()) continue;
        const std::optional<std::int64_t> value = port.edit.StoredOrTyped();
        if (!value || *value < INT32_MIN || *value > INT32_MAX) return false;  // validation names it first
        written = written && settings.SetInt(port.key, static_cast<std::int32_t>(*value), false) >= 0;
    }
    return written;
}

std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> CPagePxeConnectionSettings::Export(NHPP::CNHPPageData& pageData)
{
    auto results = CPageInstallerSettingsNetwork::Export(pageData);
    PluginStateScope scope;
    auto settings = pageData.Provider();
    auto label = [](UINT id) { return frame::NormalizeTitle(ui::LoadStringW(id)); };
    for (auto& page : results) {
        page->ReplaceValue(label(kPortText), ZRPAR::CreateValue(std::to_wstring(settings->GetIntOrDefault(kPortKey, kPortDefault, nullptr))).Get());
        page->ReplaceValue(label(kSslPortText),
                           ZRPAR::CreateValue(std::to_wstring(settings->GetIntOrDefault(kSslPortKey, kSslPortDefault, nullptr))).Get());
    }
    return results;
}
