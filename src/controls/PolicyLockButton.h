#pragma once

#include <string>
#include <vector>

#include "ui/ControlWrappers.h"
#include "ui/Graphics.h"

// The older form of the lock: a small owner-drawn toggle button with a
// padlock image. A click toggles it ("LOCKED"/"UNLOCKED") when it is
// editable; when it is not editable, or read-only, presses and the space key
// are swallowed and nothing reaches the page. A parent's lock makes it
// read-only for this policy and disables the controls it governs.
class CPolicyLockButton : public CButton {
public:
    static constexpr UINT kImagesBitmap = 6000;
    static constexpr int kImageSize = 10;
    static constexpr UINT kTooltipDelay = 500;

    ~CPolicyLockButton() override;

    virtual bool IsLocked() const { return m_locked; }
    virtual void SetLocked(bool locked);
    virtual void SetLockedByParent(bool lockedAbove, const std::wstring& policy, const std::wstring& group);
    virtual void SetLockedByParent(bool lockedAbove, const std::wstring& policy, const std::wstring& group,
                                   const std::wstring& profile);
    virtual bool IsLockedByParent() const { return m_lockedAbove; }
    virtual const std::wstring& GetPolicyName() const { return m_policy; }
    virtual const std::wstring& GetGroupName() const { return m_group; }
    // Editable buttons are tab stops; others are not.
    virtual void SetEditable(bool editable);

    bool IsEditable() const { return m_editable; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool IsReadOnly() const { return m_readOnly; }
    // The default tooltip, and the templates for a parent's lock (%1 policy, %2 group, %3 profile).
    void SetTooltipTexts(std::wstring defaultTip, std::wstring byPolicy, std::wstring byProfile);
    void SetGovernedControls(std::vector<int> ids) { m_governed = std::move(ids); }
    const std::wstring& GetTooltipText() const { return m_tip; }
    // The image drawn now: 0 locked, 1 unlocked, two more when not editable or read-only.
    int ImageIndex() const { return (m_locked ? 0 : 1) + (!m_editable || m_readOnly ? 2 : 0); }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void SetTip(const std::wstring& text);
    void ApplyParentLock(const std::wstring& tip);
    void Draw(const DRAWITEMSTRUCT& item);

    bool m_locked = false;
    HWND m_tooltip = nullptr;
    HIMAGELIST m_images = nullptr;
    bool m_editable = true;
    bool m_readOnly = false;
    bool m_lockedAbove = false;
    std::wstring m_policy, m_group, m_profile;
    std::vector<int> m_governed;
    std::wstring m_defaultTip;
    std::wstring m_byPolicyTip;
    std::wstring m_byProfileTip;
    std::wstring m_tip;
};
