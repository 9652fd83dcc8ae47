#include "controls/LockCtrl.h"

#include <algorithm>

#include "controls/PluginEnvironment.h"
#include "ui/CommonControls.h"
#include "ui/Mouse.h"
#include "zrplugin/IZRConfigurator.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace {
constexpr COLORREF kItemImageMask = 0x0000FF;  // red
constexpr int kItemImageWidth = 10;
constexpr int kIconSize = 16;
}  // namespace

LockCtrlTexts LoadLockCtrlTexts(UINT bitmapId, UINT iconId)
{
    PluginStateScope scope;
    LockCtrlTexts texts;
    std::wstring* fields[8] = {&texts.prohibited,       &texts.allowed,     &texts.localEnforced,
                               &texts.localFree,        &texts.lockedAbove, &texts.lockedAboveByProfile,
                               &texts.policyProhibited, &texts.policyAllowed};
    for (int i = 0; i < 8; ++i) *fields[i] = ui::LoadStringW(kLockTextStrings[i]);
    texts.bitmapId = bitmapId;
    texts.iconId = iconId;
    return texts;
}

std::wstring LockStateText(bool mandatory)
{
    PluginStateScope scope;
    return ui::LoadStringW(mandatory ? 5831 : 5832);
}

std::wstring LockNameText(std::wstring_view groupLabel)
{
    PluginStateScope scope;
    const std::wstring label = ZRSTD::ReplaceAll(groupLabel, L"&", L"");
    return ZRSTD::FormatInsert(ui::LoadStringW(5841), {label});
}

// ---- the information pane ------------------------------------------------

CLockCtrl::CInfoPane::~CInfoPane() { Release(); }

void CLockCtrl::CInfoPane::Release()
{
    if (m_icon) {
        if (m_hWnd && ::IsWindow(m_hWnd)) SendMessage(STM_SETICON, 0);
        DestroyIcon(m_icon);
        m_icon = nullptr;
    }
    if (m_images) {
        ImageList_Destroy(m_images);
        m_images = nullptr;
    }
}

void CLockCtrl::CInfoPane::Attach(HWND pane, HWND owner)
{
    SubclassWindow(pane);
    m_owner = owner;
    // the tooltip belongs to the pane and goes with it
    m_tooltip = ::CreateWindowExW(0, L"tooltips_class32", L"", WS_POPUP, RECT{}, pane, 0);
    TOOLINFOW tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<std::uintptr_t>(pane);
    ::SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(m_tooltip, TTM_ACTIVATE, FALSE, 0);
}

bool CLockCtrl::CInfoPane::SetIcon(UINT iconId)
{
    HICON loaded = LoadIconResource(iconId, kIconSize, kIconSize);
    if (!loaded) return false;
    Release();
    m_images = ImageList_Create(kIconSize, kIconSize, ILC_MASK | ILC_COLOR32, 1, 0);
    ImageList_AddIcon(m_images, loaded);
    DestroyIcon(loaded);
    m_icon = ImageList_GetIcon(m_images, 0, ILD_NORMAL);
    SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(m_icon));
    return true;
}

void CLockCtrl::CInfoPane::SetTipText(const std::wstring& text)
{
    m_tip = text;
    if (!::IsWindow(m_tooltip)) return;
    TOOLINFOW tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_owner;
    tool.uId = reinterpret_cast<std::uintptr_t>(m_hWnd);
    tool.text = text;
    ::SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(m_tooltip, TTM_ACTIVATE, text.empty() ? FALSE : TRUE, 0);
}

// ---- the lock control ----------------------------------------------------

CLockCtrl::~CLockCtrl()
{
    if (m_images) ImageList_Destroy(m_images);
}

void CLockCtrl::PreSubclassWindow()
{
    const HWND dropDown = ::CreateWindowExW(0, L"ComboBoxEx32", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST,
                                            RECT{}, m_hWnd, kDropDownId);
    m_dropDown.SubclassWindow(dropDown);
    // the drop-down reads like the page around it
    ::SendMessageW(dropDown, WM_SETFONT, ::SendMessageW(GetParent(), WM_GETFONT, 0, 0), 0);
    const HWND pane = ::CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE | SS_NOTIFY,
                                        RECT{}, m_hWnd, kInfoPaneId);
    m_pane.Attach(pane, m_hWnd);
    Layout();
}

