#include "controls/ListExport.h"

#include "controls/DlgExportFileSelect.h"
#include "ui/Services.h"
#include "zrstd/Strings.h"
#include "zrstd/Trace.h"

namespace {

constexpr std::size_t kFlushSize = 64 * 1024;

}  // namespace

ListExportWriter::ListExportWriter(const ZRSTD::FileSink& file) : m_file(file), m_buffer("\xEF\xBB\xBF") {}

bool ListExportWriter::WriteLine(const std::vector<std::wstring>& fields)
{
    if (m_failed) return false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) m_buffer += '\t';
        std::wstring field = fields[i];
        for (wchar_t& c : field)
            if (c == L'\t' || c == L'\r' || c == L'\n') c = L' ';
        m_buffer += ZRSTD::ToUtf8(field);
    }
    m_buffer += "\r\n";
    return m_buffer.size() < kFlushSize || Flush();
}

bool ListExportWriter::Flush()
{
    if (m_failed || !m_file(m_buffer)) {
        m_failed = true;
        return false;
    }
    m_buffer.clear();
    return true;
}

bool ListExportWriter::Finish() { return Flush(); }

HRESULT WriteListExport(const std::filesystem::path& path, ListExportSource& list, bool selectedOnly)
{
    const std::vector<int> columns = list.ExportColumns();
    const auto failure = ZRSTD::WriteFileAtomically(path, [&](const ZRSTD::FileSink& file) {
        ListExportWriter writer(file);
        return list.ExportHeader(writer, columns) && list.ExportRows(writer, columns, selectedOnly) && writer.Finish();
    });
    if (!failure) return S_OK;
    ZRSTD::Trace(1, L"list export: %hs", failure->Describe(path));
    return E_FAIL;
}

HRESULT ExportList(HWND owner, ListExportSource& list, const std::wstring& filter, const std::wstring& title,
                   const std::wstring& checkBoxCaption)
{
    CDlgExportFileSelect dialog(filter, title, checkBoxCaption);
    if (dialog.DoModal(owner) != IDOK) return S_FALSE;
    struct WaitCursor {
        WaitCursor() { ui::SetWaitCursor(true); }
        ~WaitCursor() { ui::SetWaitCursor(false); }
    } wait;
    return WriteListExport(dialog.GetPathName(), list, dialog.GetBoxState());
}
