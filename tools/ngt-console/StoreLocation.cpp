#include "StoreLocation.h"

#include <cstdlib>
#include <filesystem>

#include "zrstd/Error.h"

namespace ngt {

std::string ResolveStorePath(const std::string& option)
{
    if (!option.empty()) return option;
    if (const char* fromEnvironment = std::getenv("NGT_CONSOLE_STORE"); fromEnvironment && *fromEnvironment)
        return fromEnvironment;
    std::filesystem::path data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        data = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        data = std::filesystem::path(home) / ".local" / "share";
    } else {
        ZRERR_throwLocalizedError("NGTCONSOLE", 1,
                                  L"no store given and no home directory to keep one in: use --store FILE");
    }
    return (data / "ngt-console" / "console.db").string();
}

bool IsDefaultStore(const std::string& option)
{
    const char* fromEnvironment = std::getenv("NGT_CONSOLE_STORE");
    return option.empty() && !(fromEnvironment && *fromEnvironment);
}

}  // namespace ngt
