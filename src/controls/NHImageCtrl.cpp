#include "controls/NHImageCtrl.h"

#include "controls/PluginEnvironment.h"

CNHImageCtrl::~CNHImageCtrl() { Release(); }

void CNHImageCtrl::Release()
{
    if (!m_icon) return;
    if (m_hWnd && ::IsWindow(m_hWnd) && reinterpret_cast<HICON>(SendMessage(STM_GETICON)) == m_icon)
        SendMessage(STM_SETICON, 0);
    DestroyIcon(m_icon);
    m_icon = nullptr;
}

bool CNHImageCtrl::SetImage(UINT iconId)
{
    PluginStateScope scope;
    HICON loaded = LoadIconResource(iconId, kIconSize, kIconSize);
    if (!loaded) return false;
    // scaled through an image list of the shown size
    HIMAGELIST scaler = ImageList_Create(kIconSize, kIconSize, ILC_MASK | ILC_COLOR32, 1, 0);
    ImageList_AddIcon(scaler, loaded);
    HICON scaled = ImageList_GetIcon(scaler, 0, ILD_NORMAL);
    ImageList_Destroy(scaler);
    DestroyIcon(loaded);
    if (!scaled) return false;
    const auto previous = reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(scaled)));
    if (previous) DestroyIcon(previous);
    if (m_icon && m_icon != previous) DestroyIcon(m_icon);
    m_icon = scaled;
    InvalidateRect(m_hWnd);
    return true;
}

LRESULT CNHImageCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) Release();
    return Default(message, wParam, lParam);
}
