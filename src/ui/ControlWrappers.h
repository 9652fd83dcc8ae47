#pragma once

#include <string>

#include "ui/Wnd.h"

// Typed access to the standard controls; each call is the message the control answers.
class CButton : public CWnd {
public:
    UINT GetCheck() const { return static_cast<UINT>(SendMessage(BM_GETCHECK)); }
    void SetCheck(UINT check) { SendMessage(BM_SETCHECK, check); }
    bool IsChecked() const { return GetCheck() == BST_CHECKED; }
    void SetState(bool pushed) { SendMessage(BM_SETSTATE, pushed ? 1 : 0); }
    bool IsPushed() const { return (SendMessage(BM_GETSTATE) & BST_PUSHED) != 0; }
};

class CEdit : public CWnd {
public:
    void SetSel(int start, int end) { SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end); }
    void GetSel(int& start, int& end) const
    {
        DWORD s = 0, e = 0;
        SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        start = static_cast<int>(s), end = static_cast<int>(e);
    }
    void ReplaceSel(const std::wstring& text) { SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str())); }
    void SetLimitText(UINT limit) { SendMessage(EM_LIMITTEXT, limit); }
    void SetReadOnly(bool readOnly) { SendMessage(EM_SETREADONLY, readOnly ? TRUE : FALSE); }
    void SetPasswordChar(wchar_t c) { SendMessage(EM_SETPASSWORDCHAR, c); }
    wchar_t GetPasswordChar() const { return static_cast<wchar_t>(SendMessage(EM_GETPASSWORDCHAR)); }
};

class CStatic : public CWnd {};

class CComboBox : public CWnd {
public:
    int AddString(const std::wstring& text) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()))); }
    int InsertString(int index, const std::wstring& text)
    {
        return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str())));
    }
    int DeleteString(int index) { return static_cast<int>(SendMessage(CB_DELETESTRING, static_cast<WPARAM>(index))); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    LPARAM GetItemData(int index) const { return SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index)); }
    int SetItemData(int index, LPARAM data) { return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), data)); }
    std::wstring GetLBText(int index) const
    {
        std::wstring text;
        SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text));
        return text;
    }
};

class CListBox : public CWnd {
public:
    int AddString(const std::wstring& text) { return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()))); }
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index))); }
    LPARAM GetItemData(int index) const { return SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index)); }
    int SetItemData(int index, LPARAM data) { return static_cast<int>(SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(index), data)); }
    std::wstring GetText(int index) const
    {
        std::wstring text;
        SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text));
        return text;
    }
};
