#pragma once

#include "ui/Graphics.h"
#include "ui/Wnd.h"

// A static control that shows an icon resource at 32x32 pixels. It owns the
// icon it shows: a new one replaces and destroys the previous one, and the
// last one goes with the control.
class CNHImageCtrl : public CWnd {
public:
    static constexpr int kIconSize = 32;

    ~CNHImageCtrl() override;
    // False, with the icon kept, when the resource is missing.
    bool SetImage(UINT iconId);
    HICON GetIcon() const { return m_icon; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Release();
    HICON m_icon = nullptr;
};
