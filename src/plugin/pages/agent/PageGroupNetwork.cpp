#include "plugin/pages/agent/PageGroupNetwork.h"

#include "controls/PageMessages.h"

namespace {

// control id, string id
constexpr struct {
    int control;
    UINT text;
} kTexts[] = {{1200, 2498}, {1201, 2499}, {1202, 2500}, {1203, 2501}, {1204, 2502}, {1205, 2503}};
constexpr int kLinks[] = {1201, 1203, 1205};  // the linked pages 0, 1 and 2

}  // namespace

ui::DialogTemplate CPageGroupNetwork::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.rect = {0, 0, 420, 240};
    int top = 10;
    for (const auto& text : kTexts) {
        const bool link = text.control % 2 == 1;
        dialog.controls.push_back({text.control, L"Static", L"", WS_CHILD | WS_VISIBLE | (link ? SS_NOTIFY | WS_TABSTOP : 0),
                                   {10, top, 410, top + (link ? 16 : 30)}});
        top += link ? 26 : 34;
    }
    return dialog;
}

bool CPageGroupNetwork::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    for (std::size_t i = 0; i < 3; ++i) {
        m_links[i].SubclassDlgItem(kLinks[i], m_hWnd);
        m_links[i].SetCommandId(kLinks[i]);
    }
    for (const auto& text : kTexts) SetDlgItemText(text.control, ui::LoadStringW(text.text));
    return true;
}

bool CPageGroupNetwork::OnCommand(WORD id, WORD, HWND)
{
    for (WPARAM index = 0; index < 3; ++index) {
        if (id != kLinks[index]) continue;
        ::SendMessageW(GetParent(), RWM_PPN_PAGE_JUMP_TO_SUBPAGE, index, 0);
        return true;
    }
    return false;
}
