#include "controls/NHPictureViewCtrl.h"

#include "controls/PluginEnvironment.h"
#include "ui/Mouse.h"

CNHPictureViewCtrl::~CNHPictureViewCtrl()
{
    if (m_picture) DeleteObject(m_picture);
}

void CNHPictureViewCtrl::SetPicture(HBITMAP picture)
{
    if (m_picture && m_picture != picture) DeleteObject(m_picture);
    m_picture = picture;
    if (m_hWnd) InvalidateRect(m_hWnd);
}

bool CNHPictureViewCtrl::LoadPicture(UINT bitmapId)
{
    PluginStateScope scope;
    HBITMAP picture = LoadBitmapResource(bitmapId);
    if (!picture) return false;
    SetPicture(picture);
    return true;
}

RECT CNHPictureViewCtrl::FitInto(SIZE picture, RECT client)
{
    if (picture.cx <= 0 || picture.cy <= 0 || client.Width() <= 0 || client.Height() <= 0) return RECT{};
    // the larger scale that still fits both ways, in integers: width/height compared crosswise
    std::int64_t width = client.Width();
    std::int64_t height = width * picture.cy / picture.cx;
    if (height > client.Height()) {
        height = client.Height();
        width = height * picture.cx / picture.cy;
    }
    const auto left = client.left + static_cast<std::int32_t>((client.Width() - width) / 2);
    const auto top = client.top + static_cast<std::int32_t>((client.Height() - height) / 2);
    return RECT{left, top, left + static_cast<std::int32_t>(width), top + static_cast<std::int32_t>(height)};
}

LRESULT CNHPictureViewCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT) return Default(message, wParam, lParam);
    const auto dc = reinterpret_cast<HDC>(wParam);
    const RECT client = GetClientRect(m_hWnd);
    HBRUSH background = CreateSolidBrush(m_background);
    FillRect(dc, client, background);
    DeleteObject(background);
    SIZE size;
    if (GetBitmapSize(m_picture, size)) StretchBitmap(dc, FitInto(size, client), m_picture);
    return 0;
}
