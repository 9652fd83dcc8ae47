#include "host/web/Console.h"

#include <charconv>
#include <optional>

#include "host/console/ConsoleObjects.h"
#include "host/console/UserScript.h"
#include "host/web/Html.h"
#include "host/web/PageView.h"
#include "host/web/Views.h"
#include "ui/UserActions.h"
#include "ui/Window.h"
#include "ui/Wnd.h"
#include "zrpar/Render.h"
#include "zrplugin/ProductEvents.h"
#include "zrplugin/SettingsExporter.h"
#include "zrstd/Strings.h"

namespace host::web {

namespace {

using ZRSTD::FromUtf8;
using ZRSTD::ToUtf8;

// How long an HTTP thread waits for the UI thread before it gives up.
constexpr auto kReplyWait = std::chrono::seconds(120);

// A request that is written wrong: answered with its status, changing nothing.
struct BadRequest {
    int status;
    std::string message;
};

std::optional<int> Number(const std::string& text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string Required(const WebRequest& request, const std::string& name)
{
    if (request.params.count(name) != 1) throw BadRequest{400, "the request needs one \"" + name + "\""};
    return request.Param(name);
}

int RequiredNumber(const WebRequest& request, const std::string& name)
{
    const auto number = Number(Required(request, name));
    if (!number) throw BadRequest{400, "\"" + name + "\" must be a number"};
    return *number;
}

std::string ErrorText(const std::exception& error)
{
    if (const auto* zr = dynamic_cast<const ZRERR::Error*>(&error)) return ToUtf8(zr->GetMessage());
    return error.what();
}

// The answer a box gets when its session is gone: the least it can do.
int CancelAnswer(UINT style)
{
    switch (style & 0xF) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL: return IDCANCEL;
    case MB_YESNO: return IDNO;
    default: return IDOK;
    }
}

std::vector<int> BoxButtons(UINT style)
{
    switch (style & 0xF) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case 0x2: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case 0x5: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
    }
}

std::string Stamp(std::size_t value)
{
    static const char* const kHex = "0123456789abcdef";
    std::string text;
    for (int i = 0; i < 16; ++i, value >>= 4) text += kHex[value & 0xF];
    return text;
}

}  // namespace

struct Console::Reply {
    std::mutex lock;
    std::condition_variable ready;
    bool done = false;
    WebResponse response;

    void Fulfil(WebResponse answer)
    {
        std::lock_guard<std::mutex> guard(lock);
        if (done) return;  // the browser was answered already (a dialog it now waits in)
        response = std::move(answer);
        done = true;
        ready.notify_all();
    }
};

Console::Console(std::string storePath, std::string pluginPath, std::chrono::seconds sheetIdle)
    : m_storePath(std::move(storePath)), m_pluginPath(std::move(pluginPath)), m_sheetIdle(sheetIdle)
{
    // the store and the plug-in open on the UI thread; a failure there is this constructor's
    auto started = std::make_shared<Reply>();
    m_thread = std::thread([this, started] {
        try {
            m_console = std::make_unique<ConsoleSession>(m_storePath, m_pluginPath);
            m_console->Store();
            m_console->Plugin();
            started->Fulfil({});
        } catch (const std::exception& error) {
            started->Fulfil(WebResponse::Error(500, ErrorText(error)));
            return;
        }
        ThreadMain();
    });
    std::unique_lock<std::mutex> guard(started->lock);
    started->ready.wait(guard, [&] { return started->done; });
    if (started->response.status != 200) {
        m_thread.join();
        m_console.reset();
        const std::string body = started->response.body;
        const auto at = body.find("error-message\">");
        throw std::runtime_error(at == std::string::npos ? body : body.substr(at + 15, body.find("</p>", at) - at - 15));
    }
}

Console::~Console() { Stop(); }

void Console::Stop()
{
    {
        std::lock_guard<std::mutex> guard(m_queueLock);
        m_stopping = true;
    }
    m_queueReady.notify_all();
    if (m_thread.joinable()) m_thread.join();
}

