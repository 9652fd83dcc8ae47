#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "ui/Win32.h"
#include "zrstd/AtomicFile.h"

// The export of a list to a text file: UTF-8 with a byte order mark, fields
// separated by a tab in the list's display column order, lines ended by CR LF.
// The writer formats the lines and hands them to the file in blocks;
// WriteListExport writes the file through ZRSTD::WriteFileAtomically, so that
// a failure leaves neither a half-written file nor a damaged older one.
class ListExportWriter {
public:
    // Starts with the byte order mark.
    explicit ListExportWriter(const ZRSTD::FileSink& file);
    ListExportWriter(const ListExportWriter&) = delete;
    ListExportWriter& operator=(const ListExportWriter&) = delete;

    // A tab or line break inside a field would split it: it becomes a space.
    bool WriteLine(const std::vector<std::wstring>& fields);
    // Hands the last block to the file.
    bool Finish();

private:
    bool Flush();

    const ZRSTD::FileSink& m_file;
    std::string m_buffer;
    bool m_failed = false;
};

// What a list gives its export: the columns in display order, the header line and the rows.
class ListExportSource {
public:
    virtual std::vector<int> ExportColumns() const = 0;
    virtual bool ExportHeader(ListExportWriter& writer, const std::vector<int>& columns) = 0;
    virtual bool ExportRows(ListExportWriter& writer, const std::vector<int>& columns, bool selectedOnly) = 0;
    virtual bool ExportRow(int item, ListExportWriter& writer, const std::vector<int>& columns) = 0;

protected:
    ~ListExportSource() = default;
};

// Writes the list to path: S_OK, or E_FAIL with nothing left behind.
HRESULT WriteListExport(const std::filesystem::path& path, ListExportSource& list, bool selectedOnly);

// Asks for the file with the export dialog (its check box: only the selected
// rows) and writes the list under a wait cursor: S_OK, S_FALSE when the user
// cancelled (nothing is written), E_FAIL when the file could not be written.
HRESULT ExportList(HWND owner, ListExportSource& list, const std::wstring& filter, const std::wstring& title,
                   const std::wstring& checkBoxCaption);
