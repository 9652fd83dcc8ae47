#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <variant>
#include <string>
#include <vector>

// The door of the browser console, kept on the HTTP threads before anything
// reaches the console: the access token printed at start, the session
// cookie it is exchanged for, the anti-forgery token of every state-changing
// request, and the Host and Origin a browser names. Nothing here touches the
// platform or the store.
namespace host::web {

// A request as the console sees it, whatever server received it.
struct WebRequest {
    std::string method;  // GET or POST
    std::string path;
    std::multimap<std::string, std::string> params;   // query and form fields
    std::map<std::string, std::string> headers;       // names in lower case
    std::string Param(const std::string& name) const;
    bool HasParam(const std::string& name) const { return params.count(name) > 0; }
    std::string Header(const std::string& name) const;
};

struct WebResponse {
    int status = 200;
    std::string contentType = "text/html; charset=utf-8";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;  // Location, Set-Cookie, Content-Disposition
    static WebResponse Redirect(const std::string& location);
    // A short page that says what was wrong, escaped.
    static WebResponse Error(int status, const std::string& message);
};

inline constexpr const char* kSessionCookie = "ngt_session";

// Random bytes as lower-case hex (OpenSSL's generator).
std::string RandomToken(std::size_t bytes = 32);
// Compares in time that does not depend on where they differ.
bool SameToken(const std::string& a, const std::string& b);

class Gate {
public:
    // allowedHosts: the Host headers this server answers to ("127.0.0.1:8080", "localhost:8080").
    Gate(std::string accessToken, std::vector<std::string> allowedHosts);

    const std::string& AccessToken() const { return m_accessToken; }

    struct Admitted {
        std::string session;  // the browser session's id
        std::string csrf;     // its anti-forgery token
    };
    // Lets the request in, or answers it: 403 without the token or a known
    // session, 403 for a POST without the session's anti-forgery token or
    // from another origin, 400 for a Host this server is not, 405 for other
    // methods. A GET that carries the right access token opens a session:
    // the answer sets the cookie and redirects to the same path without the
    // token (so it stays out of the history and the address bar).
    std::variant<Admitted, WebResponse> Admit(const WebRequest& request);

    std::size_t SessionCount() const;

private:
    struct Session {
        std::string csrf;
        std::chrono::steady_clock::time_point lastSeen;
    };
    std::string m_accessToken;
    std::vector<std::string> m_allowedHosts;
    mutable std::mutex m_lock;  // guards m_sessions
    std::map<std::string, Session> m_sessions;
};

// The value of one cookie in a Cookie header.
std::optional<std::string> CookieValue(const std::string& header, const std::string& name);

}  // namespace host::web
