#include "controls/PolicyLockButton.h"

#include "controls/PluginEnvironment.h"
#include "ui/CommonControls.h"
#include "zrstd/Format.h"

namespace {
constexpr COLORREF kImageMask = 0x0000FF;  // red
}

CPolicyLockButton::~CPolicyLockButton()
{
    if (m_images) ImageList_Destroy(m_images);
}

void CPolicyLockButton::PreSubclassWindow()
{
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    m_locked = false;
    SetWindowText(L"UNLOCKED");
    {
        PluginStateScope scope;
        m_images = ImageList_Create(kImageSize, kImageSize, ILC_MASK | ILC_COLOR32, 4, 4);
        if (HBITMAP strip = LoadBitmapResource(kImagesBitmap)) {
            ImageList_AddMasked(m_images, strip, kImageMask);
            DeleteObject(strip);
        }
    }
    m_tooltip = ::CreateWindowExW(0, L"tooltips_class32", L"", WS_POPUP, RECT{}, m_hWnd, 0);
    ::SendMessageW(m_tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, kTooltipDelay);
    TOOLINFOW tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent();
    tool.uId = reinterpret_cast<std::uintptr_t>(m_hWnd);
    ::SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(m_tooltip, TTM_ACTIVATE, TRUE, 0);
}

void CPolicyLockButton::SetLocked(bool locked)
{
    m_locked = locked;
    if (!m_hWnd) return;
    SetWindowText(locked ? L"LOCKED" : L"UNLOCKED");
    ::InvalidateRect(m_hWnd);
}

void CPolicyLockButton::SetTooltipTexts(std::wstring defaultTip, std::wstring byPolicy, std::wstring byProfile)
{
    m_defaultTip = std::move(defaultTip);
    m_byPolicyTip = std::move(byPolicy);
    m_byProfileTip = std::move(byProfile);
}

void CPolicyLockButton::SetTip(const std::wstring& text)
{
    m_tip = text;
    if (!::IsWindow(m_tooltip)) return;
    TOOLINFOW tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent();
    tool.uId = reinterpret_cast<std::uintptr_t>(m_hWnd);
    tool.text = text;
    ::SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(m_tooltip, TTM_ACTIVATE, text.empty() ? FALSE : TRUE, 0);
}

void CPolicyLockButton::SetLockedByParent(bool lockedAbove, const std::wstring& policy, const std::wstring& group)
{
    m_lockedAbove = lockedAbove;
    m_policy = policy;
    m_group = group;
    m_profile.clear();
    ApplyParentLock(ZRSTD::FormatInsert(m_byPolicyTip, {policy, group}));
}

void CPolicyLockButton::SetLockedByParent(bool lockedAbove, const std::wstring& policy, const std::wstring& group,
                                          const std::wstring& profile)
{
    m_lockedAbove = lockedAbove;
    m_policy = policy;
    m_group = group;
    m_profile = profile;
    ApplyParentLock(ZRSTD::FormatInsert(m_byProfileTip, {policy, group, profile}));
}

void CPolicyLockButton::ApplyParentLock(const std::wstring& lockedTip)
{
    if (m_lockedAbove && !m_policy.empty()) SetTip(lockedTip);
    else SetTip(m_readOnly ? std::wstring() : m_defaultTip);
    SetEditable(!m_lockedAbove);
    const HWND page = GetParent();
    for (int id : m_governed)
        if (const HWND control = ::GetDlgItem(page, id)) ::EnableWindow(control, m_editable);
}

void CPolicyLockButton::SetEditable(bool editable)
{
    m_editable = editable;
    if (m_hWnd) {
        ModifyStyle(WS_TABSTOP, editable ? WS_TABSTOP : 0);
        ::InvalidateRect(m_hWnd);
    }
}

bool CPolicyLockButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_DRAWITEM) {
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        *result = TRUE;
        return true;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && m_editable && !m_readOnly) SetLocked(!m_locked);
    return false;  // the page receives the click too
}

void CPolicyLockButton::Draw(const DRAWITEMSTRUCT& item)
{
    const bool pushed = m_locked || (item.itemState & ODS_SELECTED);
    DrawFrameControl(item.hDC, item.rcItem, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    const int x = item.rcItem.left + (item.rcItem.Width() - kImageSize) / 2;
    const int y = item.rcItem.top + (item.rcItem.Height() - kImageSize) / 2;
    ImageList_Draw(m_images, ImageIndex(), item.hDC, x, y, ILD_TRANSPARENT);
}

LRESULT CPolicyLockButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool inert = !m_editable || m_readOnly;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (inert) return 0;
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        if (inert && wParam == VK_SPACE) return 0;
        break;
    default: break;
    }
    return Default(message, wParam, lParam);
}
