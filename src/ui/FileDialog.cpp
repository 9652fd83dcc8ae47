#include "ui/FileDialog.h"

#include <filesystem>
#include <system_error>

#include "ui/ControlWrappers.h"
#include "ui/Interaction.h"
#include "zrstd/Strings.h"

namespace {

std::vector<std::wstring> Split(const std::wstring& filter)
{
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    while (start < filter.size()) {
        const std::size_t bar = filter.find(L'|', start);
        const std::size_t end = bar == std::wstring::npos ? filter.size() : bar;
        parts.push_back(filter.substr(start, end - start));
        start = end + 1;
    }
    while (!parts.empty() && parts.back().empty()) parts.pop_back();
    return parts;
}

}  // namespace

CFileDialog::CFileDialog(bool openFileDialog, std::wstring defaultExtension, std::wstring fileName, DWORD flags,
                         std::wstring filter)
    : m_open(openFileDialog),
      m_defaultExtension(std::move(defaultExtension)),
      m_fileName(std::move(fileName)),
      m_flags(flags),
      m_filter(std::move(filter))
{
}

CFileDialog::~CFileDialog()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    if (m_font) DeleteObject(m_font);
}

int CFileDialog::DoModal(HWND owner)
{
    ui::DialogTemplate& dialog = m_dialogTemplate;
    dialog.id = 0;
    dialog.caption = !m_title.empty() ? m_title : (m_open ? L"Open" : L"Save As");
    dialog.rect = RECT{0, 0, 500, 300};
    dialog.style = WS_POPUP;
    const DWORD child = WS_CHILD | WS_VISIBLE;
    dialog.controls = {
        {kFileNameLabelId, L"Static", L"File &name:", child, RECT{10, 200, 100, 220}},
        {kFileNameEditId, L"Edit", m_fileName, child | WS_TABSTOP | ES_AUTOHSCROLL, RECT{110, 198, 400, 220}},
        {kFileTypeLabelId, L"Static", m_open ? L"Files of &type:" : L"Save as &type:", child, RECT{10, 230, 100, 250}},
        {kFileTypeListId, L"ComboBox", L"", child | WS_TABSTOP | CBS_DROPDOWNLIST, RECT{110, 228, 400, 250}},
        {IDOK, L"Button", m_open ? L"&Open" : L"&Save", child | WS_TABSTOP | BS_DEFPUSHBUTTON, RECT{410, 198, 490, 220}},
        {IDCANCEL, L"Button", L"Cancel", child | WS_TABSTOP, RECT{410, 228, 490, 250}},
    };
    m_ownTemplate = &m_dialogTemplate;
    m_pathName.clear();
    const int result = CDialog::DoModal(owner);
    m_ownTemplate = nullptr;
    return result == IDOK ? IDOK : IDCANCEL;
}

bool CFileDialog::OnInitDialog()
{
    // the dialog's own font, on every control
    if (!m_font) {
        LOGFONTW font;
        font.lfHeight = -12;
        font.lfFaceName = L"Segoe UI";
        m_font = CreateFontIndirectW(font);
    }
    for (HWND control : ::GetChildren(m_hWnd)) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), 0);
    const std::vector<std::wstring> parts = Split(m_filter);
    const HWND types = GetDlgItem(kFileTypeListId);
    for (std::size_t i = 0; i < parts.size(); i += 2)
        ::SendMessageW(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(parts[i].c_str()));
    ::SendMessageW(types, CB_SETCURSEL, 0, 0);
    return true;
}

void CFileDialog::OnOK()
{
    std::wstring name = ZRSTD::Trim(GetDlgItemText(kFileNameEditId));
    if (name.empty()) return;  // nothing chosen yet: the dialog stays
    std::filesystem::path path(name);
    if (!m_defaultExtension.empty() && !path.has_extension()) path += L"." + m_defaultExtension;
    std::error_code error;
    if (!m_open && (m_flags & OFN_OVERWRITEPROMPT) && std::filesystem::exists(path, error)) {
        const std::wstring question = path.wstring() + L" already exists.\nDo you want to replace it?";
        if (MessageBoxW(m_hWnd, question, L"Confirm Save As", MB_YESNO | MB_ICONWARNING) != IDYES) return;
    }
    if (m_open && (m_flags & OFN_FILEMUSTEXIST) && !std::filesystem::exists(path, error)) {
        MessageBoxW(m_hWnd, path.wstring() + L"\nFile not found.", GetWindowText(), MB_OK | MB_ICONWARNING);
        return;
    }
    m_pathName = path.wstring();
    EndDialog(IDOK);
}
