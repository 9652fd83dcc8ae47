#pragma once

#include <string>

#include "ui/Graphics.h"
#include "ui/Wnd.h"

// A static control that acts as a link: drawn in the link colours with its
// font underlined and the hand cursor over it; activated by a click (or a
// press, with kActivateOnPress) or the space key, it opens its address with
// the shell, or, without an address, sends its parent WM_COMMAND with its
// command id as a command button would.
class CHyperLink : public CWnd {
public:
    enum Flags : DWORD {
        kUnderline = 1,
        kHoverColour = 2,
        kSizeToText = 4,
        kActivateOnPress = 8,
        kFocusOnClick = 16,
        kNoHandCursor = 32,
        kNoPressedColour = 64,
        kMarkVisited = 128,
    };
    static constexpr COLORREF kNormal = 0xFF0000, kHover = 0x0000FF, kPressed = 0x808000, kVisited = 0x800080;

    ~CHyperLink() override;

    void SetAddress(const std::wstring& address) { m_address = address; }
    const std::wstring& GetAddress() const { return m_address; }
    void SetCommandId(int command) { m_commandId = command; }
    int GetCommandId() const { return m_commandId; }
    // Flags take effect for the font and size when the control is subclassed.
    void SetFlags(DWORD flags) { m_flags = flags; }
    DWORD GetFlags() const { return m_flags; }
    bool IsVisited() const { return m_visited; }
    // The colour the text is drawn in now.
    COLORREF TextColour() const;
    void Activate();

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    // Opens the address with the handler of web pages when the shell cannot.
    bool OpenWithPageHandler(const std::wstring& target);

    std::wstring m_address;
    int m_commandId = -1;
    DWORD m_flags = kUnderline | kFocusOnClick | kNoPressedColour;  // 81
    bool m_pressed = false;
    bool m_hover = false;
    bool m_visited = false;
    HFONT m_linkFont = nullptr;
    HFONT m_originalFont = nullptr;
};
