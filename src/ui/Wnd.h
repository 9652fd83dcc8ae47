#pragma once

#include <string>

#include "ui/Api.h"
#include "ui/Resources.h"
#include "ui/Window.h"

class CCmdUI;

// The class layer pages and controls are written against. A CWnd is bound to
// a window by subclassing it: every message then reaches the object's
// WindowProc first, and Default passes it on to the procedure it replaced.
class UI_API CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    static CWnd* FromHandle(HWND window);

    bool SubclassWindow(HWND window);
    bool SubclassDlgItem(int id, HWND parent);
    HWND UnsubclassWindow();
    bool DestroyWindow();

    HWND GetParent() const { return ::GetParent(m_hWnd); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void SetWindowText(std::wstring_view text) { ::SetWindowTextW(m_hWnd, text); }
    std::wstring GetWindowText() const { return ::GetWindowTextW(m_hWnd); }
    bool EnableWindow(bool enable = true) { return ::EnableWindow(m_hWnd, enable); }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    bool ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    DWORD GetStyle() const { return ::GetWindowLongW(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return ::GetWindowLongW(m_hWnd, GWL_EXSTYLE); }
    void ModifyStyle(DWORD remove, DWORD add) { ::SetWindowLongW(m_hWnd, GWL_STYLE, (GetStyle() & ~remove) | add); }
    void ModifyStyleEx(DWORD remove, DWORD add) { ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, (GetExStyle() & ~remove) | add); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    RECT GetWindowRect() const { return ::GetWindowRect(m_hWnd); }
    bool MoveWindow(const RECT& rect) { return ::MoveWindow(m_hWnd, rect); }

    // Dialog-item conveniences.
    void SetDlgItemText(int id, std::wstring_view text) { ::SetDlgItemTextW(m_hWnd, id, text); }
    std::wstring GetDlgItemText(int id) const { return ::GetDlgItemTextW(m_hWnd, id); }
    void CheckDlgButton(int id, UINT check) { ::SendMessageW(GetDlgItem(id), BM_SETCHECK, check, 0); }
    UINT IsDlgButtonChecked(int id) const { return static_cast<UINT>(::SendMessageW(GetDlgItem(id), BM_GETCHECK, 0, 0)); }
    void SetDlgItemInt(int id, std::int64_t value, bool isSigned = true);
    // The item's text as a number; translated false (and 0) when it is not one.
    std::int64_t GetDlgItemInt(int id, bool* translated = nullptr, bool isSigned = true) const;

protected:
    // Called once the object receives the window's messages (controls set themselves up here).
    virtual void PreSubclassWindow() {}
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // Offered a notification its parent received from this control (message
    // reflection); true when handled, with the result in *result.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    friend class CDialog;

    HWND m_hWnd = nullptr;

private:
    ::WindowProc m_previous;
};

// A dialog from a template: a modeless child (Create) or a modal dialog
// (DoModal, run through the interaction driver).
class UI_API CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId = 0) : m_templateId(templateId) {}
    ~CDialog() override;

    bool Create(UINT templateId, HWND parent);
    int DoModal(HWND owner);
    void EndDialog(int result);
    UINT GetTemplateId() const { return m_templateId; }
    bool IsModal() const { return m_modal; }

    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // A command from a control or a menu; false when not handled here.
    virtual bool OnCommand(WORD id, WORD code, HWND control) { return false; }
    virtual bool OnNotify(NMHDR* header, LRESULT* result) { return false; }
    virtual void OnSize(int width, int height) {}
    virtual void OnDestroy() {}
    // F1 or WM_HELP; false passes it on to the parent.
    virtual bool OnHelp(HELPINFO* info) { return false; }
    // A key the dialog may take before its controls (accelerators); true when taken.
    virtual bool PreTranslateKey(WORD key) { return false; }
    // Called with the created window before the controls are made.
    virtual void OnCreateWindow() {}
    // Command-update routing: sets the enabled and check state of a menu item
    // that a control of this dialog is about to show; false leaves it as it is.
    virtual bool OnUpdateCommandUI(CCmdUI& item) { return false; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool CreateFromTemplate(HWND parent, DWORD styleToAdd, DWORD styleToRemove);

    UINT m_templateId;
    // A template the dialog brings itself (the platform's own dialogs), used instead of the module's.
    const ui::DialogTemplate* m_ownTemplate = nullptr;
    bool m_modal = false;
    bool m_ended = false;
    int m_result = 0;
};

namespace ui {
// Registers the standard controls and the dialog class; safe to call more than once.
UI_API void InitializePlatform();
}  // namespace ui
