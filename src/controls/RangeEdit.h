#pragma once

#include <cstdint>

#include "ui/ControlWrappers.h"

// An edit that never shows a number outside its range: every change of its
// text is checked (reflected EN_UPDATE), and a change that would make it
// invalid is undone with the caret put back where the rejected character was
// typed (for a user's edit, the selection it started from: a paste or a typed
// selection comes back as it was). Pages set the range and value before the
// dialog shows.
class CRangeEdit : public CEdit {
public:
    void SetRange(std::uint32_t minimum, std::uint32_t maximum)
    {
        m_minimum = minimum;
        m_maximum = maximum;
    }
    // Makes an up-down control the edit's spin, over the same range.
    void SetSpin(HWND upDown) const;
    std::uint32_t GetMinimum() const { return m_minimum; }
    std::uint32_t GetMaximum() const { return m_maximum; }
    // The last accepted number; shown at once when the control exists.
    void SetValue(std::uint32_t value);
    std::uint32_t GetValue() const { return m_value; }
    void SetAllowEmpty(bool allow) { m_allowEmpty = allow; }
    bool IsEmptyAllowed() const { return m_allowEmpty; }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void OnUpdate();
    bool InRange(std::uint64_t number) const { return number >= m_minimum && number <= m_maximum; }
    // Sets the text without checking it again (setting the text notifies too).
    void SetTextUnchecked(const std::wstring& text);

    std::uint32_t m_maximum = 100;
    std::uint32_t m_minimum = 0;
    std::uint32_t m_value = 0;
    bool m_allowEmpty = false;
    bool m_settingText = false;
    // The selection before the user's edit now being made, if one is being made.
    bool m_userEditing = false;
    int m_startBefore = 0, m_endBefore = 0;
};