void CLockCtrl::Setup(const LockCtrlTexts& texts)
{
    PluginStateScope scope;
    m_texts = texts;
    if (m_images) ImageList_Destroy(m_images);
    m_images = nullptr;
    if (HBITMAP strip = LoadBitmapResource(texts.bitmapId)) {
        SIZE size;
        GetBitmapSize(strip, size);
        m_images = ImageList_Create(kItemImageWidth, size.cy, ILC_MASK | ILC_COLOR32, 2, 0);
        ImageList_AddMasked(m_images, strip, kItemImageMask);
        DeleteObject(strip);
    }
    m_dropDown.SetImageList(m_images);
    m_dropDown.ResetContent();
    m_dropDown.AddItem(m_texts.prohibited, kProhibited, 0);
    m_dropDown.AddItem(m_texts.allowed, kAllowed, 1);
    m_dropDown.SelectByData(kAllowed);
    m_pane.SetIcon(texts.iconId);
    Layout();
}

void CLockCtrl::Attach(HWND page, int id, bool localMode, std::vector<int> governed, const LockCtrlTexts& texts)
{
    SubclassDlgItem(id, page);
    SetLocalMode(localMode);
    SetGovernedControls(std::move(governed));
    Setup(texts);
}

void CLockCtrl::SetLockState(bool locked, bool lockedAbove, const std::wstring& policy, const std::wstring& group)
{
    NHPP::PolicyLockInfo lock;
    lock.mandatory = locked;
    lock.locked = lockedAbove;
    lock.lockPolicy = policy;
    lock.lockGroup = group;
    SetLockState(lock);
}

void CLockCtrl::SetLockState(const NHPP::PolicyLockInfo& lock)
{
    m_lockedAbove = lock.locked;
    m_dropDown.EnableWindow(!m_lockedAbove && !m_localMode);
    m_texts.policy = lock.lockPolicy;
    m_texts.group = lock.lockGroup;
    m_texts.profile = lock.lockProfile;
    // locked above always shows as prohibited
    m_dropDown.SelectByData(m_lockedAbove || lock.mandatory ? kProhibited : kAllowed);
    UpdateTooltip();
    EnableGovernedControls();
}

void CLockCtrl::UpdateTooltip()
{
    const std::wstring* text;
    if (m_lockedAbove) {
        text = m_localMode                 ? &m_texts.localEnforced
               : !m_texts.profile.empty() ? &m_texts.lockedAboveByProfile
                                          : &m_texts.lockedAbove;
    } else if (m_localMode) {
        text = &m_texts.localFree;
    } else {
        // follows the selection, also when the administrator changes it
        text = IsMandatory() ? &m_texts.policyProhibited : &m_texts.policyAllowed;
    }
    m_pane.SetTipText(text->empty() ? std::wstring()
                                    : ZRSTD::FormatInsert(*text, {m_texts.policy, m_texts.group, m_texts.profile}));
}

void CLockCtrl::EnableGovernedControls()
{
    const bool enable = !m_lockedAbove && IsWindowEnabled();
    const HWND page = GetParent();
    for (int id : m_governed) {
        if (const HWND control = ::GetDlgItem(page, id)) {
            ::EnableWindow(control, enable);
            ::SetPropW(control, ZRPlugin::kGoverningLockProperty, m_hWnd);  // a console can say what locks it
        }
    }
    if (m_lockedAbove) ::SetPropW(m_hWnd, ZRPlugin::kLockedByPolicyProperty, const_cast<wchar_t*>(m_texts.policy.c_str()));
    else ::RemovePropW(m_hWnd, ZRPlugin::kLockedByPolicyProperty);
}

void CLockCtrl::Layout()
{
    if (!m_hWnd) return;
    const RECT client = GetClientRect(m_hWnd);
    const int width = client.Width(), height = client.Height();
    if (m_dropDown.GetSafeHwnd()) {
        m_dropDown.MoveWindow(RECT{0, 0, std::max(0, width - kDropDownMargin), height});
        if (height > kFieldInset) m_dropDown.SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - kFieldInset);
    }
    if (m_pane.GetSafeHwnd()) m_pane.MoveWindow(RECT{std::max(0, width - kPaneWidth), 0, width, height});
}

LRESULT CLockCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE: {
        const LRESULT result = Default(message, wParam, lParam);
        Layout();
        return result;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kDropDownId && HIWORD(wParam) == CBN_SELCHANGE) {
            UpdateTooltip();
            // the page treats a new choice like a click on the lock
            ::SendMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), 0),
                           reinterpret_cast<LPARAM>(m_hWnd));
            return 0;
        }
        break;
    default: break;
    }
    return Default(message, wParam, lParam);
}
