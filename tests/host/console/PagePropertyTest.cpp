// Every page of every page table, driven at random as a user drives it:
// whatever a page saved, it shows again when reopened, and pressing OK on it
// untouched leaves every stored byte as it was.
//
// NGT_PROPERTY_SEED sets the seed (printed with every failure) and
// NGT_PROPERTY_ROUNDS the rounds per page (3 by default).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <sstream>

#include "host/console/ConsoleConfiguration.h"
#include "host/console/ConsoleSession.h"
#include "host/pagehost/PageHost.h"
#include "support/TestCertificates.h"
#include "ui/CommonControls.h"
#include "ui/ControlTable.h"
#include "ui/Interaction.h"
#include "ui/UserActions.h"
#include "ui/Window.h"
#include "zrpar/Packed.h"
#include "zrstd/Strings.h"

namespace fs = std::filesystem;

namespace {

using ZRSTD::ToUtf8;

std::uint64_t EnvironmentNumber(const char* name, std::uint64_t fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 0) : fallback;
}

// One sheet the console opens: an object, in its property sheet or its wizard.
struct SheetCase {
    std::string name;
    host::ObjectName object;
    host::NewObjectOptions options;
    bool wizard = false;
    // settings written into the new object's section, beside its defaults
    const wchar_t* section = nullptr;
    std::function<ZRSTD::CAutoPtr<ZRPAR::Params>()> settings;
};

void PrintTo(const SheetCase& sheetCase, std::ostream* out) { *out << sheetCase.name; }

std::vector<SheetCase> SheetCases()
{
    using host::ObjectType;
    std::vector<SheetCase> cases;
    auto add = [&](std::string name, ObjectType type, const wchar_t* kind, host::NewObjectOptions options, bool wizard) {
        const std::wstring objectName = ZRSTD::FromUtf8(name);
        cases.push_back({std::move(name), {type, kind, objectName}, options, wizard, nullptr, nullptr});
    };
    add("policy", ObjectType::Policy, L"policy", {}, false);
    add("policy_wizard", ObjectType::Policy, L"policy", {}, true);
    for (int platform : {0, 1, 2}) {
        host::NewObjectOptions computer;
        computer.policy = L"governing";
        computer.platform = platform;
        add("host_platform" + std::to_string(platform), ObjectType::Host, L"host", computer, false);
        add("dpoint_platform" + std::to_string(platform), ObjectType::DistributionPoint, L"dpoint", computer, false);
    }
    host::NewObjectOptions serverHosted;
    serverHosted.serverHosted = true;
    add("host_on_the_server", ObjectType::Host, L"host", serverHosted, false);
    add("package", ObjectType::Package, L"package", {}, false);
    // a package with every installer setting away from its default, and one of version 6
    add("package_configured", ObjectType::Package, L"package", {}, false);
    cases.back().section = L"InstallerSettings";
    cases.back().settings = [] {
        const auto certificate = testsupport::MakeTestCertificate();
        auto ports = ZRPAR::CreateArrayValue();
        for (std::int32_t port : {15005, 16000}) ports->Append(ZRPAR::CreateValue(port).Get());
        return ZRPAR::CreateParamsBody(
            {{L"ServerName", L"adm.corp"}, {L"ServerPort", L"14001"}, {L"ServerSSLPort", L"13001"},
             {L"UseSSLConnection", 1}, {L"ServerCert", ZRPAR::binary_wrapper_t{certificate.der.data(), certificate.der.size()}},
             {L"ZRNAG_SP_OPEN_PORT_IN_WFW", false}, {L"OpenUdpPort", false}, {L"Nagentports", ports},
             {L"UninstallPwd", L"CE1473CF80C6B3FDA8E3DFC006ADC315"}, {L"INSTALLDIR", L"D:\\Agent"},
             {L"ZRNAG_PROTECTNGT", true}, {L"PTCH_ALLOW_APPLY_NONAPROVED_PATCHES", false}, {L"GATEWAYMODE", 2},
             {L"GATEWAYADDRESS", L"gw.corp"}, {L"VMVDI", true}, {L"INSTALL_NAC", true}, {L"UseProxy", true},
             {L"ProxyServerAddress", L"http://proxy.corp:3128"}, {L"ProxyServerUser", L"agent"}});
    };
    add("package_version6", ObjectType::Package, L"package", {}, false);
    cases.back().section = L"InstallerSettings";
    cases.back().settings = [] {
        return ZRPAR::CreateParamsBody({{L"InternalVersion", 6}, {L"ServerName", L"adm.corp"},
                                        {L"UninstallPwd", L"CE1473CF80C6B3FDA8E3DFC006ADC315"},
                                        {L"INSTALLDIR", L"\\\\server\\agent"}});
    };
    add("bootserver", ObjectType::BootServer, L"bootserver", {}, false);
    for (const auto& type : host::AgentTaskTypes()) {
        host::NewObjectOptions task;
        task.taskType = type;
        task.policy = L"governing";
        for (bool wizard : {false, true})
            add("task_" + ToUtf8(type) + (wizard ? "_wizard" : ""), ObjectType::Task, L"task", task, wizard);
    }
    return cases;
}

