#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "controls/NHComboBox.h"
#include "nhpp/CParams.h"
#include "ui/Graphics.h"
#include "ui/Wnd.h"

// The texts a lock control shows, given to it once and copied.
struct LockCtrlTexts {
    std::wstring prohibited;            // the item "editing prohibited"
    std::wstring allowed;               // the item "editing allowed"
    std::wstring localEnforced;         // tooltip: local settings, the value is enforced
    std::wstring localFree;             // tooltip: local settings, the value is free
    std::wstring lockedAbove;           // tooltip: locked by a parent policy (%1 policy, %2 group)
    std::wstring lockedAboveByProfile;  // the same with a profile (%3)
    std::wstring policyProhibited;      // tooltip: this policy prohibits changing the value
    std::wstring policyAllowed;         // tooltip: this policy allows changing it
    UINT bitmapId = 0;  // the two 10-pixel item images, red is transparent
    UINT iconId = 0;    // the 16x16 information icon
    std::wstring policy, group, profile;
};

// The string ids pages fill the texts with, in the order of the fields.
inline constexpr UINT kLockTextStrings[8] = {5831, 5832, 5833, 5834, 5835, 5836, 5837, 5838};
// The eight texts from the plug-in's strings.
LockCtrlTexts LoadLockCtrlTexts(UINT bitmapId, UINT iconId);

// The text forms of a lock, as settings are listed in exports: the state
// (string 5831 for a mandatory value, 5832 otherwise) and the name of the lock
// of a settings group (string 5841 with the group's label, ampersands removed).
std::wstring LockStateText(bool mandatory);
std::wstring LockNameText(std::wstring_view groupLabel);

// The lock beside a group of settings: a drop-down with "editing prohibited"
// (item data 1) and "editing allowed" (item data 0), and an information icon
// whose tooltip explains the state. A value locked above, or any value on one
// computer (local mode), cannot be changed here: the drop-down is disabled;
// a value locked above also disables the controls the lock governs. A choice
// in the drop-down reaches the page as WM_COMMAND with the lock's own id and
// code 0, like a click.
class CLockCtrl : public CWnd {
public:
    static constexpr int kDropDownId = 10001, kInfoPaneId = 65535;
    static constexpr LPARAM kProhibited = 1, kAllowed = 0;
    static constexpr int kPaneWidth = 20, kDropDownMargin = 25, kFieldInset = 6;

    // The information icon with its own tooltip.
    class CInfoPane : public CWnd {
    public:
        ~CInfoPane() override;
        void Attach(HWND pane, HWND owner);
        bool SetIcon(UINT iconId);
        // The tooltip is active exactly when the text is not empty.
        void SetTipText(const std::wstring& text);
        const std::wstring& GetTipText() const { return m_tip; }

    private:
        void Release();
        HWND m_tooltip = nullptr;
        HWND m_owner = nullptr;
        HIMAGELIST m_images = nullptr;
        HICON m_icon = nullptr;
        std::wstring m_tip;
    };

    ~CLockCtrl() override;

    void Setup(const LockCtrlTexts& texts);
    // The page's control id made this lock: subclassed, in local-settings
    // mode or not, governing these controls, set up with these texts.
    void Attach(HWND page, int id, bool localMode, std::vector<int> governed, const LockCtrlTexts& texts);
    // L: the value is mandatory here; A: a parent policy (or on one computer,
    // the policy) locks it. The profile is left empty.
    void SetLockState(bool locked, bool lockedAbove, const std::wstring& policy, const std::wstring& group);
    // As a read reports it: L = mandatory, A = locked, with the locking policy, group and profile.
    void SetLockState(const NHPP::PolicyLockInfo& lock);
    bool IsLockedByParent() const { return m_lockedAbove; }
    // The item data of the selection: kProhibited (mandatory), kAllowed, or -1.
    LPARAM GetLockState() const { return m_dropDown.GetSelectedData(-1); }
    bool IsMandatory() const { return GetLockState() == kProhibited; }

    void SetLocalMode(bool local) { m_localMode = local; }
    bool IsLocalMode() const { return m_localMode; }
    void SetGovernedControls(std::vector<int> ids) { m_governed = std::move(ids); }
    const std::vector<int>& GetGovernedControls() const { return m_governed; }
    const std::wstring& GetTooltipText() const { return m_pane.GetTipText(); }
    HWND GetDropDown() const { return m_dropDown.GetSafeHwnd(); }
    HWND GetInfoPane() const { return m_pane.GetSafeHwnd(); }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Layout();
    void UpdateTooltip();
    void EnableGovernedControls();

    HIMAGELIST m_images = nullptr;
    LockCtrlTexts m_texts;
    CNHComboBox m_dropDown;
    bool m_lockedAbove = false;
    bool m_localMode = false;
    std::vector<int> m_governed;
    CInfoPane m_pane;
};
