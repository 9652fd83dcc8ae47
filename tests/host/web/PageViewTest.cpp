#include "host/web/PageView.h"

#include <gtest/gtest.h>

namespace host::web {
namespace {

WebControl Control(int id, const wchar_t* kind, const wchar_t* text, RECT rect = {10, 10, 110, 30})
{
    WebControl control;
    control.view.state.id = id;
    control.view.state.kind = kind;
    control.view.state.text = text;
    control.view.state.label = text;
    control.rect = rect;
    return control;
}

WindowView Window(std::vector<WebControl> controls)
{
    WindowView window{"page:0", L"Settings", 440, 360, std::move(controls)};
    for (std::size_t i = 0; i < window.controls.size(); ++i) window.controls[i].index = static_cast<int>(i);
    return window;
}

bool Has(const std::string& html, const std::string& part) { return html.find(part) != std::string::npos; }

TEST(RenderWindowTest, EachKindBecomesTheFormThatActsOnIt)
{
    auto checked = Control(1087, L"check box", L"Use a password");
    checked.view.state.state = L"checked";
    auto combo = Control(20036, L"combo", L"Mode");
    combo.view.items = {L"first", L"second"};
    combo.view.state.state = L"selected: second";
    auto disabled = Control(6011, L"edit", L"30");
    disabled.view.state.enabled = false;
    auto time = Control(1114, L"time picker", L"2010-05-18 09:30");
    auto hidden = Control(77, L"button", L"Hidden");
    hidden.view.state.visible = false;
    const struct {
        WebControl control;
        std::vector<std::string> parts;
    } cases[] = {
        {Control(6009, L"edit", L"12"),
         {"name=\"verb\" value=\"type\"", "name=\"id\" value=\"6009\"", "type=\"text\" name=\"text\" value=\"12\""}},
        {Control(1000, L"button", L"Изменить"), {"value=\"click\"", "<button type=\"submit\">Изменить</button>"}},
        {checked, {"value=\"check\"", "type=\"checkbox\" name=\"checked\" checked"}},
        {Control(1120, L"radio", L"On demand"), {"value=\"click\"", "type=\"radio\""}},
        {combo, {"value=\"select\"", "<option value=\"#2\" selected>second</option>", "<option value=\"#1\">first</option>"}},
        {disabled, {"value=\"30\"", " disabled"}},
        {time, {"type=\"time\"", "value=\"09:30\""}},
        {Control(5, L"label", L"Размер, МБ"), {"class=\"ctl label\"", ">Размер, МБ</div>"}},
        {Control(4, L"group", L"Журнал событий"), {"class=\"ctl group\"", "Журнал событий"}},
        {Control(8, L"spin", L""), {"value=\"spin\"", "value=\"up\"", "value=\"down\""}},
    };
    for (const auto& c : cases) {
        const std::string html = RenderWindow(Window({c.control}), {"tok", "p-", true});
        for (const auto& part : c.parts) EXPECT_TRUE(Has(html, part)) << part << "\nin " << html;
        EXPECT_TRUE(Has(html, "name=\"csrf\" value=\"tok\"") || c.control.view.state.kind == L"label" ||
                    c.control.view.state.kind == L"group")
            << html;
    }
    EXPECT_FALSE(Has(RenderWindow(Window({hidden}), {"tok", "p-", true}), "Hidden"));
}

TEST(RenderWindowTest, PasswordFieldNeverCarriesWhatItHolds)
{
    auto password = Control(1001, L"edit", L"S3cret pass");
    password.view.state.label = L"Пароль";
    password.view.password = true;
    const std::string html = RenderWindow(Window({password}), {"tok", "p-", true});
    EXPECT_FALSE(Has(html, "S3cret")) << html;
    EXPECT_TRUE(Has(html, "type=\"password\" name=\"text\" value=\"\""));
    EXPECT_TRUE(Has(html, "placeholder=")) << "a field that holds a password says so";
    password.view.state.text.clear();
    EXPECT_FALSE(Has(RenderWindow(Window({password}), {"tok", "p-", true}), "placeholder="));
}

TEST(RenderWindowTest, TextFromThePlugInIsEscapedEverywhere)
{
    const std::wstring hostile = L"<img src=x onerror=alert(1)>\"'";
    auto edit = Control(6009, L"edit", hostile.c_str());
    edit.view.state.tooltip = hostile;
    auto combo = Control(2, L"combo", L"");
    combo.view.items = {hostile};
    auto list = Control(3, L"list view", L"");
    list.columns = {hostile};
    list.cells = {{hostile, hostile}};
    list.view.rows = {{hostile, false, false, {}}};
    auto lock = Control(20038, L"drop-down", L"");
    lock.view.lockedByPolicy = true;
    lock.lockingPolicy = hostile;
    const std::string html =
        RenderWindow(Window({Control(1, L"label", hostile.c_str()), Control(4, L"button", hostile.c_str()), edit, combo, list, lock}),
                     {"tok", "p-", true});
    EXPECT_FALSE(Has(html, "<img")) << html;
    EXPECT_FALSE(Has(html, "\"'")) << html;
    EXPECT_TRUE(Has(html, "&lt;img src=x onerror=alert(1)&gt;&quot;&#39;"));
}

TEST(RenderWindowTest, LockHeldByPolicyIsMarkedAndSaysWhichPolicy)
{
    auto lock = Control(20038, L"drop-down", L"", {380, 23, 430, 43});
    lock.view.items = {L"Редактирование запрещено", L"Редактирование разрешено"};
    lock.view.state.state = L"selected: Редактирование запрещено";
    lock.view.state.tooltip = L"Изменение настроек запрещено.";
    lock.view.lockedByPolicy = true;
    lock.lockingPolicy = L"Servers";
    auto governed = Control(6009, L"edit", L"10");
    governed.view.state.enabled = false;
    governed.view.governingLock = 20038;
    const WindowView window = Window({governed, lock});
    const std::string html = RenderWindow(window, {"tok", "p-", true});
    EXPECT_TRUE(Has(html, "k-lock held"));
    EXPECT_TRUE(Has(html, "title=\"Изменение настроек запрещено.\""));
    EXPECT_TRUE(Has(html, "enforced by the policy «Servers»"));
    EXPECT_TRUE(Has(html, "value=\"10\" inputmode") || Has(html, "value=\"10\" aria-label"));
    EXPECT_TRUE(Has(html, " disabled"));
    // the reason stands beside the lock, at its height, right of the page
    const std::string css = LayoutCss(window, "p-");
    EXPECT_TRUE(Has(css, "#p-w1{left:" + std::to_string(static_cast<int>(440 * kScale) + 140) + "px;top:29px")) << css;
}

TEST(RenderWindowTest, ListViewShowsColumnsRowsChecksAndSelection)
{
    auto list = Control(1322, L"list view", L"");
    list.view.hasCheckBoxes = true;
    list.view.rows = {{L"понедельник", true, false, {}}, {L"вторник", false, true, {}}};
    list.columns = {L"День", L"Время"};
    list.cells = {{L"понедельник", L"09:00"}, {L"вторник", L"10:00"}};
    const std::string html = RenderWindow(Window({list}), {"tok", "m0-", true});
    EXPECT_TRUE(Has(html, "<th>День</th><th>Время</th>"));
    EXPECT_TRUE(Has(html, "<td>10:00</td>"));
    EXPECT_TRUE(Has(html, "<tr class=\"selected\">"));
    EXPECT_TRUE(Has(html, "aria-label=\"понедельник\" checked"));
    EXPECT_TRUE(Has(html, "aria-label=\"вторник\">"));
    EXPECT_TRUE(Has(html, "name=\"text\" value=\"#2\""));
    EXPECT_TRUE(Has(html, "id=\"m0-c0\""));
}

TEST(RenderWindowTest, WindowBehindAModalIsDrawnWithoutWorkingForms)
{
    const std::string html = RenderWindow(Window({Control(1, L"button", L"OK"), Control(2, L"edit", L"x")}), {"tok", "p-", false});
    EXPECT_TRUE(Has(html, "<button type=\"submit\" disabled>OK</button>"));
    EXPECT_TRUE(Has(html, "autocomplete=\"off\" disabled") || Has(html, " disabled autocomplete"));
}

TEST(LayoutCssTest, PlacesControlsByTheirTemplateRectanglesAndTabOrder)
{
    const WindowView window = Window({Control(5, L"label", L"a", {15, 25, 300, 41}), Control(-1, L"label", L"b", {15, 50, 300, 66})});
    const std::string css = LayoutCss(window, "p-");
    EXPECT_TRUE(Has(css, "#p-c0{left:19px;top:31px;width:356px;height:20px}")) << css;
    EXPECT_TRUE(Has(css, "#p-c1{left:19px;top:63px;")) << "labels that share an id keep their own places";
}

}  // namespace
}  // namespace host::web
