#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/console/ConsoleSession.h"
#include "host/pagehost/PageHost.h"

// An object's property sheet as the browser console holds it for one
// browser session: a data source and configurator of its own (so two
// sessions on one object are two administrators to the store), the page
// host, the pages created as they are first shown, the console's grouping
// tree, and OK, Apply and Cancel as the console has them. In wizard mode the
// pages follow each other with Back, Next and Finish.
namespace host::web {

struct PageGroup {
    std::wstring name;
    std::optional<int> page;  // the page the group itself stands for
    std::vector<int> pages;
    std::vector<PageGroup> groups;
};

class Sheet {
public:
    Sheet(ConsoleSession& console, const std::wstring& object, bool wizard);
    ~Sheet();
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    const std::wstring& Object() const { return m_object; }
    bool Wizard() const { return m_wizard; }
    // The policy that governs the object ("" for none).
    const std::wstring& GoverningPolicy() const { return m_policy; }
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    std::wstring PageTitle(int index) const;
    int Selected() const { return m_selected; }
    const PageGroup& Groups() const { return m_groups; }

    // Shows a page, creating it the first time. The page left is asked to
    // deactivate first; false when it refuses (it said why in a box).
    bool Select(int index);
    // The selected page's window; null when this build lacks the page (Unavailable says why).
    HWND Window() const;
    std::wstring Unavailable(int index) const;
    bool AnyModified() const;

    enum class Outcome { Applied, Refused, Failed };
    struct Result {
        Outcome outcome = Outcome::Applied;
        std::wstring message;                // why it failed
        std::vector<std::wstring> changed;   // section: setting, for every stored value changed
    };
    // Validates every page created, then applies them and writes the
    // object's own parameters; a page that refused is selected.
    Result Apply();
    // Wizard: validates the page shown before moving on.
    bool Next();
    void Back();

private:
    struct Page {
        std::wstring title;
        ZRSTD::CAutoPtr<ZRPlugin::IZRConfiguratorPage2> page;
        HWND window = nullptr;
        bool tried = false;
        std::wstring unavailable;
    };
    void Create(int index);
    void ReadGroups(ConsoleSession& console);

    ConsoleSession& m_console;
    std::wstring m_object;
    bool m_wizard;
    std::wstring m_policy;
    std::unique_ptr<ConsoleDataSource> m_dataSource;
    Configurator m_configurator;
    std::unique_ptr<PageHost> m_host;
    std::vector<Page> m_pages;
    int m_selected = -1;
    PageGroup m_groups;
};

}  // namespace host::web