// The user of these rounds: questions answered at random, notices read,
// dialogs cancelled.
class RandomUser : public ui::InteractionDriver {
public:
    explicit RandomUser(std::mt19937_64& random) : m_random(random) {}
    int AnswerMessageBox(const ui::ShownBox& box) override
    {
        switch (box.style & 0xF) {
        case MB_YESNO: return m_random() % 2 ? IDYES : IDNO;
        case MB_OKCANCEL: return m_random() % 2 ? IDOK : IDCANCEL;
        case MB_YESNOCANCEL: return m_random() % 2 ? IDYES : IDNO;
        default: return IDOK;
        }
    }
    void ActInDialog(HWND dialog, const ui::ShownDialog&) override
    {
        if (HWND cancel = GetDlgItem(dialog, IDCANCEL)) ui::Click(cancel);
    }

private:
    std::mt19937_64& m_random;
};

bool Usable(HWND control)
{
    for (HWND window = control; window; window = GetParent(window)) {
        if (!IsWindowEnabled(window) || (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) == 0) return false;
        if (GetClassName(window) == L"ConsolePropertySheet") break;
    }
    return true;
}

void CollectControls(HWND window, std::vector<HWND>& controls)
{
    for (HWND child : GetChildren(window)) {
        controls.push_back(child);
        CollectControls(child, controls);
    }
}

// One random valid action on the page, as a list of what can be done now.
std::vector<std::function<void()>> PossibleActions(HWND page, std::mt19937_64& random)
{
    std::vector<HWND> controls;
    CollectControls(page, controls);
    std::vector<std::function<void()>> actions;
    for (HWND control : controls) {
        if (!Usable(control)) continue;
        const std::wstring kind = GetClassName(control);
        const DWORD style = GetWindowLongW(control, GWL_STYLE);
        if (kind == L"Button") {
            const DWORD type = style & BS_TYPEMASK;
            if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX || type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON)
                actions.push_back([control] { ui::Click(control); });
        } else if (kind == L"ComboBox" || kind == L"ComboBoxEx32") {
            const auto count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
            if (count <= 0) continue;
            actions.push_back([control, count, &random] {
                std::wstring item;
                SendMessageW(control, CB_GETLBTEXT, static_cast<WPARAM>(random() % count), reinterpret_cast<LPARAM>(&item));
                ui::SelectItem(control, item);
            });
        } else if (kind == L"msctls_updown32") {
            const HWND buddy = reinterpret_cast<HWND>(SendMessageW(control, UDM_GETBUDDY, 0, 0));
            if (!buddy || !Usable(buddy) || (GetWindowLongW(buddy, GWL_STYLE) & ES_READONLY)) continue;
            int low = 0, high = 0;
            SendMessageW(control, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
            actions.push_back([buddy, low, high, &random] {
                // mostly small numbers near the bottom of the range, where the page can store them
                const std::int64_t span = static_cast<std::int64_t>(high) - low;
                const std::int64_t reach = random() % 4 ? std::min<std::int64_t>(span, 100) : span;
                const std::int64_t value = low + static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(reach + 1));
                ui::ReplaceText(buddy, std::to_wstring(value));
            });
        }
    }
    return actions;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The lines of two control tables that differ, before and after.