WebResponse Console::Call(const std::string& session, std::function<WebResponse()> work)
{
    auto reply = std::make_shared<Reply>();
    {
        std::lock_guard<std::mutex> guard(m_queueLock);
        if (m_stopping) return WebResponse::Error(503, "the console is stopping");
        m_queue.push_back({session, std::move(work), reply});
    }
    m_queueReady.notify_all();
    std::unique_lock<std::mutex> guard(reply->lock);
    if (!reply->ready.wait_for(guard, kReplyWait, [&] { return reply->done; }))
        return WebResponse::Error(503, "the console is busy; try again");
    return reply->response;
}

void Console::ThreadMain()
{
    ui::SetInteractionDriver(this);
    ui::SetPickerAnswer([this](const ui::ServiceCall& request) { return AnswerPicker(request); });
    ServeUntil([this] { return m_stopping.load(); });
    // what the sessions still have open is cancelled, on the thread that made it
    for (auto& [id, state] : m_sessions) CloseSheet(state, true);
    m_sessions.clear();
    ui::SetInteractionDriver(nullptr);
    ui::SetPickerAnswer(nullptr);
    std::lock_guard<std::mutex> guard(m_queueLock);
    for (auto& job : m_queue) job.reply->Fulfil(WebResponse::Error(503, "the console is stopping"));
    m_queue.clear();
    m_console.reset();
}

void Console::ServeUntil(const std::function<bool()>& done)
{
    while (!done()) {
        std::optional<Job> job;
        {
            std::unique_lock<std::mutex> guard(m_queueLock);
            m_queueReady.wait_for(guard, std::chrono::seconds(1), [&] { return !m_queue.empty() || m_stopping; });
            if (!m_queue.empty()) {
                job = std::move(m_queue.front());
                m_queue.pop_front();
            }
        }
        if (job) Run(*job);
        CloseIdleSheets();
    }
}

void Console::Run(Job& job)
{
    const std::string outerSession = m_acting;
    const std::shared_ptr<Reply> outerReply = m_actingReply;
    m_acting = job.session;
    m_actingReply = job.reply;
    State(job.session).lastSeen = std::chrono::steady_clock::now();
    try {
        job.reply->Fulfil(job.work());
    } catch (const BadRequest& bad) {
        job.reply->Fulfil(WebResponse::Error(bad.status, bad.message));
    } catch (const std::exception& error) {
        // a refusal met after the browser was answered shows with the next drawing
        State(job.session).notices.push_back({true, ErrorText(error)});
        job.reply->Fulfil(WebResponse::Redirect("/sheet"));
    }
    ::PumpMessages();
    m_acting = outerSession;
    m_actingReply = outerReply;
    if (m_acting.empty()) {
        // nothing waits below: the platform's records of what was shown may go
        ui::ClearInteractionRecord();
        ui::ClearServiceCalls();
    }
}

Console::BrowserState& Console::State(const std::string& session)
{
    auto [found, made] = m_sessions.try_emplace(session);
    if (made) found->second.lastSeen = std::chrono::steady_clock::now();
    return found->second;
}

void Console::CloseIdleSheets()
{
    const auto now = std::chrono::steady_clock::now();
    for (auto& [id, state] : m_sessions) {
        if (now - state.lastSeen < m_sheetIdle || (!state.sheet && state.modals.empty())) continue;
        if (!state.modals.empty()) {
            // the windows it waits in are cancelled as their loops unwind
            for (auto& modal : state.modals) modal->abandoned = true;
            continue;
        }
        if (id == m_acting) continue;
        CloseSheet(state, true);
        state.notices.push_back({false, "The sheet was closed after it stood idle; nothing was applied since its last Apply."});
    }
}

void Console::CloseSheet(BrowserState& state, bool cancelled)
{
    if (!state.sheet) return;
    const std::wstring object = state.sheet->Object();
    const bool dropObject = cancelled && state.createdForWizard;
    state.sheet.reset();
    state.createdForWizard = false;
    // a wizard cancelled leaves nothing behind: the object it was making goes
    if (dropObject && m_console) {
        try {
            m_console->DeleteObject(object, false);
        } catch (const std::exception&) {
        }
    }
}

// ---- the interaction driver ---------------------------------------------

