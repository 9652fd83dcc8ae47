#pragma once

#include <string>

#include "ui/Graphics.h"
#include "ui/Resources.h"
#include "ui/Wnd.h"

// The platform's file dialog as a modal dialog of its own: a file-name edit,
// a file-type list filled from the filter, Save (or Open) and Cancel. A class
// derived from it may add controls in OnInitDialog. Saving appends the default
// extension to a name without one and, with OFN_OVERWRITEPROMPT, asks before
// replacing an existing file; a name left empty keeps the dialog open.
inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x2, OFN_HIDEREADONLY = 0x4, OFN_FILEMUSTEXIST = 0x1000,
                       OFN_EXPLORER = 0x80000, OFN_ENABLESIZING = 0x800000;

// The dialog's own controls, by the ids the platform gives them.
inline constexpr int kFileTypeLabelId = 1089, kFileNameLabelId = 1090, kFileTypeListId = 1136,
                     kFileNameEditId = 1152;

class UI_API CFileDialog : public CDialog {
public:
    // filter: "description|pattern|description|pattern||"
    CFileDialog(bool openFileDialog, std::wstring defaultExtension = L"", std::wstring fileName = L"",
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, std::wstring filter = L"");
    ~CFileDialog() override;

    void SetTitle(std::wstring title) { m_title = std::move(title); }
    const std::wstring& GetTitle() const { return m_title; }
    DWORD GetFlags() const { return m_flags; }
    const std::wstring& GetDefaultExtension() const { return m_defaultExtension; }
    const std::wstring& GetFilter() const { return m_filter; }

    // IDOK with the chosen path, or IDCANCEL.
    int DoModal(HWND owner);
    const std::wstring& GetPathName() const { return m_pathName; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    bool m_open;
    std::wstring m_defaultExtension;
    std::wstring m_fileName;
    DWORD m_flags;
    std::wstring m_filter;
    std::wstring m_title;
    std::wstring m_pathName;
    ui::DialogTemplate m_dialogTemplate;
    HFONT m_font = nullptr;
};
