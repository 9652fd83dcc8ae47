#pragma once

#include <exception>
#include <string>

#include "zrstd/Api.h"
#include "zrstd/Format.h"

namespace ZRERR {

// The maker's error object: where it was raised, by which module, with which
// code. A localized error carries a text meant for the administrator; other
// errors carry a technical message that only traces show.
class ZR_API Error : public std::exception {
public:
    Error(std::string module, long code, std::wstring message, const char* file, int line, bool localized = false);
    ~Error() override;
    Error(const Error&) = default;
    Error& operator=(const Error&) = default;

    const std::string& GetModule() const { return m_module; }
    long GetCode() const { return m_code; }
    const std::wstring& GetMessage() const { return m_message; }
    const std::string& GetFile() const { return m_file; }
    int GetLine() const { return m_line; }
    bool IsLocalized() const { return m_localized; }

    // "ZRPAR 0x412 (1042): <message> [file:line]", UTF-8
    const char* what() const noexcept override;
    std::wstring Describe() const;

private:
    std::string m_module;
    long m_code;
    std::wstring m_message;
    std::string m_file;
    int m_line;
    bool m_localized;
    std::string m_what;
};

[[noreturn]] ZR_API void ThrowError(const char* module, long code, const char* file, int line, std::wstring message,
                                    bool localized = false);

template <class... A>
[[noreturn]] void ThrowFormatted(const char* module, long code, const char* file, int line, std::wstring_view format,
                                 const A&... args)
{
    ThrowError(module, code, file, line, ZRSTD::FormatW(format, args...));
}

// Traces a caught error with the name of the operation that caught it.
ZR_API void SayFailure2(const Error& error, const char* operation, int level = 1);

}  // namespace ZRERR

// Localized text of an error, for messages to the administrator; empty when it has none.
ZR_API bool ZRERR_IsErrorLocalized(const ZRERR::Error& error);
ZR_API std::wstring ZRERR_LocFormatErrorString(const ZRERR::Error& error);

#define ZRERR_throwError(module, code, ...)                                                          \
    ::ZRERR::ThrowFormatted(module, static_cast<long>(code), __FILE__, __LINE__ __VA_OPT__(, ) __VA_ARGS__)

#define ZRERR_throwLocalizedError(module, code, text) \
    ::ZRERR::ThrowError(module, static_cast<long>(code), __FILE__, __LINE__, text, true)

// Argument check of the maker's library: a null argument raises module
// "ZRSTD" code 0x57 naming the parameter.
#define ZRSTD_CHECK_ARG(arg)                                                                         \
    do {                                                                                             \
        if (!(arg)) ::ZRERR::ThrowFormatted("ZRSTD", 0x57, __FILE__, __LINE__, L"invalid argument %hs", #arg); \
    } while (0)