void Console::WaitForBrowser(Modal& modal)
{
    const std::string session = m_acting;
    const std::shared_ptr<Reply> reply = m_actingReply;
    BrowserState& state = State(session);
    state.modals.push_back(&modal);
    struct Popped {
        std::vector<Modal*>& modals;
        ~Popped() { modals.pop_back(); }
    } popped{state.modals};
    // the browser is answered now: its next drawing shows the window it waits in
    if (reply) reply->Fulfil(WebResponse::Redirect("/sheet"));
    ServeUntil([&] {
        if (m_stopping) modal.abandoned = true;
        if (modal.answered || modal.abandoned) return true;
        return modal.kind == Modal::Kind::Dialog && ui::ModalDialogEnded(modal.dialog);
    });
    m_acting = session;
    m_actingReply = reply;
}

int Console::AnswerMessageBox(const ui::ShownBox& box)
{
    Modal modal;
    modal.kind = Modal::Kind::Box;
    modal.box = box;
    WaitForBrowser(modal);
    return modal.answered ? modal.answer : CancelAnswer(box.style);
}

void Console::ActInDialog(HWND dialog, const ui::ShownDialog& shown)
{
    Modal modal;
    modal.kind = Modal::Kind::Dialog;
    modal.dialog = dialog;
    modal.shown = shown;
    WaitForBrowser(modal);
    if (!ui::ModalDialogEnded(dialog) && IsWindow(dialog))
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);  // its session is gone
}

UINT Console::ChooseMenuItem(const ui::ShownMenu& menu)
{
    Modal modal;
    modal.kind = Modal::Kind::Menu;
    modal.menu = menu;
    WaitForBrowser(modal);
    return modal.answered ? static_cast<UINT>(modal.answer) : 0;
}

std::wstring Console::AnswerPicker(const ui::ServiceCall& request)
{
    Modal modal;
    modal.kind = Modal::Kind::Picker;
    modal.picker = request;
    WaitForBrowser(modal);
    return modal.answered ? modal.path : std::wstring();
}

// ---- requests -------------------------------------------------------------

std::string Console::RememberLayout(const std::string& css)
{
    const std::string name = Stamp(std::hash<std::string>{}(css)) + Stamp(css.size());
    std::lock_guard<std::mutex> guard(m_layoutLock);
    if (m_layouts.emplace(name, css).second) {
        m_layoutOrder.push_back(name);
        if (m_layoutOrder.size() > 512) {
            m_layouts.erase(m_layoutOrder.front());
            m_layoutOrder.pop_front();
        }
    }
    return "/layout/" + name + ".css";
}

WebResponse Console::Handle(const WebRequest& request, const Gate::Admitted& session)
{
    for (const auto& [name, value] : request.params)
        if (!IsCleanText(name) || !IsCleanText(value))
            return WebResponse::Error(400, "the request holds text that is not UTF-8, or control characters");
    if (request.method == "GET" && request.path.rfind("/layout/", 0) == 0) {
        const std::string name = request.path.substr(8);
        std::lock_guard<std::mutex> guard(m_layoutLock);
        const auto found = name.size() > 4 ? m_layouts.find(name.substr(0, name.size() - 4)) : m_layouts.end();
        if (found == m_layouts.end()) return WebResponse::Error(404, "no such layout");
        WebResponse response;
        response.contentType = "text/css; charset=utf-8";
        response.body = found->second;
        response.headers.push_back({"Cache-Control", "private, max-age=86400, immutable"});
        return response;
    }
    return Call(session.session, [this, request, session] { return Route(request, session); });
}

WebResponse Console::Route(const WebRequest& request, const Gate::Admitted& session)
{
    const std::string& path = request.path;
    if (request.method == "GET") {
        if (path == "/") return ShowObjects(session);
        if (path == "/sheet") return ShowSheet(session);
        if (path == "/export") return ShowExport(request, "html");
        if (path == "/export.txt") return ShowExport(request, "text");
        if (path == "/export.json") return ShowExport(request, "json");
        if (path == "/events") return ShowEvents(session);
        if (path == "/compare") return ShowCompare(request, session);
        return WebResponse::Error(404, "there is no page " + path);
    }
    if (path == "/objects/new") return CreateObject(request, session);
    if (path == "/objects/delete") return DeleteObject(request, session);
    if (path == "/sheet/open") return OpenSheet(request, session);
    if (path == "/sheet/page") return SelectPage(request, session);
    if (path == "/sheet/act") return Act(request, session);
    if (path == "/sheet/answer") return Answer(request, session);
    if (path == "/sheet/button") return PressButton(request, session);
    return WebResponse::Error(404, "there is nothing to post to at " + path);
}

