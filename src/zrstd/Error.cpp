#include "zrstd/Error.h"

#include "zrstd/Strings.h"
#include "zrstd/Trace.h"

namespace ZRERR {

namespace {
const char* BaseName(const char* path)
{
    if (!path) return "";
    const char* base = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\') base = p + 1;
    return base;
}
}  // namespace

Error::Error(std::string module, long code, std::wstring message, const char* file, int line, bool localized)
    : m_module(std::move(module)), m_code(code), m_message(std::move(message)), m_file(BaseName(file)), m_line(line),
      m_localized(localized)
{
    m_what = ZRSTD::ToUtf8(Describe());
}

Error::~Error() = default;

const char* Error::what() const noexcept { return m_what.c_str(); }

std::wstring Error::Describe() const
{
    return ZRSTD::FormatW(L"%hs 0x%X (%ld): %s [%hs:%d]", m_module, m_code, m_code, m_message, m_file, m_line);
}

void ThrowError(const char* module, long code, const char* file, int line, std::wstring message, bool localized)
{
    throw Error(module ? module : "", code, std::move(message), file, line, localized);
}

void SayFailure2(const Error& error, const char* operation, int level)
{
    ZRSTD::Trace(level, L"%hs failed: %s", operation ? operation : "", error.Describe());
}

}  // namespace ZRERR

bool ZRERR_IsErrorLocalized(const ZRERR::Error& error) { return error.IsLocalized(); }

std::wstring ZRERR_LocFormatErrorString(const ZRERR::Error& error)
{
    return error.IsLocalized() ? error.GetMessage() : std::wstring();
}
