#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/console/ConsoleSession.h"
#include "host/web/Gate.h"
#include "host/web/Sheet.h"
#include "ui/Interaction.h"
#include "ui/Services.h"

// The browser console: one UI thread owns the platform, the store, the
// plug-in and every open sheet, as a console's UI thread does. Requests come
// from the HTTP threads as jobs; each waits until its browser session is
// settled: the job is done, or the UI thread waits for that browser inside a
// dialog, message box, popup menu or picker the job opened. While it waits,
// the UI thread serves every other session's jobs (a nested loop, as a modal
// message loop serves every window), and the browser's next request acts
// inside the dialog or answers the box.
namespace host::web {

class Console : private ui::InteractionDriver {
public:
    // sheetIdle: an open sheet nobody has touched this long is cancelled.
    Console(std::string storePath, std::string pluginPath, std::chrono::seconds sheetIdle);
    ~Console() override;
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // Answers an admitted request (any thread).
    WebResponse Handle(const WebRequest& request, const Gate::Admitted& session);
    // Ends the UI thread: every dialog and box is cancelled, every sheet closed.
    void Stop();

private:
    struct Reply;
    struct Job {
        std::string session;
        std::function<WebResponse()> work;
        std::shared_ptr<Reply> reply;
    };
    // What a session waits in: a message box, a dialog, a popup menu or a picker.
    struct Modal {
        enum class Kind { Box, Dialog, Menu, Picker } kind = Kind::Box;
        ui::ShownBox box;
        HWND dialog = nullptr;
        ui::ShownDialog shown;
        ui::ShownMenu menu;
        ui::ServiceCall picker;
        bool answered = false;
        bool abandoned = false;
        int answer = 0;
        std::wstring path;
    };
    struct Notice {
        bool error = false;
        std::string text;
    };
    struct BrowserState {
        std::unique_ptr<Sheet> sheet;
        bool createdForWizard = false;  // the sheet is the wizard of an object made for it
        std::vector<Modal*> modals;  // the windows it waits in, innermost last (each lives in its wait)
        std::vector<Notice> notices;
        std::chrono::steady_clock::time_point lastSeen;
    };

    WebResponse Call(const std::string& session, std::function<WebResponse()> work);
    void ThreadMain();
    void ServeUntil(const std::function<bool()>& done);
    void Run(Job& job);
    void CloseIdleSheets();
    BrowserState& State(const std::string& session);
    void WaitForBrowser(Modal& modal);

    // the interaction driver, on the UI thread
    int AnswerMessageBox(const ui::ShownBox& box) override;
    void ActInDialog(HWND dialog, const ui::ShownDialog& shown) override;
    UINT ChooseMenuItem(const ui::ShownMenu& menu) override;
    std::wstring AnswerPicker(const ui::ServiceCall& request);

    // routes, on the UI thread
    WebResponse Route(const WebRequest& request, const Gate::Admitted& session);
    WebResponse ShowObjects(const Gate::Admitted& session);
    WebResponse CreateObject(const WebRequest& request, const Gate::Admitted& session);
    WebResponse DeleteObject(const WebRequest& request, const Gate::Admitted& session);
    WebResponse OpenSheet(const WebRequest& request, const Gate::Admitted& session);
    WebResponse ShowSheet(const Gate::Admitted& session);
    WebResponse SelectPage(const WebRequest& request, const Gate::Admitted& session);
    WebResponse Act(const WebRequest& request, const Gate::Admitted& session);
    WebResponse Answer(const WebRequest& request, const Gate::Admitted& session);
    WebResponse PressButton(const WebRequest& request, const Gate::Admitted& session);
    WebResponse ShowExport(const WebRequest& request, const std::string& format);
    WebResponse ShowEvents(const Gate::Admitted& session);
    WebResponse ShowCompare(const WebRequest& request, const Gate::Admitted& session);
    std::wstring RequireObject(const WebRequest& request, const std::string& param);
    void CloseSheet(BrowserState& state, bool cancelled);
    std::string RememberLayout(const std::string& css);

    std::string m_storePath;
    std::string m_pluginPath;
    std::chrono::seconds m_sheetIdle;

    // shared between the HTTP threads and the UI thread
    std::mutex m_queueLock;
    std::condition_variable m_queueReady;
    std::deque<Job> m_queue;
    std::atomic<bool> m_stopping{false};
    std::mutex m_layoutLock;  // guards m_layouts
    std::map<std::string, std::string> m_layouts;  // stylesheet name -> the places of a drawn window
    std::deque<std::string> m_layoutOrder;

    // the UI thread's own
    std::unique_ptr<ConsoleSession> m_console;
    std::map<std::string, BrowserState> m_sessions;
    std::string m_acting;  // the session whose job runs
    std::shared_ptr<Reply> m_actingReply;
    std::thread m_thread;  // last: it starts when everything above is ready
};

}  // namespace host::web
