#pragma once

#include "ui/Graphics.h"
#include "ui/Wnd.h"

// A control that paints a picture: scaled to fit its client area with its
// proportions kept and centred, on a background of its own colour.
class CNHPictureViewCtrl : public CWnd {
public:
    ~CNHPictureViewCtrl() override;
    // The control owns the picture from now on (the previous one is deleted).
    void SetPicture(HBITMAP picture);
    bool LoadPicture(UINT bitmapId);
    HBITMAP GetPicture() const { return m_picture; }
    void SetBackground(COLORREF colour) { m_background = colour; }
    // Where the picture is drawn in a client area of this size.
    static RECT FitInto(SIZE picture, RECT client);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HBITMAP m_picture = nullptr;
    COLORREF m_background = 0xFFFFFF;
};
