#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "controls/ListExport.h"
#include "ui/CommonControls.h"
#include "ui/Graphics.h"
#include "ui/Wnd.h"

// A report list view with clickable address cells, a column layout and sort
// state remembered per user, export to a tab-separated UTF-8 file and an
// optional single-check mode.
class CNHCustomListCtrl : public CWnd, protected ListExportSource {
public:
    static constexpr DWORD kExtendedStyles = LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP |
                                             LVS_EX_LABELTIP | LVS_EX_DOUBLEBUFFER;  // 0x14422
    static constexpr DWORD kLinkColumn = 1;  // a column flag: the column may hold links
    static constexpr DWORD kNoColumn = 0xFFFFFFFF;
    static constexpr const wchar_t* kStateKeyRoot = L"Software\\BrenvikLab\\Components\\34\\Wnds\\ngt\\";
    static constexpr UINT kExportCaptionString = 9101;  // "only the selected rows"

    CNHCustomListCtrl();
    ~CNHCustomListCtrl() override;

    // The registry key under HKEY_CURRENT_USER that keeps the layout; empty for none.
    virtual void SetStateKey(const std::wstring& key) { m_stateKey = key; }
    virtual const std::wstring& GetStateKey() const { return m_stateKey; }
    virtual bool IsColumnSortable(int column) const { return true; }
    virtual bool GetDefaultAscending() const { return true; }
    // The column state: n widths in column order, then the n-entry display
    // order, as 32-bit numbers (8·n bytes).
    virtual std::vector<std::uint8_t> GetColumnState() const;
    // Accepted only for n > 0 columns, exactly 8·n bytes and an order of n
    // distinct columns; anything else changes nothing. True when accepted.
    virtual bool SetColumnState(const std::vector<std::uint8_t>& state);
    virtual void SaveState() { SaveStateResult(); }
    virtual void LoadState() { LoadStateResult(); }
    // S_OK, or E_FAIL when the key cannot be opened or written.
    virtual HRESULT SaveStateResult();
    virtual HRESULT LoadStateResult();
    // Asks for a file and writes the list there: S_OK, S_FALSE when the user
    // cancelled (nothing written), E_FAIL when the file could not be written
    // (and none is left behind).
    virtual HRESULT ExportToFile(const std::wstring& filter, const std::wstring& title);
    virtual bool IsLinkCell(int item, int column) const;

    // Sorts by a column (the sorted list does the sorting; here the state and the header arrow).
    virtual void Sort(int column, bool ascending);
    int GetSortColumn() const { return m_sortColumn; }
    bool IsSortAscending() const { return m_sortAscending; }

    void SetSaveOnDestroy(bool save) { m_saveOnDestroy = save; }
    void SetSingleCheck(bool single) { m_singleCheck = single; }
    bool IsSingleCheck() const { return m_singleCheck; }
    void SetOpenLinks(bool itself) { m_openLinksItself = itself; }
    void SetColumnFlags(int column, DWORD flags) { m_columnFlags[column] = flags; }
    void SetLinkColour(COLORREF colour) { m_linkColour = colour; }
    void SetTextColour(COLORREF colour) { m_textColour = colour; }
    // With fit-width, every resize of the shown list makes the first column as wide as the list.
    void SetFitWidth(bool fit) { m_fitWidth = fit; }
    void SetExportCaption(std::wstring caption) { m_exportCaption = std::move(caption); }

    // Rows and columns.
    int InsertColumn(int column, const std::wstring& title, int width);
    int GetColumnCount() const;
    std::wstring GetColumnTitle(int column) const;
    int InsertItem(int item, const std::wstring& text, LPARAM data = 0);
    bool SetItemText(int item, int column, const std::wstring& text);
    std::wstring GetItemText(int item, int column) const;
    LPARAM GetItemData(int item) const;
    int GetItemCount() const;
    virtual bool DeleteItem(int item);
    virtual bool DeleteAllItems();
    bool GetCheck(int item) const;
    void SetCheck(int item, bool checked);
    bool IsSelected(int item) const;
    HWND GetHeader() const { return reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)); }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // The export: the header line and the rows, fields in the given column order.
    bool ExportHeader(ListExportWriter& writer, const std::vector<int>& columns) override;
    bool ExportRows(ListExportWriter& writer, const std::vector<int>& columns, bool selectedOnly) override;
    bool ExportRow(int item, ListExportWriter& writer, const std::vector<int>& columns) override;
    std::vector<int> ExportColumns() const override;

    void SetHeaderArrow(int column, int arrow);
    int GetHeaderArrow(int column) const;

    int m_sortColumn = -1;
    bool m_sortAscending = true;

private:
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw);
    void OnItemChanged(const NMLISTVIEW& change);
    bool OnClick(const NMITEMACTIVATE& click);
    int CellUnderCursor(int& column) const;

    COLORREF m_linkColour = 0xFF0000;
    COLORREF m_textColour = static_cast<COLORREF>(-1);
    std::wstring m_stateKey;
    bool m_saveOnDestroy = true;
    bool m_singleCheck = false;
    bool m_inCheckChange = false;
    std::map<int, DWORD> m_columnFlags;
    HFONT m_linkFont = nullptr;
    HFONT m_normalFont = nullptr;
    bool m_openLinksItself = true;
    bool m_fitWidth = false;
    bool m_fitting = false;
    std::wstring m_exportCaption;
};
