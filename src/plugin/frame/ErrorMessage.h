#pragma once

#include <string>

#include "nhpp/CParams.h"
#include "ui/Win32.h"
#include "zrstd/Error.h"

namespace NHPP {

// Turns an error from the maker's libraries into a message box: the prefix,
// then the error's localized text when it has one. Pages hand it to the
// providers they apply, which report a failed commit through it.
class CErrorMessage : public ErrorReporter {
public:
    CErrorMessage(const wchar_t* prefix, HWND owner) : m_owner(owner), m_prefix(prefix ? prefix : L"") {}
    virtual ~CErrorMessage() = default;
    // A null error shows nothing; nothing here throws.
    virtual void ShowError(const ZRERR::Error* error);
    void ReportError(const ZRERR::Error& error) override { ShowError(&error); }

protected:
    void Show(const std::wstring& message) const;

    HWND m_owner;
    std::wstring m_prefix;
};

}  // namespace NHPP

// The agent's form: access denied, a broken connection and a timeout get texts of their own.
class CZRNGTErrorMessage : public NHPP::CErrorMessage {
public:
    using CErrorMessage::CErrorMessage;
    void ShowError(const ZRERR::Error* error) override;
    const void* GetMessageMap() const { return this; }
};

// The plug-in's message box: formatId (when not 0) is a string with one
// insertion for text; captionSelector picks the first (non-zero) or second
// caption; right-to-left styles are added when the interface is right-to-left.
int ShowMessage(HWND owner, UINT formatId, const std::wstring& text, UINT style, int captionSelector);