std::wstring Console::RequireObject(const WebRequest& request, const std::string& param)
{
    const std::wstring object = FromUtf8(Required(request, param));
    ObjectName name{};
    try {
        name = ParseObjectName(object);
    } catch (const ZRERR::Error& error) {
        throw BadRequest{400, ToUtf8(error.GetMessage())};
    }
    if (!m_console->Store().HasObject(name.Full())) throw BadRequest{404, "there is no object \"" + ToUtf8(object) + "\""};
    return name.Full();
}

WebResponse Console::ShowObjects(const Gate::Admitted& session)
{
    BrowserState& state = State(session.session);
    if (!state.modals.empty()) return WebResponse::Redirect("/sheet");
    SettingsStore& store = m_console->Store();
    std::vector<ObjectRow> rows;
    for (const auto& object : store.ListObjects()) {
        ObjectRow row;
        row.object = object;
        const auto colon = object.find(L':');
        row.kind = object.substr(0, colon);
        row.name = colon == std::wstring::npos ? object : object.substr(colon + 1);
        row.policy = m_console->GoverningPolicy(object);
        const auto entry = store.GetCatalogueEntry(object);
        if (entry && entry->attributes)
            if (ZRPAR::Value* type = entry->attributes->FindValue(kAttributeTaskType); type && type->GetType() == ZRPAR::VT_STRING)
                row.taskType = static_cast<ZRPAR::StringValue*>(type)->GetValue();
        rows.push_back(std::move(row));
    }
    std::vector<NoticeView> notices;
    for (const auto& notice : state.notices) notices.push_back({notice.error, notice.text});
    state.notices.clear();
    WebResponse response;
    response.body = Document("Objects", ObjectsBody(rows, AgentTaskTypes(), session.csrf, store.Path()), notices);
    return response;
}

WebResponse Console::CreateObject(const WebRequest& request, const Gate::Admitted& session)
{
    BrowserState& state = State(session.session);
    const std::wstring kind = FromUtf8(Required(request, "kind"));
    const auto type = ObjectTypeOfKind(kind);
    if (!type) throw BadRequest{400, "there is no kind of object \"" + ToUtf8(kind) + "\""};
    const ObjectName object{*type, kind, ZRSTD::Trim(FromUtf8(Required(request, "name")))};
    NewObjectOptions options;
    const bool governed = *type == ObjectType::Host || *type == ObjectType::DistributionPoint || *type == ObjectType::Task;
    if (governed) options.policy = FromUtf8(request.Param("policy"));
    if (*type == ObjectType::Task) options.taskType = FromUtf8(request.Param("type"));
    try {
        m_console->CreateObject(object, options);
    } catch (const ZRERR::Error& error) {
        state.notices.push_back({true, ToUtf8(error.GetMessage())});
        return WebResponse::Redirect("/");
    }
    state.notices.push_back({false, "Created " + ToUtf8(object.Full()) + "."});
    if (*type != ObjectType::Task) return WebResponse::Redirect("/");
    // a new task is set up in its creation wizard, where the page tables have one
    auto wizard = std::make_unique<Sheet>(*m_console, object.Full(), true);
    if (wizard->PageCount() == 0) return WebResponse::Redirect("/");
    if (state.sheet) CloseSheet(state, true);
    state.sheet = std::move(wizard);
    state.createdForWizard = true;
    state.sheet->Select(0);
    return WebResponse::Redirect("/sheet");
}

