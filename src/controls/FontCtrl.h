#pragma once

#include "ui/Graphics.h"
#include "ui/Wnd.h"

// A change of a control's font: flags to add, flags to remove and a height.
struct FontChange {
    enum Add : DWORD { kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8 };
    enum Remove : DWORD { kNormalWeight = 1, kNotItalic = 2, kNotUnderlined = 4, kNotStruckOut = 8 };
    HFONT base = nullptr;  // null: the control's own font
    DWORD add = 0;
    DWORD remove = 0;
    int height = 0;  // 0 keeps the height
};

// The font the change makes of the base font (the default GUI font when the base is none).
HFONT CreateChangedFont(HFONT base, const FontChange& change);

// Any control with its font changed when it is subclassed (and its layout
// mirrored inside a right-to-left parent). The control keeps the font it
// made and gives the window its own font back when it lets go of it.
template <class Base>
class CFontCtrl : public Base {
public:
    explicit CFontCtrl(FontChange change = {}) : m_change(change) {}
    ~CFontCtrl() override
    {
        if (this->m_hWnd && ::IsWindow(this->m_hWnd)) {
            ::SendMessageW(this->m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_originalFont), 0);
            this->UnsubclassWindow();
        }
        if (m_font) DeleteObject(m_font);
    }
    HFONT GetChangedFont() const { return m_font; }

protected:
    void PreSubclassWindow() override
    {
        Base::PreSubclassWindow();
        m_originalFont = reinterpret_cast<HFONT>(this->SendMessage(WM_GETFONT));
        if (m_font) DeleteObject(m_font);
        m_font = CreateChangedFont(m_change.base ? m_change.base : m_originalFont, m_change);
        this->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font));
        if (::GetWindowLongW(this->GetParent(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) this->ModifyStyleEx(0, WS_EX_LAYOUTRTL);
    }

    FontChange m_change;

private:
    HFONT m_font = nullptr;
    HFONT m_originalFont = nullptr;
};

// The control in bold.
template <class Base>
class CBoldCtrl : public CFontCtrl<Base> {
public:
    CBoldCtrl() : CFontCtrl<Base>(FontChange{nullptr, FontChange::kBold, 0, 0}) {}
};
