#include "controls/ListExport.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "controls/DlgExportFileSelect.h"
#include "ui/Services.h"
#include "zrstd/Strings.h"
#include "zrstd/Trace.h"

namespace {

constexpr std::size_t kFlushSize = 64 * 1024;

std::filesystem::path TemporaryBeside(const std::filesystem::path& target)
{
    static std::atomic<unsigned> counter{0};
    std::filesystem::path name = target.filename();
    name += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
    return target.parent_path() / (std::filesystem::path(".") += name);
}

void TraceFailure(const wchar_t* what, const std::filesystem::path& path, int error)
{
    ZRSTD::Trace(1, L"list export: %s \"%hs\" failed: %hs", what, path.string(), std::strerror(error));
}

}  // namespace

ListExportWriter::ListExportWriter(std::filesystem::path target) : m_target(std::move(target)) {}

ListExportWriter::~ListExportWriter() { Discard(); }

void ListExportWriter::Discard()
{
    if (m_file >= 0) {
        ::close(m_file);
        m_file = -1;
    }
    if (!m_temporary.empty()) {
        std::error_code ignored;
        std::filesystem::remove(m_temporary, ignored);
        m_temporary.clear();
    }
}

bool ListExportWriter::Open()
{
    if (m_target.empty() || m_file >= 0) return false;
    for (int attempt = 0; attempt < 8 && m_file < 0; ++attempt) {
        const std::filesystem::path candidate = TemporaryBeside(m_target);
        m_file = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_file >= 0) m_temporary = candidate;
        else if (errno != EEXIST) break;
    }
    if (m_file < 0) {
        TraceFailure(L"creating a file beside", m_target, errno);
        m_failed = true;
        return false;
    }
    m_buffer = "\xEF\xBB\xBF";
    return true;
}

bool ListExportWriter::WriteLine(const std::vector<std::wstring>& fields)
{
    if (m_file < 0 || m_failed) return false;
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
    std::size_t written = 0;
    while (written < m_buffer.size()) {
        const ssize_t n = ::write(m_file, m_buffer.data() + written, m_buffer.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            TraceFailure(L"writing", m_temporary, n < 0 ? errno : EIO);
            m_failed = true;
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    m_buffer.clear();
    return true;
}

bool ListExportWriter::Commit()
{
    if (m_file < 0 || m_failed || !Flush()) return false;
    if (::fsync(m_file) != 0) {
        TraceFailure(L"flushing", m_temporary, errno);
        return false;
    }
    const int closed = ::close(m_file);
    m_file = -1;
    if (closed != 0) {
        TraceFailure(L"closing", m_temporary, errno);
        return false;
    }
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        TraceFailure(L"renaming into", m_target, errno);
        return false;
    }
    m_temporary.clear();
    return true;
}

HRESULT WriteListExport(const std::filesystem::path& path, ListExportSource& list, bool selectedOnly)
{
    ListExportWriter writer(path);
    if (!writer.Open()) return E_FAIL;
    const std::vector<int> columns = list.ExportColumns();
    if (!list.ExportHeader(writer, columns) || !list.ExportRows(writer, columns, selectedOnly) || !writer.Commit())
        return E_FAIL;  // the writer removes its temporary file
    return S_OK;
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
