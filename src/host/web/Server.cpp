#include "host/web/Server.h"

#include <httplib.h>

#include <atomic>
#include <csignal>
#include <stdexcept>
#include <thread>

#include "host/storage/SettingsStore.h"
#include "host/web/Console.h"
#include "host/web/Gate.h"

extern const unsigned char g_consoleCss[];
extern const std::size_t g_consoleCss_size;
extern const unsigned char g_consoleJs[];
extern const std::size_t g_consoleJs_size;

namespace host::web {

namespace {

std::atomic<bool> g_signalled{false};

extern "C" void OnSignal(int) { g_signalled = true; }

// Every answer says: scripts and styles from this server only, nothing
// inline, no frames, no plug-ins, forms only to this server.
void Harden(httplib::Response& response)
{
    if (response.has_header("Content-Security-Policy")) return;
    response.set_header("Content-Security-Policy",
                        "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self'; connect-src 'self'; "
                        "form-action 'self'; frame-ancestors 'none'; base-uri 'none'");
    response.set_header("X-Content-Type-Options", "nosniff");
    response.set_header("X-Frame-Options", "DENY");
    response.set_header("Referrer-Policy", "same-origin");
    if (!response.has_header("Cache-Control")) response.set_header("Cache-Control", "no-store");
}

void Send(const WebResponse& answer, httplib::Response& response)
{
    response.status = answer.status;
    for (const auto& [name, value] : answer.headers) response.set_header(name, value);
    response.set_content(answer.body, answer.contentType);
    Harden(response);
}

WebRequest Convert(const httplib::Request& request)
{
    WebRequest converted;
    converted.method = request.method;
    converted.path = request.path;
    for (const auto& [name, value] : request.params) converted.params.emplace(name, value);
    for (const auto& [name, value] : request.headers) {
        std::string lower = name;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        converted.headers[lower] = value;
    }
    return converted;
}

bool IsLoopback(const std::string& host)
{
    return host == "localhost" || host == "::1" || host.rfind("127.", 0) == 0;
}

}  // namespace

bool ParseListen(const std::string& listen, std::string& host, int& port)
{
    std::string portText;
    if (!listen.empty() && listen.front() == '[') {
        const auto close = listen.find("]:");
        if (close == std::string::npos) return false;
        host = listen.substr(1, close - 1);
        portText = listen.substr(close + 2);
    } else {
        const auto colon = listen.rfind(':');
        if (colon == std::string::npos || listen.find(':') != colon) return false;
        host = listen.substr(0, colon);
        portText = listen.substr(colon + 1);
    }
    if (host.empty() || portText.empty() || portText.size() > 5 ||
        portText.find_first_not_of("0123456789") != std::string::npos)
        return false;
    port = std::stoi(portText);
    return port <= 65535;
}

void Serve(const ServeOptions& options, std::ostream& out, const std::function<bool()>& stop)
{
    std::string host;
    int port = 0;
    if (!ParseListen(options.listen, host, port))
        throw std::invalid_argument("--listen takes HOST:PORT, e.g. 127.0.0.1:8080, not \"" + options.listen + "\"");
    Console console(options.storePath, options.pluginPath, options.sheetIdle);

    httplib::Server server;
    server.set_payload_max_length(options.maxBody);
    server.set_keep_alive_max_count(100);
    server.set_read_timeout(10, 0);
    if (port == 0) port = server.bind_to_any_port(host);
    else if (!server.bind_to_port(host, port)) port = -1;
    if (port <= 0) throw std::runtime_error("cannot listen on " + options.listen + " (in use, or not an address here)");

    const std::string shownHost = host.find(':') != std::string::npos ? "[" + host + "]" : host;
    std::vector<std::string> hosts = {shownHost + ":" + std::to_string(port)};
    if (IsLoopback(host)) {
        hosts.push_back("localhost:" + std::to_string(port));
        hosts.push_back("127.0.0.1:" + std::to_string(port));
    }
    Gate gate(RandomToken(), hosts);

    const auto handle = [&](const httplib::Request& request, httplib::Response& response) {
        const WebRequest converted = Convert(request);
        auto admitted = gate.Admit(converted);
        if (auto* refused = std::get_if<WebResponse>(&admitted)) return Send(*refused, response);
        Send(console.Handle(converted, std::get<Gate::Admitted>(admitted)), response);
    };
    const auto asset = [&](const unsigned char* bytes, std::size_t size, const char* type) {
        return [&gate, bytes, size, type](const httplib::Request& request, httplib::Response& response) {
            auto admitted = gate.Admit(Convert(request));
            if (auto* refused = std::get_if<WebResponse>(&admitted)) return Send(*refused, response);
            response.set_header("Cache-Control", "private, max-age=300");
            response.set_content(reinterpret_cast<const char*>(bytes), size, type);
            Harden(response);
        };
    };
    server.Get("/static/console.css", asset(g_consoleCss, g_consoleCss_size, "text/css; charset=utf-8"));
    server.Get("/static/console.js", asset(g_consoleJs, g_consoleJs_size, "text/javascript; charset=utf-8"));
    server.Get(".*", handle);
    server.Post(".*", handle);
    server.Put(".*", [](const httplib::Request&, httplib::Response& response) {
        Send(WebResponse::Error(405, "this console answers GET and POST only"), response);
    });
    server.Delete(".*", [](const httplib::Request&, httplib::Response& response) {
        Send(WebResponse::Error(405, "this console answers GET and POST only"), response);
    });
    server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.body.empty()) {
            const std::string reason = response.status == 413 ? "the request is too large" : "the request was refused";
            const WebResponse answer = WebResponse::Error(response.status, reason);
            response.set_content(answer.body, answer.contentType);
        }
        Harden(response);
    });
    server.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
        Send(WebResponse::Error(500, "the console failed to answer"), response);
    });

    out << "ngt-console serve: the browser console of " << RedactLocation(options.storePath) << "\n"
        << "ngt-console serve: open http://" << shownHost << ":" << port << "/?token=" << gate.AccessToken() << "\n";
    if (!IsLoopback(host))
        out << "ngt-console serve: listening beyond this computer; anyone with the link can change settings\n";
    out.flush();

    g_signalled = false;
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::atomic<bool> listening{true};
    std::thread listener([&] {
        server.listen_after_bind();
        listening = false;
    });
    while (!g_signalled && !(stop && stop()) && listening) std::this_thread::sleep_for(std::chrono::milliseconds(200));
    server.stop();
    listener.join();
    console.Stop();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

}  // namespace host::web