WebResponse Console::DeleteObject(const WebRequest& request, const Gate::Admitted& session)
{
    BrowserState& state = State(session.session);
    const std::wstring object = RequireObject(request, "object");
    if (state.sheet && state.sheet->Object() == object) CloseSheet(state, true);
    try {
        const auto detached = m_console->DeleteObject(object, request.Param("force") == "1");
        std::string text = std::string("Deleted ").append(ToUtf8(object)).append(".");
        for (const auto& other : detached)
            text.append(" ").append(ToUtf8(other)).append(" is no longer governed by a policy.");
        state.notices.push_back({false, text});
    } catch (const ZRERR::Error& error) {
        state.notices.push_back({true, ToUtf8(error.GetMessage())});
    }
    return WebResponse::Redirect("/");
}

WebResponse Console::OpenSheet(const WebRequest& request, const Gate::Admitted& session)
{
    BrowserState& state = State(session.session);
    if (!state.modals.empty()) throw BadRequest{409, "finish the open dialog first"};
    const std::wstring object = RequireObject(request, "object");
    CloseSheet(state, true);  // one sheet per browser session
    state.sheet = std::make_unique<Sheet>(*m_console, object, false);
    int page = 0;
    if (request.HasParam("page")) page = RequiredNumber(request, "page");
    if (page < 0 || page >= state.sheet->PageCount()) page = 0;
    if (state.sheet->PageCount() > 0) state.sheet->Select(page);
    return WebResponse::Redirect("/sheet");
}

WebResponse Console::ShowSheet(const Gate::Admitted& session)
{
    BrowserState& state = State(session.session);
    if (!state.sheet && state.modals.empty()) return WebResponse::Redirect("/");
    SheetModel model;
    model.csrf = session.csrf;
    std::string css;
    const bool waiting = !state.modals.empty();
    if (state.sheet) {
        Sheet& sheet = *state.sheet;
        model.object = sheet.Object();
        model.policy = sheet.GoverningPolicy();
        model.wizard = sheet.Wizard();
        model.groups = &sheet.Groups();
        model.pageCount = sheet.PageCount();
        for (int i = 0; i < sheet.PageCount(); ++i) model.titles.push_back(sheet.PageTitle(i));
        model.selected = sheet.Selected();
        model.applyEnabled = sheet.AnyModified();
        if (const HWND window = sheet.Window()) {
            const WindowView page = CaptureWindow(window, "page:" + std::to_string(sheet.Selected()), sheet.GoverningPolicy());
            model.pageHtml = RenderWindow(page, {session.csrf, "p-", !waiting});
            css += LayoutCss(page, "p-");
        } else if (sheet.PageCount() == 0) {
            model.pageHtml = "<p class=\"unavailable\">This object has no pages.</p>";
        } else {
            model.pageHtml = "<p class=\"unavailable\">" + Escape(sheet.Unavailable(sheet.Selected())) + "</p>";
        }
    }
    for (std::size_t level = 0; level < state.modals.size(); ++level) {
        const Modal& modal = *state.modals[level];
        const bool top = level + 1 == state.modals.size();
        const std::string scope = "m" + std::to_string(level) + "-";
        switch (modal.kind) {
        case Modal::Kind::Box:
            model.modalsHtml += BoxHtml(modal.box.caption, modal.box.text, modal.box.style, session.csrf, top);
            break;
        case Modal::Kind::Dialog: {
            const bool ended = ui::ModalDialogEnded(modal.dialog) || !IsWindow(modal.dialog);
            std::string inner;
            if (!ended) {
                const WindowView dialog = CaptureWindow(modal.dialog, "dialog:" + std::to_string(modal.shown.templateId),
                                                        state.sheet ? state.sheet->GoverningPolicy() : L"");
                inner = RenderWindow(dialog, {session.csrf, scope, top});
                css += LayoutCss(dialog, scope);
            }
            model.modalsHtml += DialogHtml(ended ? modal.shown.caption : GetWindowTextW(modal.dialog), inner, scope, ended);
            break;
        }
        case Modal::Kind::Menu: {
            std::vector<MenuItemView> items;
            for (const auto& item : modal.menu.items) items.push_back({item.id, item.text, item.enabled, item.checked, item.separator});
            model.modalsHtml += MenuHtml(items, session.csrf, top);
            break;
        }
        case Modal::Kind::Picker:
            model.modalsHtml += PickerHtml(modal.picker.service, modal.picker.argument, session.csrf, top);
            break;
        }
    }
    model.modal = waiting;
    if (!css.empty()) model.layoutHref = RememberLayout(css);
    std::vector<NoticeView> notices;
    for (const auto& notice : state.notices) notices.push_back({notice.error, notice.text});
    state.notices.clear();
    WebResponse response;
    const std::string title = state.sheet ? ToUtf8(state.sheet->Object()) : std::string("Console");
    response.body = Document(title, SheetBody(model), notices, "sheet-page");
    return response;
}

