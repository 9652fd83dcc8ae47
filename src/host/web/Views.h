#pragma once

#include <string>
#include <vector>

#include "host/console/SettingsComparison.h"
#include "host/web/Sheet.h"
#include "zrpar/Params.h"

// The browser console's pages as HTML: the frame every page shares, the
// objects, the property sheet around a drawn page, the export tree, the
// events and the comparison. Every text that comes from the store or the
// plug-in is escaped here; nothing in these pages runs inline script.
namespace host::web {

struct NoticeView {
    bool error = false;
    std::string text;
};

// A whole document: the console's header and navigation around body.
std::string Document(const std::string& title, const std::string& body, const std::vector<NoticeView>& notices,
                     const std::string& bodyClass = "");

struct ObjectRow {
    std::wstring object;  // kind:name
    std::wstring kind;
    std::wstring name;
    std::wstring policy;
    std::wstring taskType;
};
std::string ObjectsBody(const std::vector<ObjectRow>& objects, const std::vector<std::wstring>& taskTypes,
                        const std::string& csrf, const std::string& storePath);

// The sheet around its page (or wizard page): the grouping tree on the left,
// the page drawn on the right, the buttons below, and the modal windows above.
struct SheetModel {
    std::string csrf;
    std::wstring object;
    std::wstring policy;
    bool wizard = false;
    const PageGroup* groups = nullptr;
    std::vector<std::wstring> titles;
    int selected = -1;
    int pageCount = 0;
    std::string pageHtml;     // the drawn page, or a note why it cannot be
    std::string layoutHref;   // the stylesheet that places the page's and dialogs' controls
    std::string modalsHtml;   // dialogs, boxes, menus and pickers, innermost last
    bool modal = false;       // a modal window is open: the sheet behind it is inert
    bool applyEnabled = false;
};
std::string SheetBody(const SheetModel& sheet);
// A message box: its caption, text and buttons (by its style); each button answers it.
std::string BoxHtml(const std::wstring& caption, const std::wstring& text, unsigned style, const std::string& csrf,
                    bool interactive);
std::string DialogHtml(const std::wstring& caption, const std::string& windowHtml, const std::string& scope,
                       bool ended);
struct MenuItemView {
    unsigned id = 0;
    std::wstring text;
    bool enabled = true, checked = false, separator = false;
};
std::string MenuHtml(const std::vector<MenuItemView>& items, const std::string& csrf, bool interactive);
std::string PickerHtml(const std::wstring& service, const std::wstring& title, const std::string& csrf, bool interactive);

// The exporter's tree as nested, expandable sections; and as text lines.
std::string ExportBody(const std::wstring& object, const ZRPAR::Params& tree);
std::string ExportText(const ZRPAR::Params& tree);

struct EventRow {
    int severity = 0;
    std::wstring id;
    std::wstring name;
};
std::string EventsBody(const std::vector<EventRow>& events);

std::string CompareBody(const std::vector<std::wstring>& objects, const std::wstring& first, const std::wstring& second,
                        const std::vector<SettingDifference>* differences, const std::string& compared);

}  // namespace host::web
