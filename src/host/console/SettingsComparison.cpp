#include "host/console/SettingsComparison.h"

#include <map>

#include "host/console/ControlView.h"
#include "host/pagehost/PageHost.h"
#include "zrpar/Render.h"
#include "zrplugin/SettingsExporter.h"
#include "zrstd/Strings.h"

namespace host {

namespace {

using ZRSTD::ToUtf8;

// The exporter names a group's lock with this word ("Замочек "group"").
constexpr const wchar_t* kLockWord = L"Замочек";

std::wstring WithoutMarks(const std::wstring& text)
{
    std::wstring plain;
    for (wchar_t c : text)
        if (c != L'&') plain += c;
    return plain;
}

void Flatten(const ZRPAR::Params& container, std::vector<std::wstring>& path, std::vector<SettingReading>& out)
{
    const std::string json = ZRPAR::RenderJson(container);
    const nlohmann::json values = nlohmann::json::parse(json);
    for (std::size_t i = 0; i < container.GetSize(); ++i) {
        const std::wstring& name = container.NameAt(i);
        const ZRPAR::Value* value = container.ValueAt(i);
        path.push_back(name);
        if (value->GetType() == ZRPAR::VT_PARAMS) {
            Flatten(*static_cast<const ZRPAR::ParamsValue*>(value)->GetValue(), path, out);
        } else {
            SettingReading reading;
            reading.path = path;
            reading.value = values[ToUtf8(name)];
            reading.isLock = name.rfind(kLockWord, 0) == 0;
            out.push_back(std::move(reading));
        }
        path.pop_back();
    }
}

// The value a control shows, or null for a control that holds no setting.
nlohmann::json ValueOf(const ControlView& view)
{
    const ui::ControlState& state = view.state;
    if (state.kind == L"check box" || state.kind == L"radio") return state.state == L"checked" || state.state == L"selected";
    if (state.kind == L"edit" || state.kind == L"time picker") return view.password ? "(password)" : ToUtf8(state.text);
    if (state.kind == L"combo" && state.state.rfind(L"selected: ", 0) == 0) return ToUtf8(state.state.substr(10));
    if (state.kind == L"list view") {
        auto rows = nlohmann::json::array();
        for (const auto& row : view.rows) {
            nlohmann::json entry = ToUtf8(row.text);
            if (view.hasCheckBoxes) entry = {{"text", ToUtf8(row.text)}, {"checked", row.checked}};
            rows.push_back(entry);
        }
        return rows;
    }
    return nullptr;
}

}  // namespace

std::string JoinPath(const std::vector<std::wstring>& path)
{
    std::string joined;
    for (const auto& part : path) joined += (joined.empty() ? "" : " / ") + ToUtf8(part);
    return joined;
}

std::vector<SettingReading> ReadExport(ConsoleSession& session, ConsoleDataSource& dataSource)
{
    auto exporter = session.Plugin().Query<ZRPlugin::ISettingsExporter>();
    if (!exporter) RefuseRequest(L"the plug-in gives no settings exporter");
    auto tree = ZRPAR::CreateParams();
    exporter->ExportSettings(dataSource.PluginObjectKind(), &dataSource, dataSource.TaskType().c_str(), tree.Get(), 0);
    std::vector<SettingReading> readings;
    std::vector<std::wstring> path;
    Flatten(*tree, path, readings);
    return readings;
}

std::vector<SettingReading> ReadPages(ConsoleSession& session, ConsoleDataSource& dataSource)
{
    std::vector<SettingReading> readings;
    auto configurator = session.Configure(dataSource, false);
    for (std::int32_t index = 0; index < configurator->GetPageCount(); ++index) {
        PageHost sheet;
        ZRSTD::CAutoPtr<ZRPlugin::IZRConfiguratorPage2> page;
        try {
            configurator->CreatePage(&page, sheet.Sheet(), index);
        } catch (const ZRERR::Error&) {
            continue;  // a page this build does not have
        }
        if (!page) continue;
        const HWND window = sheet.Embed(page.Get());
        if (!window) continue;
        const std::wstring title = WithoutMarks(configurator->GetPageTitle(index));
        const auto views = ViewControls(window);
        std::map<int, const ControlView*> byId;
        for (const auto& view : views) byId[view.state.id] = &view;
        for (const auto& view : views) {
            if (!view.state.visible) continue;
            nlohmann::json value = ValueOf(view);
            if (value.is_null()) continue;
            SettingReading reading;
            reading.path = {title, view.state.label.empty() ? L"#" + std::to_wstring(view.state.id) : view.state.label};
            reading.value = std::move(value);
            if (view.governingLock && byId.count(view.governingLock)) {
                const ControlView& lock = *byId[view.governingLock];
                reading.enforced = lock.lockedByPolicy;
                if (lock.state.state.rfind(L"selected: ", 0) == 0) reading.lockState = lock.state.state.substr(10);
            }
            readings.push_back(std::move(reading));
        }
    }
    return readings;
}

std::vector<SettingDifference> CompareReadings(const std::vector<SettingReading>& first,
                                               const std::vector<SettingReading>& second)
{
    // a path that repeats (two pages of one title) is told apart by its turn
    const auto keyed = [](const std::vector<SettingReading>& readings) {
        std::vector<std::pair<std::string, const SettingReading*>> keys;
        std::map<std::string, int> seen;
        for (const auto& reading : readings) {
            const std::string path = JoinPath(reading.path);
            keys.push_back({path + "#" + std::to_string(seen[path]++), &reading});
        }
        return keys;
    };
    const auto a = keyed(first), b = keyed(second);
    std::map<std::string, const SettingReading*> inSecond(b.begin(), b.end());
    std::map<std::string, const SettingReading*> inFirst(a.begin(), a.end());
    std::vector<SettingDifference> differences;
    for (const auto& [key, reading] : a) {
        const auto other = inSecond.find(key);
        if (other == inSecond.end()) {
            differences.push_back({SettingDifference::Kind::OnlyInFirst, reading->path, reading->value, nullptr, reading->isLock});
        } else if (other->second->value != reading->value || other->second->lockState != reading->lockState) {
            SettingDifference difference{SettingDifference::Kind::Changed, reading->path, reading->value,
                                         other->second->value, reading->isLock};
            if (other->second->lockState != reading->lockState) {
                difference.first = {{"value", reading->value}, {"lock", ToUtf8(reading->lockState)}};
                difference.second = {{"value", other->second->value}, {"lock", ToUtf8(other->second->lockState)}};
            }
            differences.push_back(std::move(difference));
        }
    }
    for (const auto& [key, reading] : b)
        if (!inFirst.count(key))
            differences.push_back({SettingDifference::Kind::OnlyInSecond, reading->path, nullptr, reading->value, reading->isLock});
    return differences;
}

}  // namespace host
