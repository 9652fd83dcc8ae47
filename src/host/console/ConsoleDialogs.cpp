#include "host/console/ConsoleDialogs.h"

#include "ui/CommonControls.h"
#include "ui/Resources.h"
#include "ui/Wnd.h"
#include "zrpar/Render.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace host {

namespace {

const ui::ResourceModule& ConsoleResources()
{
    static const ui::ResourceModule* module = [] {
        auto* resources = new ui::ResourceModule(L"console");
        ui::DialogTemplate picker;
        picker.id = kIpRangePickerTemplate;
        picker.caption = L"Select a subnet";
        picker.style = WS_POPUP;
        picker.rect = {0, 0, 260, 120};
        picker.controls = {
            {10, L"Static", L"Subnet address:", WS_CHILD | WS_VISIBLE, {10, 10, 110, 26}},
            {kPickerAddress, L"SysIPAddress32", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, {120, 10, 250, 30}},
            {11, L"Static", L"Subnet mask:", WS_CHILD | WS_VISIBLE, {10, 40, 110, 56}},
            {kPickerMask, L"SysIPAddress32", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, {120, 40, 250, 60}},
            {IDOK, L"Button", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, {90, 80, 160, 104}},
            {IDCANCEL, L"Button", L"Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP, {170, 80, 250, 104}},
        };
        resources->AddTemplate(std::move(picker));
        ui::DialogTemplate editor;
        editor.id = kScheduleEditorTemplate;
        editor.caption = L"Schedule";
        editor.style = WS_POPUP;
        editor.rect = {0, 0, 360, 240};
        editor.controls = {
            {kScheduleText, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY, {10, 10, 350, 190}},
            {IDOK, L"Button", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, {190, 200, 260, 224}},
            {IDCANCEL, L"Button", L"Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP, {270, 200, 350, 224}},
        };
        resources->AddTemplate(std::move(editor));
        return resources;
    }();
    return *module;
}

// The console's dialogs come from its own resources, whatever module the caller is in.
class ConsoleModuleScope : public ui::ModuleStateScope {
public:
    ConsoleModuleScope() : ui::ModuleStateScope(ui::ModuleState{&ConsoleResources(), nullptr}) {}
};

class PickerDialog : public CDialog {
public:
    PickerDialog() : CDialog(kIpRangePickerTemplate) {}
    DWORD address = 0;
    DWORD mask = 0;

    void OnOK() override
    {
        ::SendMessageW(GetDlgItem(kPickerAddress), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
        ::SendMessageW(GetDlgItem(kPickerMask), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&mask));
        EndDialog(IDOK);
    }
};

class EditorDialog : public CDialog {
public:
    explicit EditorDialog(std::wstring text) : CDialog(kScheduleEditorTemplate), m_text(std::move(text)) {}
    bool OnInitDialog() override
    {
        SetDlgItemText(kScheduleText, m_text);
        return true;
    }

private:
    std::wstring m_text;
};

std::wstring Dotted(std::uint32_t hostForm)
{
    return ZRSTD::FormatW(L"%u.%u.%u.%u", (hostForm >> 24) & 0xFF, (hostForm >> 16) & 0xFF, (hostForm >> 8) & 0xFF,
                          hostForm & 0xFF);
}

}  // namespace

std::wstring SubnetKey(std::uint32_t address, std::uint32_t mask)
{
    return L"subnet:" + Dotted(address) + L"/" + Dotted(mask);
}

bool IpRangePicker::SelectIpRange(HWND owner, ZRPAR::Params** ppRange)
{
    ZRSTD_CHECK_ARG(ppRange);
    *ppRange = nullptr;
    ConsoleModuleScope scope;
    PickerDialog dialog;
    if (dialog.DoModal(owner) != IDOK) return false;
    *ppRange = ZRPAR::CreateParamsBody({{L"nIpAddress", static_cast<std::int32_t>(dialog.address)},
                                        {L"nMask", static_cast<std::int32_t>(dialog.mask)}})
                   .Detach();
    return true;
}

bool IpRangePicker::FindSubnet(std::uint32_t address, std::uint32_t mask, ZRPAR::Params** ppSubnet)
{
    ZRSTD_CHECK_ARG(ppSubnet);
    *ppSubnet = nullptr;
    const auto known = m_store->GetConfig(SubnetKey(address, mask));
    if (!known) return false;
    const auto tab = known->find(L'\t');
    *ppSubnet = ZRPAR::CreateParamsBody({{L"wstrSubnetName", known->substr(0, tab)},
                                         {L"wstrComment", tab == std::wstring::npos ? L"" : known->substr(tab + 1)}})
                    .Detach();
    return true;
}

bool ScheduleEditor::EditSchedule(HWND owner, ZRPAR::Params* schedule, std::uint32_t, ZRPAR::Params** ppEdited)
{
    ZRSTD_CHECK_ARG(ppEdited);
    *ppEdited = nullptr;
    ConsoleModuleScope scope;
    EditorDialog dialog(schedule ? ZRSTD::FromUtf8(ZRPAR::RenderText(*schedule)) : L"");
    if (dialog.DoModal(owner) != IDOK) return false;
    *ppEdited = (schedule ? schedule->Clone() : ZRPAR::CreateParams()).Detach();
    return true;
}

}  // namespace host
