#pragma once

#include <string>
#include <vector>

#include "host/console/ControlView.h"

// A page or dialog as the browser draws it: every control it created, at
// its place in the template, with what the console reads of it
// (host::ViewControls) and the little more a browser needs: the window
// rectangle, a list's columns and cells, whether a label acts as a link.
// CaptureWindow reads the live windows; RenderWindow and LayoutCss only
// write what was captured, so that they can be tested on any capture.
namespace host::web {

struct WebControl {
    ControlView view;
    int index = 0;                                 // its place among the window's children (tab order)
    RECT rect{};                                   // in the window's coordinates
    std::wstring className;                        // the platform's window class
    std::vector<std::wstring> columns;             // a list view's column headers
    std::vector<std::vector<std::wstring>> cells;  // a list view's rows, every cell
    bool link = false;                             // a label that acts as a link or a command
    bool multiline = false;
    bool readOnly = false;
    std::wstring lockingPolicy;  // a lock a policy holds: the policy that holds it
};

struct WindowView {
    std::string key;  // what the browser names it by: "page:3", "dialog:10493"
    std::wstring caption;
    int width = 0, height = 0;
    std::vector<WebControl> controls;
};

// governingPolicy: named for a lock held by a policy that does not name itself.
WindowView CaptureWindow(HWND window, std::string key, const std::wstring& governingPolicy);

struct RenderOptions {
    std::string csrf;        // the session's anti-forgery token, in every form
    std::string scope;       // prefix of element ids, one per window on the page
    bool interactive = true; // false: drawn behind a modal window, every form disabled
};

// The window's controls as HTML forms that post user actions to /sheet/act.
std::string RenderWindow(const WindowView& window, const RenderOptions& options);
// The stylesheet that puts each control at its place (inline styles are not
// allowed by the console's content policy, so places travel as a stylesheet).
std::string LayoutCss(const WindowView& window, const std::string& scope);

// The pixels of the browser per unit of the template.
inline constexpr double kScale = 1.25;

}  // namespace host::web