std::string ChangedLines(const std::string& before, const std::string& after)
{
    const auto old = Lines(before), now = Lines(after);
    std::string changed;
    for (std::size_t i = 0; i < std::max(old.size(), now.size()); ++i) {
        const std::string was = i < old.size() ? old[i] : "", is = i < now.size() ? now[i] : "";
        if (was != is) changed += "  saved:    " + was + "\n  reopened: " + is + "\n";
    }
    return changed;
}

class PageProperty : public ::testing::TestWithParam<SheetCase> {
protected:
    void SetUp() override
    {
        m_directory = fs::path(::testing::TempDir()) / ("page-property-" + std::to_string(::getpid()) + "-" + GetParam().name);
        fs::remove_all(m_directory);
        fs::create_directories(m_directory);
        session = std::make_unique<host::ConsoleSession>((m_directory / "console.db").string(), ZRNGTPLG_PATH);
        // every branch of the page tables: network access control, the newest server, forced connection
        host::SettingsStore& store = session->Store(true);
        host::WriteConfiguration(store, "functionality", "0x44");
        host::WriteConfiguration(store, "nac_allowed", "1");
        host::WriteConfiguration(store, "server_version", "0xD0001");
        host::WriteConfiguration(store, "forced_connection", "1");
        session->CreateObject({host::ObjectType::Policy, L"policy", L"governing"}, {});
        session->CreateObject(GetParam().object, GetParam().options);
        if (GetParam().settings) {
            auto storage = session->Store().ObjectStorage(GetParam().object.Full());
            ZRSTD::CAutoPtr<ZRPAR::Params> content;
            storage->Read(L"1103", L"1.0.0.0", GetParam().section, &content);
            if (!content) content = ZRPAR::CreateParams();
            auto settings = GetParam().settings();
            for (std::size_t i = 0; i < settings->GetSize(); ++i) content->ReplaceValue(settings->NameAt(i), settings->ValueAt(i));
            storage->Replace(L"1103", L"1.0.0.0", GetParam().section, content.Get());
        }
    }
    void TearDown() override
    {
        session.reset();
        fs::remove_all(m_directory);
    }

    // Every stored byte of the object, as one document.
    std::vector<std::uint8_t> Snapshot()
    {
        ZRSTD::CAutoPtr<ZRPAR::Params> everything;
        session->Store().ObjectStorage(GetParam().object.Full())->Read(L"1103", L"", L"", &everything);
        return everything ? ZRPAR::SerializePacked(*everything) : std::vector<std::uint8_t>{};
    }

    std::unique_ptr<host::ConsoleSession> session;

private:
    fs::path m_directory;
};

// The page at index opened in a sheet of its own, as the console opens it.
struct OpenedPage {
    std::unique_ptr<host::ConsoleDataSource> dataSource;
    host::Configurator configurator;
    std::unique_ptr<host::PageHost> sheet;
    HWND window = nullptr;
    std::string pageClass;

    // What the page shows. A disabled edit or check box may show a value
    // that nothing stores (a repeat period whose box is cleared is stored as
    // 0; turning the proxy off removes its authentication), and a read-only
    // line describes what was stored when the page opened (the server the
    // agent is connected to): those values are left out. So is whether a
    // label shows: a warning may follow the last click and show again
    // whenever the page opens (the storages page's patches warning).
    std::string Controls() const
    {
        auto controls = ui::DescribeControls(window);
        for (auto& control : controls) {
            if (control.kind == L"edit" && !control.enabled) control.text = L"(disabled)";
            if (control.kind == L"check box" && !control.enabled) control.state = L"(disabled)";
            if (control.kind == L"read-only edit") control.text = L"(read-only)";
            if (control.kind == L"label") control.visible = true;
        }
        return ui::FormatControlTable(controls);
    }
    void Close()
    {
        sheet.reset();
        configurator = nullptr;
        dataSource.reset();
    }
};

}  // namespace

