#pragma once

#include <cstdint>
#include <optional>

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

    // Shows a stored number in the edit's unit (stored / divisor, truncated
    // toward zero) as it is, even outside the range or below zero: a page
    // shows what is stored and leaves its refusal to validation.
    void LoadStored(std::int64_t stored, std::int64_t divisor = 1);
    // What apply writes: the stored number itself while the edit still shows
    // what LoadStored put there (so that a unit conversion changes nothing the
    // administrator left alone), else the number in the text times the
    // divisor; nothing when the text is no number.
    std::optional<std::int64_t> StoredOrTyped() const;
    // The text as a signed decimal number, if it is one.
    std::optional<std::int64_t> TextNumber() const;
    // Whether the edit still shows what LoadStored put there.
    bool IsUntouched() const;
    // Whether apply may write what the edit shows: a number within [low, high]
    // (in the edit's unit), or the stored number, as it was, in an edit the
    // administrator cannot reach (disabled), which apply writes back unchanged.
    bool Accepts(std::int64_t low, std::int64_t high) const;

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
    // What LoadStored showed, and the stored number and divisor behind it.
    std::optional<std::wstring> m_loadedText;
    std::int64_t m_stored = 0, m_divisor = 1;
    bool m_settingText = false;
    // The selection before the user's edit now being made, if one is being made.
    bool m_userEditing = false;
    int m_startBefore = 0, m_endBefore = 0;
};
