#include "host/web/Gate.h"

#include <openssl/crypto.h>
#include <openssl/rand.h>

#include <algorithm>
#include <stdexcept>

#include "host/web/Html.h"

namespace host::web {

namespace {

// At most this many browser sessions at once: a token holder that keeps
// opening new ones only replaces its own oldest.
constexpr std::size_t kMaxSessions = 64;

std::string SessionCookieHeader(const std::string& id)
{
    return std::string(kSessionCookie) + "=" + id + "; Path=/; HttpOnly; SameSite=Strict";
}

}  // namespace

std::string WebRequest::Param(const std::string& name) const
{
    const auto found = params.find(name);
    return found == params.end() ? std::string() : found->second;
}

std::string WebRequest::Header(const std::string& name) const
{
    const auto found = headers.find(name);
    return found == headers.end() ? std::string() : found->second;
}

WebResponse WebResponse::Redirect(const std::string& location)
{
    WebResponse response;
    response.status = 303;
    response.headers.push_back({"Location", location});
    return response;
}

WebResponse WebResponse::Error(int status, const std::string& message)
{
    WebResponse response;
    response.status = status;
    response.body = "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>ngt-console: " +
                    std::to_string(status) +
                    "</title><link rel=\"stylesheet\" href=\"/static/console.css\"></head>"
                    "<body class=\"error-page\"><main><h1>" +
                    std::to_string(status) + "</h1><p class=\"error-message\">" + Escape(message) +
                    "</p><p><a href=\"/\">Back to the objects</a></p></main></body></html>\n";
    return response;
}

std::string RandomToken(std::size_t bytes)
{
    std::vector<unsigned char> random(bytes);
    if (RAND_bytes(random.data(), static_cast<int>(random.size())) != 1)
        throw std::runtime_error("no random bytes for a token");
    static const char* const kHex = "0123456789abcdef";
    std::string token;
    for (unsigned char byte : random) {
        token += kHex[byte >> 4];
        token += kHex[byte & 0xF];
    }
    return token;
}

bool SameToken(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && !a.empty() && CRYPTO_memcmp(a.data(), b.data(), a.size()) == 0;
}

std::optional<std::string> CookieValue(const std::string& header, const std::string& name)
{
    std::size_t at = 0;
    while (at < header.size()) {
        std::size_t end = header.find(';', at);
        if (end == std::string::npos) end = header.size();
        std::string pair = header.substr(at, end - at);
        const auto first = pair.find_first_not_of(' ');
        pair = first == std::string::npos ? "" : pair.substr(first);
        const auto equals = pair.find('=');
        if (equals != std::string::npos && pair.substr(0, equals) == name) return pair.substr(equals + 1);
        at = end + 1;
    }
    return std::nullopt;
}

Gate::Gate(std::string accessToken, std::vector<std::string> allowedHosts)
    : m_accessToken(std::move(accessToken)), m_allowedHosts(std::move(allowedHosts))
{
}

std::variant<Gate::Admitted, WebResponse> Gate::Admit(const WebRequest& request)
{
    if (request.method != "GET" && request.method != "POST")
        return WebResponse::Error(405, "this console answers GET and POST only");
    const std::string host = request.Header("host");
    if (std::find(m_allowedHosts.begin(), m_allowedHosts.end(), host) == m_allowedHosts.end())
        return WebResponse::Error(400, "this console does not answer to the host \"" + host + "\"");
    const auto now = std::chrono::steady_clock::now();
    // the access link opens a session
    if (request.method == "GET" && request.HasParam("token")) {
        if (!SameToken(request.Param("token"), m_accessToken))
            return WebResponse::Error(403, "the access token is not this console's; use the link ngt-console serve printed");
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_sessions.size() >= kMaxSessions) {
            auto oldest = m_sessions.begin();
            for (auto it = m_sessions.begin(); it != m_sessions.end(); ++it)
                if (it->second.lastSeen < oldest->second.lastSeen) oldest = it;
            m_sessions.erase(oldest);
        }
        const std::string id = RandomToken();
        m_sessions[id] = {RandomToken(), now};
        // back to the page asked for, on this console only: browsers read "//host"
        // and "/\host" as another site
        const std::string& path = request.path;
        const bool local = !path.empty() && path[0] == '/' && (path.size() == 1 || (path[1] != '/' && path[1] != '\\'));
        WebResponse response = WebResponse::Redirect(local ? path : "/");
        response.headers.push_back({"Set-Cookie", SessionCookieHeader(id)});
        return response;
    }
    const auto cookie = CookieValue(request.Header("cookie"), kSessionCookie);
    std::lock_guard<std::mutex> guard(m_lock);
    const auto session = cookie ? m_sessions.find(*cookie) : m_sessions.end();
    if (session == m_sessions.end())
        return WebResponse::Error(403, "this console needs its access link: open the address with ?token= that "
                                       "ngt-console serve printed when it started");
    if (request.method == "POST") {
        const std::string origin = request.Header("origin");
        if (!origin.empty() && origin != "http://" + host)
            return WebResponse::Error(403, "a form of another site cannot act on this console");
        if (!SameToken(request.Param("csrf"), session->second.csrf))
            return WebResponse::Error(403, "the form is not one this console drew for this session (reload the page)");
    }
    session->second.lastSeen = now;
    return Admitted{session->first, session->second.csrf};
}

std::size_t Gate::SessionCount() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_sessions.size();
}

}  // namespace host::web