TEST_P(PageProperty, WhatAPageSavesItShowsAgainAndAnUntouchedOkChangesNoByte)
{
    const SheetCase& sheetCase = GetParam();
    const std::uint64_t baseSeed = EnvironmentNumber("NGT_PROPERTY_SEED", 20261208);
    const std::uint64_t rounds = EnvironmentNumber("NGT_PROPERTY_ROUNDS", 3);
    const std::wstring object = sheetCase.object.Full();

    auto open = [&](std::int32_t index) {
        OpenedPage page;
        page.dataSource = session->DataSource(object);
        page.configurator = session->Configure(*page.dataSource, sheetCase.wizard);
        page.sheet = std::make_unique<host::PageHost>();
        ZRSTD::CAutoPtr<ZRPlugin::IZRConfiguratorPage2> created;
        try {
            page.configurator->CreatePage(&created, page.sheet->Sheet(), index);
        } catch (const ZRERR::Error& error) {
            ADD_FAILURE() << ToUtf8(object) << " page " << index << " is listed but not built: " << ToUtf8(error.GetMessage());
            return page;
        }
        if (!created) return page;
        page.window = page.sheet->Embed(created.Get());
        if (const void* name = GetPropW(page.window, ZRPlugin::kPageClassProperty))
            page.pageClass = ToUtf8(static_cast<const wchar_t*>(name));
        return page;
    };
    auto ok = [](OpenedPage& page) {
        const auto result = page.sheet->PressOk();
        if (result.outcome == host::PageHost::Outcome::Applied) page.dataSource->SaveParams();
        return result;
    };

    std::int32_t pageCount = 0;
    {
        auto dataSource = session->DataSource(object);
        pageCount = session->Configure(*dataSource, sheetCase.wizard)->GetPageCount();
    }
    int pagesWalked = 0;
    for (std::int32_t index = 0; index < pageCount; ++index) {
        const std::uint64_t seed = baseSeed ^ (std::hash<std::string>{}(sheetCase.name) + static_cast<std::uint64_t>(index));
        std::mt19937_64 random(seed);
        RandomUser user(random);
        ui::SetInteractionDriver(&user);
        OpenedPage page = open(index);
        if (!page.window) continue;
        ++pagesWalked;
        for (std::uint64_t round = 0; round < rounds; ++round) {
            SCOPED_TRACE("seed " + std::to_string(seed) + ", " + sheetCase.name + " page " + std::to_string(index) + " (" +
                         page.pageClass + "), round " + std::to_string(round));
            const int steps = 1 + static_cast<int>(random() % 6);
            for (int step = 0; step < steps; ++step) {
                auto actions = PossibleActions(page.window, random);
                if (actions.empty()) break;
                actions[random() % actions.size()]();
            }
            const std::string shown = page.Controls();
            const auto result = ok(page);
            if (result.outcome == host::PageHost::Outcome::Refused) continue;  // validation said why; go on
            ASSERT_EQ(result.outcome, host::PageHost::Outcome::Applied) << ToUtf8(result.error);

            page.Close();
            page = open(index);
            ASSERT_TRUE(page.window);
            const std::string reopened = page.Controls();
            ASSERT_TRUE(reopened == shown) << "the reopened page shows something else than it saved:\n"
                                           << ChangedLines(shown, reopened);
            const auto before = Snapshot();
            ASSERT_EQ(ok(page).outcome, host::PageHost::Outcome::Applied);
            ASSERT_EQ(Snapshot(), before) << "OK on the untouched page changed the stored settings";
        }
        page.Close();
        ui::SetInteractionDriver(nullptr);
    }
    ui::SetInteractionDriver(nullptr);
    RecordProperty("pages_walked", pagesWalked);
}

INSTANTIATE_TEST_SUITE_P(EveryPageTable, PageProperty, ::testing::ValuesIn(SheetCases()),
                         [](const auto& info) { return info.param.name; });