WebResponse Console::SelectPage(const WebRequest& request, const Gate::Admitted& session)
{
    BrowserState& state = State(session.session);
    if (!state.sheet) throw BadRequest{409, "no sheet is open"};
    if (!state.modals.empty()) throw BadRequest{409, "finish the open dialog first"};
    const int page = RequiredNumber(request, "page");
    if (page < 0 || page >= state.sheet->PageCount()) throw BadRequest{400, "the sheet has no page " + std::to_string(page)};
    if (state.sheet->Wizard()) throw BadRequest{409, "a wizard moves with Back and Next"};
    if (!state.sheet->Select(page)) state.notices.push_back({true, "The page shown did not let go: correct it first."});
    return WebResponse::Redirect("/sheet");
}

WebResponse Console::Act(const WebRequest& request, const Gate::Admitted& session)
{
    BrowserState& state = State(session.session);
    const std::string windowKey = Required(request, "window");
    const int id = RequiredNumber(request, "id");
    const std::string verb = Required(request, "verb");
    static const char* const kVerbs[] = {"type", "append", "clear", "click", "check", "uncheck", "select", "spin"};
    if (std::find_if(std::begin(kVerbs), std::end(kVerbs), [&](const char* v) { return verb == v; }) == std::end(kVerbs))
        throw BadRequest{400, "there is no action \"" + verb + "\""};
    // the window acted in must be the one the browser shows on top
    HWND window = nullptr;
    std::wstring policy = state.sheet ? state.sheet->GoverningPolicy() : L"";
    if (!state.modals.empty()) {
        const Modal& top = *state.modals.back();
        if (top.kind != Modal::Kind::Dialog || ui::ModalDialogEnded(top.dialog))
            throw BadRequest{409, "answer the open window first"};
        if (windowKey != "dialog:" + std::to_string(top.shown.templateId))
            throw BadRequest{409, "that window is not the one open now (reload the page)"};
        window = top.dialog;
    } else {
        if (!state.sheet || !state.sheet->Window()) throw BadRequest{409, "no page is open"};
        if (windowKey != "page:" + std::to_string(state.sheet->Selected()))
            throw BadRequest{409, "that page is not the one shown now (reload the page)"};
        window = state.sheet->Window();
    }
    const HWND control = GetDlgItem(window, id);
    if (!control || !(GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE))
        throw BadRequest{400, "the window shown has no control " + std::to_string(id)};
    ScriptStep step;
    step.verb = verb;
    step.id = id;
    step.hasText = request.HasParam("text");
    step.text = FromUtf8(request.Param("text"));
    if ((verb == "type" || verb == "append" || verb == "select" || verb == "spin") && !step.hasText)
        throw BadRequest{400, "the action \"" + verb + "\" needs a text"};
    const bool password = GetClassName(control) == L"Edit" && SendMessageW(control, EM_GETPASSWORDCHAR, 0, 0) != 0;
    try {
        PerformStep(window, step, policy);
    } catch (const ui::ActionRefused& refused) {
        // a refusal never repeats what was typed into a password field
        state.notices.push_back({true, password ? ui::NameForUser(control) + " did not take what was typed" : refused.what()});
    }
    return WebResponse::Redirect("/sheet");
}

