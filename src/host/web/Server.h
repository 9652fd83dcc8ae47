#pragma once

#include <chrono>
#include <functional>
#include <ostream>
#include <string>

// `ngt-console serve`: the browser console over HTTP. The server listens on
// loopback unless told otherwise, prints its address with a random access
// token, and hands every admitted request to the console's UI thread.
namespace host::web {

struct ServeOptions {
    std::string storePath;
    std::string pluginPath;
    std::string listen = "127.0.0.1:8080";  // HOST:PORT; port 0 takes a free one
    std::chrono::seconds sheetIdle{30 * 60};
    std::size_t maxBody = 64 * 1024;        // a larger request body is refused (413)
};

// Splits HOST:PORT ("[::1]:8080" for IPv6); false when it is written wrong.
bool ParseListen(const std::string& listen, std::string& host, int& port);

// Runs until SIGINT or SIGTERM (or stop() returns true, checked every
// second); prints "ngt-console serve: http://HOST:PORT/?token=..." on out
// once it listens. Raises an error naming what failed (a port in use, a store
// that cannot be opened, the plug-in).
void Serve(const ServeOptions& options, std::ostream& out, const std::function<bool()>& stop = nullptr);

}  // namespace host::web
