#pragma once

#include "controls/NHPDialog.h"
#include "zrplugin/IZRConfiguratorPage2.h"

// The base of every settings page: the console's page interface over the
// page's own hooks, the modified flag and its two messages, validation and
// apply, error messages, and cancel to the sheet.
class CNHPPropertyPageBase : public CNHPDialog, public ZRSTD::ZRBaseImpl<ZRPlugin::IZRConfiguratorPage2> {
public:
    CNHPPropertyPageBase(UINT templateId, std::shared_ptr<NHPP::CNHPPageData> pageData = nullptr);
    ~CNHPPropertyPageBase() override;

    // The console's interface (each call runs in the plug-in's module state).
    void ReservedSlot3(std::int32_t) override {}
    HWND GetWindow() override { return m_hWnd; }
    bool IsModified() override { return m_modified; }
    void Apply() override;
    std::int32_t Validate() override;
    void ReservedSlot8() override {}
    std::int32_t Activate() override;
    void ReservedSlot10() override {}
    std::int32_t Deactivate() override;
    void ReservedSlot12() override {}
    HWND CreatePageWindow(HWND parent) override;
    void ShowHelp() override;

    // Hooks pages override, in this order.
    virtual void UpdateLayout() {}
    virtual void SetModified(bool modified = true);
    virtual bool OnPostApply() { return true; }
    virtual bool ApplyPage() { return true; }
    virtual bool ValidatePage() { return true; }
    virtual bool OnPageActivate() { return true; }
    virtual bool OnPageDeactivate() { return true; }
    virtual bool CallApplyPage() { return ApplyPage(); }
    virtual void ReservedHook() {}
    // -1 when validation fails; otherwise 0 when ApplyPage succeeds, else -1.
    virtual int GetApplyResult();
    virtual int ReservedHookResult() { return 0; }

    bool IsInitialized() const { return m_initialized; }
    void SetThemed(bool themed) { m_themed = themed; }
    bool IsThemed() const { return m_themed; }
    void SetCancelToParent(bool toParent) { m_cancelToParent = toParent; }

    // Shows a string of the plug-in as an error owned by the page.
    int ShowError(UINT stringId);
    // Refuses a number the page cannot take: the field's message (or, for 0,
    // one naming the label), the range it takes, and the focus on the field.
    // Always false, for "return ShowRangeError(...)".
    bool ShowRangeError(int field, UINT messageId, std::int64_t low, std::int64_t high, UINT labelId = 0);

protected:
    // Tells the administrator when settings the page shows, or the policy
    // that governs them, could not be read (the page then saves nothing).
    void TellUnreadableSettings();
    bool OnInitDialog() override;
    void OnCancel() override;
    void OnSize(int width, int height) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    bool m_initialized = false;
    bool m_modified = false;
    bool m_themed = true;
    bool m_cancelToParent = true;
    bool m_furtherFlag = true;
};