WebResponse Console::Answer(const WebRequest& request, const Gate::Admitted& session)
{
    BrowserState& state = State(session.session);
    if (state.modals.empty()) throw BadRequest{409, "nothing waits for an answer"};
    Modal& top = *state.modals.back();
    const std::string kind = Required(request, "kind");
    if (top.kind == Modal::Kind::Box && kind == "box") {
        const int button = RequiredNumber(request, "button");
        const auto offered = BoxButtons(top.box.style);
        if (std::find(offered.begin(), offered.end(), button) == offered.end())
            throw BadRequest{400, "the message box has no button " + std::to_string(button)};
        top.answer = button;
    } else if (top.kind == Modal::Kind::Menu && kind == "menu") {
        const int command = RequiredNumber(request, "command");
        const bool offered = command == 0 || std::any_of(top.menu.items.begin(), top.menu.items.end(), [&](const auto& item) {
                                 return !item.separator && item.enabled && static_cast<int>(item.id) == command;
                             });
        if (!offered) throw BadRequest{400, "the menu offers no command " + std::to_string(command)};
        top.answer = command;
    } else if (top.kind == Modal::Kind::Picker && kind == "picker") {
        top.path = request.Param("cancel") == "1" ? L"" : FromUtf8(Required(request, "path"));
    } else {
        throw BadRequest{409, "the window open is not a " + kind};
    }
    top.answered = true;
    return WebResponse::Redirect("/sheet");
}

WebResponse Console::PressButton(const WebRequest& request, const Gate::Admitted& session)
{
    BrowserState& state = State(session.session);
    if (!state.sheet) throw BadRequest{409, "no sheet is open"};
    if (!state.modals.empty()) throw BadRequest{409, "finish the open dialog first"};
    const std::string button = Required(request, "button");
    Sheet& sheet = *state.sheet;
    const auto apply = [&](bool close) {
        const Sheet::Result result = sheet.Apply();
        if (result.outcome == Sheet::Outcome::Refused) {
            state.notices.push_back({true, "Not applied: a page did not accept its values."});
            return WebResponse::Redirect("/sheet");
        }
        if (result.outcome == Sheet::Outcome::Failed) {
            state.notices.push_back({true, "Not applied: " + ToUtf8(result.message)});
            return WebResponse::Redirect("/sheet");
        }
        std::string text = "Applied " + ToUtf8(sheet.Object()) + ": ";
        if (result.changed.empty()) text += "no stored value changed.";
        else text += std::to_string(result.changed.size()) + (result.changed.size() == 1 ? " setting" : " settings") + " changed (";
        for (std::size_t i = 0; i < result.changed.size(); ++i) text += (i ? ", " : "") + ToUtf8(result.changed[i]);
        if (!result.changed.empty()) text += ").";
        state.notices.push_back({false, text});
        if (!close) return WebResponse::Redirect("/sheet");
        state.createdForWizard = false;  // finished: the object stays
        CloseSheet(state, false);
        return WebResponse::Redirect("/");
    };
    if (button == "ok" || (button == "finish" && sheet.Wizard())) return apply(true);
    if (button == "apply" && !sheet.Wizard()) return apply(false);
    if (button == "cancel") {
        CloseSheet(state, true);
        return WebResponse::Redirect("/");
    }
    if (button == "next" && sheet.Wizard()) {
        sheet.Next();
        return WebResponse::Redirect("/sheet");
    }
    if (button == "back" && sheet.Wizard()) {
        sheet.Back();
        return WebResponse::Redirect("/sheet");
    }
    throw BadRequest{400, "the sheet has no button \"" + button + "\""};
}

WebResponse Console::ShowExport(const WebRequest& request, const std::string& format)
{
    const std::wstring object = RequireObject(request, "object");
    auto dataSource = m_console->DataSource(object);
    auto exporter = m_console->Plugin().Query<ZRPlugin::ISettingsExporter>();
    if (!exporter) throw BadRequest{500, "the plug-in gives no settings exporter"};
    auto tree = ZRPAR::CreateParams();
    exporter->ExportSettings(dataSource->PluginObjectKind(), dataSource.get(), dataSource->TaskType().c_str(), tree.Get(), 0);
    WebResponse response;
    std::string file = ToUtf8(dataSource->Object().name);
    for (char& c : file)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.') c = '_';
    if (format == "json") {
        response.contentType = "application/json; charset=utf-8";
        response.body = ZRPAR::RenderJson(*tree) + "\n";
        response.headers.push_back({"Content-Disposition", "attachment; filename=\"" + file + ".json\""});
    } else if (format == "text") {
        response.contentType = "text/plain; charset=utf-8";
        response.body = ExportText(*tree);
        response.headers.push_back({"Content-Disposition", "attachment; filename=\"" + file + ".txt\""});
    } else {
        response.body = Document("Export of " + ToUtf8(object), ExportBody(object, *tree), {});
    }
    return response;
}

WebResponse Console::ShowEvents(const Gate::Admitted&)
{
    auto events = ZRPAR::CreateParams();
    m_console->Plugin().Accessor()->GetEvents(events.Get());
    std::vector<EventRow> rows;
    ZRPAR::Value* list = events->FindValue(L"Events");
    if (list && list->GetType() == ZRPAR::VT_ARRAY) {
        const auto& array = *static_cast<ZRPAR::ArrayValue*>(list);
        for (std::size_t i = 0; i < array.GetSize(); ++i) {
            auto item = array.GetAt(i);
            if (!item || item->GetType() != ZRPAR::VT_PARAMS) continue;
            const ZRPAR::Params& event = *static_cast<ZRPAR::ParamsValue*>(item.Get())->GetValue();
            EventRow row;
            if (auto* v = event.FindValue(L"Severity"); v && v->GetType() == ZRPAR::VT_INT)
                row.severity = static_cast<ZRPAR::IntValue*>(v)->GetValue();
            if (auto* v = event.FindValue(L"EventID"); v && v->GetType() == ZRPAR::VT_STRING)
                row.id = static_cast<ZRPAR::StringValue*>(v)->GetValue();
            if (auto* v = event.FindValue(L"LocalizedEventIDName"); v && v->GetType() == ZRPAR::VT_STRING)
                row.name = static_cast<ZRPAR::StringValue*>(v)->GetValue();
            rows.push_back(std::move(row));
        }
    }
    WebResponse response;
    response.body = Document("Events", EventsBody(rows), {});
    return response;
}

WebResponse Console::ShowCompare(const WebRequest& request, const Gate::Admitted&)
{
    const auto objects = m_console->Store().ListObjects();
    WebResponse response;
    if (!request.HasParam("a") || !request.HasParam("b")) {
        response.body = Document("Compare", CompareBody(objects, L"", L"", nullptr, ""), {});
        return response;
    }
    const std::wstring first = RequireObject(request, "a");
    const std::wstring second = RequireObject(request, "b");
    auto a = m_console->DataSource(first);
    auto b = m_console->DataSource(second);
    const ObjectName& nameA = a->Object();
    const ObjectName& nameB = b->Object();
    const bool pages = nameA.type == ObjectType::Host || nameB.type == ObjectType::Host;
    std::vector<NoticeView> notices;
    const auto comparable = [](const ObjectName& name) {
        return name.type == ObjectType::Host || name.type == ObjectType::Policy;
    };
    std::string refusal;
    if (pages && (!comparable(nameA) || !comparable(nameB)))
        refusal = "A computer compares with a computer or a policy.";
    else if (!pages && nameA.type != nameB.type)
        refusal = "A " + ToUtf8(nameA.kind) + " compares with another " + ToUtf8(nameA.kind) + ".";
    else if (!pages && nameA.type == ObjectType::Task && a->TaskType() != b->TaskType())
        refusal = "Tasks compare when they are of one type.";
    if (!refusal.empty()) {
        response.body = Document("Compare", CompareBody(objects, first, second, nullptr, ""), {{true, refusal}});
        return response;
    }
    const auto readingsA = pages ? ReadPages(*m_console, *a) : ReadExport(*m_console, *a);
    const auto readingsB = pages ? ReadPages(*m_console, *b) : ReadExport(*m_console, *b);
    const auto differences = CompareReadings(readingsA, readingsB);
    response.body = Document("Compare", CompareBody(objects, first, second, &differences,
                                                    pages ? "as their pages show them" : "by their exports"),
                             {});
    return response;
}

}  // namespace host::web
