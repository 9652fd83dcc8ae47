#include "plugin/pages/agent/DlgNLARuleConditionEditor.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "controls/TextFormats.h"
#include "nhpp/PageData.h"
#include "plugin/pages/PageResources.h"
#include "ui/CommonControls.h"
#include "ui/Services.h"
#include "zrplugin/DataSource.h"
#include "zrstd/CertUtil.h"
#include "zrstd/Error.h"
#include "zrstd/Strings.h"

namespace {

// strings
constexpr UINT kOkText = 12, kCancelText = 13, kValuesText = 2116, kAddText = 2117, kEditText = 2118,
               kRemoveText = 2119, kMatchText = 2120, kMatchesOneText = 2121, kMatchesNoneText = 2122,
               kValueColumnText = 2102, kChooseText = 2400, kEditValueCaption = 2105, kAddValueCaption = 2106,
               kSubnetAddressText = 2108, kSubnetMaskText = 2109, kCertificateText = 2563, kCertificateSet = 2561,
               kCertificateNotSet = 2562, kCertificateFilter = 855, kCertificatePickerTitle = 9303;
constexpr UINT kSubnetColumns[] = {5898, 5899, 5900, 5901};  // name, IP, mask, description
constexpr int kSubnetColumnWidth = 100;
// messages
constexpr UINT kNoValues = 2325, kNoDomainName = 2111, kBadNetworkAddress = 2262, kNoCertificate = 2004;

constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
constexpr int kValueListWidth = 360;

std::int32_t IntOf(const ZRPAR::Params* params, const wchar_t* key)
{
    const ZRPAR::Value* value = params ? params->FindValue(key) : nullptr;
    return value && value->GetType() == ZRPAR::VT_INT ? static_cast<const ZRPAR::IntValue*>(value)->GetValue() : 0;
}

// A certificate file as it is, when it can be read and is no larger than a certificate can be.
std::optional<std::vector<std::uint8_t>> ReadCertificateFile(const std::wstring& path)
{
    std::error_code error;
    const std::filesystem::path file(path);
    const auto size = std::filesystem::file_size(file, error);
    if (error || size > ZRCERTUTIL::kMaxCertificateFileSize) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (size && !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) return std::nullopt;
    return bytes;
}

}  // namespace

// ---- the condition editor ---------------------------------------------------

ui::DialogTemplate CDlgNLARuleConditionEditor::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.style = WS_POPUP;
    dialog.rect = {0, 0, 380, 340};
    dialog.controls = {
        {kValuesLabel, L"Static", L"", kVisible, {10, 10, 370, 26}},
        {kValues, L"SysListView32", L"",
         kVisible | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
         {10, 30, 10 + kValueListWidth, 200}},
        {kAdd, L"Button", L"", kVisible | WS_TABSTOP, {10, 206, 95, 230}},
        {kEdit, L"Button", L"", kVisible | WS_TABSTOP, {100, 206, 185, 230}},
        {kRemove, L"Button", L"", kVisible | WS_TABSTOP, {190, 206, 275, 230}},
        {kMatchLabel, L"Static", L"", kVisible, {10, 240, 370, 256}},
        {kMatchesOne, L"Button", L"", kVisible | WS_TABSTOP | BS_AUTORADIOBUTTON, {10, 260, 370, 276}},
        {kMatchesNone, L"Button", L"", kVisible | BS_AUTORADIOBUTTON, {10, 280, 370, 296}},
        {IDOK, L"Button", L"", kVisible | WS_TABSTOP | BS_DEFPUSHBUTTON, {210, 306, 285, 330}},
        {IDCANCEL, L"Button", L"", kVisible | WS_TABSTOP, {295, 306, 370, 330}},
    };
    return dialog;
}

CDlgNLARuleConditionEditor::CDlgNLARuleConditionEditor(std::shared_ptr<NHPP::CNHPPageData> pageData,
                                                       const nla::ConditionType& type, NHPP::CParams& condition,
                                                       bool isNew)
    : CNHPDialog(kTemplate, std::move(pageData)), m_type(type), m_condition(condition), m_new(isNew)
{
}

bool CDlgNLARuleConditionEditor::OnInitDialog()
{
    CNHPDialog::OnInitDialog();
    SetWindowText(ui::LoadStringW(m_new ? m_type.addCaption : m_type.editCaption));
    SetControlTexts({{kValuesLabel, kValuesText},
                     {kAdd, kAddText},
                     {kEdit, kEditText},
                     {kRemove, kRemoveText},
                     {kMatchLabel, kMatchText},
                     {kMatchesOne, kMatchesOneText},
                     {kMatchesNone, kMatchesNoneText},
                     {IDOK, kOkText},
                     {IDCANCEL, kCancelText}});
    m_storedOperator = m_condition.GetIntOrDefault(nla::kOperatorKey, 0, nullptr);
    CheckDlgButton(m_storedOperator == 0 ? kMatchesOne : kMatchesNone, BST_CHECKED);

    if (m_condition.GetArray(nla::kValuesKey, &m_values, nullptr) != NHPP::kOk || !m_values) {
        m_condition.SetArray(nla::kValuesKey, ZRPAR::CreateArrayValue().Get(), false);
        m_values = nullptr;
        if (m_condition.GetArray(nla::kValuesKey, &m_values, nullptr) != NHPP::kOk || !m_values)
            m_values = ZRPAR::CreateArrayValue();  // only when the copy cannot be written: nothing is kept then
    }
    m_list.SubclassDlgItem(kValues, m_hWnd);
    m_list.SetSaveOnDestroy(false);
    InsertColumns();
    for (std::size_t i = 0; i < m_values->GetSize(); ++i) {
        const int line = m_list.InsertItem(static_cast<int>(i), L"");
        ShowValue(line, m_values->ItemAt(i));
    }
    UpdateControls();
    return true;
}

void CDlgNLARuleConditionEditor::InsertColumns()
{
    m_list.InsertColumn(0, ui::LoadStringW(kValueColumnText), kValueListWidth);
}

void CDlgNLARuleConditionEditor::ShowValue(int line, const ZRPAR::Value* value)
{
    m_list.SetItemText(line, 0, nla::ValueText(m_type, value));
}

int CDlgNLARuleConditionEditor::SelectedLine() const
{
    return static_cast<int>(m_list.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CDlgNLARuleConditionEditor::UpdateControls()
{
    const bool selected = SelectedLine() >= 0;
    ::EnableWindow(GetDlgItem(kEdit), selected);
    ::EnableWindow(GetDlgItem(kRemove), selected);
}

void CDlgNLARuleConditionEditor::AddValue()
{
    CDlgNLARuleCondPartEditor editor(GetPageData(), m_type, nullptr);
    if (editor.DoModal(m_hWnd) != IDOK || !editor.Result()) return;
    m_values->Append(editor.Result().Get());
    const int line = m_list.InsertItem(m_list.GetItemCount(), L"");
    ShowValue(line, editor.Result().Get());
    UpdateControls();
}

void CDlgNLARuleConditionEditor::EditValue()
{
    const int line = SelectedLine();
    if (line < 0 || static_cast<std::size_t>(line) >= m_values->GetSize()) return;
    CDlgNLARuleCondPartEditor editor(GetPageData(), m_type, m_values->ItemAt(static_cast<std::size_t>(line)));
    if (editor.DoModal(m_hWnd) != IDOK || !editor.Result()) return;
    m_values->SetAt(static_cast<std::size_t>(line), editor.Result().Get());
    ShowValue(line, editor.Result().Get());
}

void CDlgNLARuleConditionEditor::RemoveValue()
{
    const int line = SelectedLine();
    if (line < 0 || static_cast<std::size_t>(line) >= m_values->GetSize()) return;
    const std::size_t last = m_values->GetSize() - 1;
    for (std::size_t i = static_cast<std::size_t>(line); i < last; ++i) m_values->SetAt(i, m_values->ItemAt(i + 1));
    m_values->SetSize(last);
    m_list.DeleteItem(line);
    UpdateControls();
}

bool CDlgNLARuleConditionEditor::OnCommand(WORD id, WORD code, HWND)
{
    if (code != BN_CLICKED) return false;
    switch (id) {
    case kAdd: AddValue(); return true;
    case kEdit: EditValue(); return true;
    case kRemove: RemoveValue(); return true;
    default: return false;
    }
}

bool CDlgNLARuleConditionEditor::OnNotify(NMHDR* header, LRESULT* result)
{
    if (!header || header->idFrom != static_cast<std::uintptr_t>(kValues)) return false;
    if (header->code == LVN_ITEMCHANGED) UpdateControls();
    else if (header->code == NM_DBLCLK) EditValue();
    else return false;
    if (result) *result = 0;
    return true;
}

void CDlgNLARuleConditionEditor::OnOK()
{
    if (m_values->GetSize() == 0) {
        ShowPluginMessage(m_hWnd, kNoValues, MB_ICONERROR);
        return;
    }
    // "matches none" keeps the non-zero number it was stored with
    const bool none = IsDlgButtonChecked(kMatchesNone) == BST_CHECKED;
    const std::int32_t op = none ? (m_storedOperator != 0 ? m_storedOperator : 1) : 0;
    if (m_condition.SetInt(nla::kOperatorKey, op, false) != NHPP::kOk) {
        ShowPluginMessage(m_hWnd, pageres::kSettingsNotChanged, MB_ICONERROR);
        return;
    }
    CNHPDialog::OnOK();
}

// ---- the subnet condition ---------------------------------------------------

CDlgNLARuleConditionEditorIpSubnets::CDlgNLARuleConditionEditorIpSubnets(std::shared_ptr<NHPP::CNHPPageData> pageData,
                                                                         NHPP::CParams& condition, bool isNew)
    : CDlgNLARuleConditionEditor(std::move(pageData), nla::ConditionTypes()[0], condition, isNew)
{
}

void CDlgNLARuleConditionEditorIpSubnets::InsertColumns()
{
    int column = 0;
    for (UINT title : kSubnetColumns) m_list.InsertColumn(column++, ui::LoadStringW(title), kSubnetColumnWidth);
}

void CDlgNLARuleConditionEditorIpSubnets::ShowValue(int line, const ZRPAR::Value* value)
{
    const ZRPAR::Params* subnet = nla::AsParams(value);
    const auto address = static_cast<std::uint32_t>(IntOf(subnet, nla::kSubnetAddressKey));
    const auto mask = static_cast<std::uint32_t>(IntOf(subnet, nla::kSubnetMaskKey));
    std::wstring name, description;
    // the administration server's own name and description of the subnet, when it knows one
    auto server = ZRPlugin::GetDataSourceItem<ZRPlugin::IIpRangePicker>(
        GetPageData() ? GetPageData()->GetDataSource() : nullptr, L"SELECT_IPDIAPASON");
    ZRSTD::CAutoPtr<ZRPAR::Params> known;
    if (subnet && server && server->FindSubnet(nla::ReverseBytes(address), nla::ReverseBytes(mask), &known) && known) {
        name = nla::StringOf(known.Get(), L"wstrSubnetName");
        description = ZRSTD::ReplaceAll(nla::StringOf(known.Get(), L"wstrComment"), L"\r\n", L" ");
    }
    m_list.SetItemText(line, 0, name);
    m_list.SetItemText(line, 1, subnet ? textformat::FormatStoredIpv4(address) : L"");
    m_list.SetItemText(line, 2, subnet ? textformat::FormatStoredIpv4(mask) : L"");
    m_list.SetItemText(line, 3, description);
}

// ---- one value --------------------------------------------------------------

ui::DialogTemplate CDlgNLARuleCondPartEditor::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.caption = L"Значение";
    dialog.style = WS_POPUP;
    dialog.rect = {0, 0, 360, 200};
    dialog.controls = {
        {kAddressLabel, L"Static", L"", kVisible, {10, 10, 350, 26}},
        {kAddress, L"SysIPAddress32", L"", kVisible | WS_TABSTOP, {10, 30, 200, 50}},
        {kChooseSubnet, L"Button", L"", kVisible | WS_TABSTOP, {210, 28, 300, 52}},
        {kMaskLabel, L"Static", L"", kVisible, {10, 60, 350, 76}},
        {kMask, L"SysIPAddress32", L"", kVisible | WS_TABSTOP, {10, 80, 200, 100}},
        {kTextLabel, L"Static", L"", kVisible, {10, 10, 350, 26}},
        {kText, L"Edit", L"", kVisible | WS_TABSTOP | ES_AUTOHSCROLL, {10, 30, 350, 50}},
        {kCertificateLabel, L"Static", L"", kVisible, {10, 60, 350, 76}},
        {kCertificate, L"Edit", L"", kVisible | ES_READONLY, {10, 80, 250, 100}},
        {kChooseCertificate, L"Button", L"", kVisible | WS_TABSTOP, {260, 78, 350, 102}},
        {IDOK, L"Button", L"", kVisible | WS_TABSTOP | BS_DEFPUSHBUTTON, {190, 165, 265, 189}},
        {IDCANCEL, L"Button", L"", kVisible | WS_TABSTOP, {275, 165, 350, 189}},
    };
    return dialog;
}

CDlgNLARuleCondPartEditor::CDlgNLARuleCondPartEditor(std::shared_ptr<NHPP::CNHPPageData> pageData,
                                                     const nla::ConditionType& type, const ZRPAR::Value* value)
    : CNHPDialog(kTemplate, std::move(pageData)), m_type(type), m_value(const_cast<ZRPAR::Value*>(value))
{
}

bool CDlgNLARuleCondPartEditor::OnInitDialog()
{
    CNHPDialog::OnInitDialog();
    SetWindowText(ui::LoadStringW(m_value ? kEditValueCaption : kAddValueCaption));
    SetControlTexts({{kChooseSubnet, kChooseText}, {kChooseCertificate, kChooseText}, {IDOK, kOkText}, {IDCANCEL, kCancelText}});

    using F = nla::ValueForm;
    std::vector<int> shown;
    switch (m_type.form) {
    case F::Subnet: {
        shown = {kAddressLabel, kAddress, kMaskLabel, kMask, kChooseSubnet};
        SetControlTexts({{kAddressLabel, kSubnetAddressText}, {kMaskLabel, kSubnetMaskText}});
        if (const ZRPAR::Params* subnet = nla::AsParams(m_value.Get())) {
            SetAddress(kAddress, nla::ReverseBytes(static_cast<std::uint32_t>(IntOf(subnet, nla::kSubnetAddressKey))));
            SetAddress(kMask, nla::ReverseBytes(static_cast<std::uint32_t>(IntOf(subnet, nla::kSubnetMaskKey))));
        }
        break;
    }
    case F::Address:
        shown = {kAddressLabel, kAddress};
        SetControlTexts({{kAddressLabel, m_type.valueLabel}});
        if (m_value && m_value->GetType() == ZRPAR::VT_INT)
            SetAddress(kAddress, nla::ReverseBytes(
                                     static_cast<std::uint32_t>(static_cast<ZRPAR::IntValue*>(m_value.Get())->GetValue())));
        break;
    case F::Text:
        shown = {kTextLabel, kText};
        SetControlTexts({{kTextLabel, m_type.valueLabel}});
        SetDlgItemText(kText, nla::ValueText(m_type, m_value.Get()));
        break;
    case F::Ssl: {
        shown = {kTextLabel, kText, kCertificateLabel, kCertificate, kChooseCertificate};
        SetControlTexts({{kTextLabel, m_type.valueLabel}, {kCertificateLabel, kCertificateText}});
        const ZRPAR::Params* ssl = nla::AsParams(m_value.Get());
        SetDlgItemText(kText, nla::StringOf(ssl, nla::kSslLocationKey));
        const ZRPAR::Value* certificate = ssl ? ssl->FindValue(nla::kSslCertificateKey) : nullptr;
        const bool set = certificate && certificate->GetType() == ZRPAR::VT_BINARY &&
                         static_cast<const ZRPAR::BinaryValue*>(certificate)->GetDataSize() > 0;
        SetDlgItemText(kCertificate, ui::LoadStringW(set ? kCertificateSet : kCertificateNotSet));
        break;
    }
    case F::YesNo: break;
    }
    for (int id : {kAddressLabel, kAddress, kMaskLabel, kMask, kChooseSubnet, kTextLabel, kText, kCertificateLabel,
                   kCertificate, kChooseCertificate})
        ::ShowWindow(GetDlgItem(id), std::find(shown.begin(), shown.end(), id) != shown.end() ? SW_SHOW : SW_HIDE);
    return true;
}

void CDlgNLARuleCondPartEditor::SetAddress(int control, std::uint32_t hostForm)
{
    ::SendMessageW(GetDlgItem(control), IPM_SETADDRESS, 0, static_cast<LPARAM>(hostForm));
}

std::uint32_t CDlgNLARuleCondPartEditor::AddressOf(int control) const
{
    DWORD address = 0;
    ::SendMessageW(GetDlgItem(control), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    return address;
}

bool CDlgNLARuleCondPartEditor::OnCommand(WORD id, WORD code, HWND)
{
    if (code != BN_CLICKED) return false;
    if (id == kChooseSubnet) ChooseSubnet();
    else if (id == kChooseCertificate) ChooseCertificate();
    else return false;
    return true;
}

void CDlgNLARuleCondPartEditor::ChooseSubnet()
{
    auto picker = ZRPlugin::GetDataSourceItem<ZRPlugin::IIpRangePicker>(
        GetPageData() ? GetPageData()->GetDataSource() : nullptr, L"SELECT_IPDIAPASON");
    ZRSTD::CAutoPtr<ZRPAR::Params> range;
    if (!picker || !picker->SelectIpRange(m_hWnd, &range) || !range) return;
    SetAddress(kAddress, static_cast<std::uint32_t>(IntOf(range.Get(), L"nIpAddress")));
    SetAddress(kMask, static_cast<std::uint32_t>(IntOf(range.Get(), L"nMask")));
}

void CDlgNLARuleCondPartEditor::ChooseCertificate()
{
    const std::wstring path =
        ui::PickOpenFile(m_hWnd, ui::LoadStringW(kCertificatePickerTitle), ui::LoadStringW(kCertificateFilter), L"cer");
    if (path.empty()) return;
    auto bytes = ReadCertificateFile(path);
    if (!bytes) return;  // nothing chosen: what the value had stays
    m_chosenCertificate = std::move(bytes);
    SetDlgItemText(kCertificate, ui::LoadStringW(kCertificateSet));
}

ZRSTD::CAutoPtr<ZRPAR::Params> CDlgNLARuleCondPartEditor::EditedContainer() const
{
    const ZRPAR::Params* edited = nla::AsParams(m_value.Get());
    return edited ? edited->Clone() : ZRPAR::CreateParams();
}

bool CDlgNLARuleCondPartEditor::AcceptSubnet()
{
    const std::uint32_t address = AddressOf(kAddress), mask = AddressOf(kMask);
    if (const UINT problem = nla::SubnetProblem(address, mask)) {
        ShowPluginMessage(m_hWnd, problem, MB_ICONERROR);
        ::SetFocus(GetDlgItem(address == 0 ? kAddress : kMask));
        return false;
    }
    auto subnet = EditedContainer();
    subnet->ReplaceValue(nla::kSubnetAddressKey,
                         ZRPAR::CreateValue(static_cast<std::int32_t>(nla::ReverseBytes(address))).Get());
    subnet->ReplaceValue(nla::kSubnetMaskKey, ZRPAR::CreateValue(static_cast<std::int32_t>(nla::ReverseBytes(mask))).Get());
    m_result = ZRPAR::CreateValue(subnet.Get());
    return true;
}

bool CDlgNLARuleCondPartEditor::AcceptText()
{
    const std::wstring text = ZRSTD::Trim(GetDlgItemText(kText));
    if (text.empty()) {
        ShowPluginMessage(m_hWnd, kNoDomainName, MB_ICONERROR);
        ::SetFocus(GetDlgItem(kText));
        return false;
    }
    m_result = ZRPAR::CreateValue(text);
    return true;
}

bool CDlgNLARuleCondPartEditor::AcceptSsl()
{
    const std::wstring location = ZRSTD::Trim(GetDlgItemText(kText));
    if (location.empty()) {
        ShowPluginMessage(m_hWnd, kBadNetworkAddress, MB_ICONERROR);
        ::SetFocus(GetDlgItem(kText));
        return false;
    }
    auto ssl = EditedContainer();
    ssl->ReplaceValue(nla::kSslLocationKey, ZRPAR::CreateValue(location).Get());
    if (m_chosenCertificate) {
        // without a newly chosen certificate the stored one stays as it is
        std::string pem;
        try {
            pem = ZRCERTUTIL::ConvertAnyX509ToPEM(m_chosenCertificate->data(), m_chosenCertificate->size());
        } catch (const ZRERR::Error& error) {
            ZRERR::SayFailure2(error, "CDlgNLARuleCondPartEditor::OnOK", 3);
        }
        if (pem.empty()) {
            ShowPluginMessage(m_hWnd, kNoCertificate, MB_ICONERROR);
            return false;
        }
        ssl->ReplaceValue(nla::kSslCertificateKey, ZRPAR::CreateValue(ZRPAR::binary_wrapper_t{pem.data(), pem.size()}).Get());
    }
    m_result = ZRPAR::CreateValue(ssl.Get());
    return true;
}

void CDlgNLARuleCondPartEditor::OnOK()
{
    bool accepted = false;
    switch (m_type.form) {
    case nla::ValueForm::Subnet: accepted = AcceptSubnet(); break;
    case nla::ValueForm::Text: accepted = AcceptText(); break;
    case nla::ValueForm::Ssl: accepted = AcceptSsl(); break;
    case nla::ValueForm::Address:
        // any address is taken, 0.0.0.0 too
        m_result = ZRPAR::CreateValue(static_cast<std::int32_t>(nla::ReverseBytes(AddressOf(kAddress))));
        accepted = true;
        break;
    case nla::ValueForm::YesNo: break;
    }
    if (accepted) CNHPDialog::OnOK();
}

// ---- the yes/no condition ---------------------------------------------------

ui::DialogTemplate CDlgNLARuleSimpleConditionEditor::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.style = WS_POPUP;
    dialog.rect = {0, 0, 320, 100};
    dialog.controls = {
        {kValue, L"Button", L"", kVisible | WS_TABSTOP | BS_AUTOCHECKBOX, {10, 15, 310, 31}},
        {IDOK, L"Button", L"", kVisible | WS_TABSTOP | BS_DEFPUSHBUTTON, {150, 65, 225, 89}},
        {IDCANCEL, L"Button", L"", kVisible | WS_TABSTOP, {235, 65, 310, 89}},
    };
    return dialog;
}

CDlgNLARuleSimpleConditionEditor::CDlgNLARuleSimpleConditionEditor(std::shared_ptr<NHPP::CNHPPageData> pageData,
                                                                   const nla::ConditionType& type,
                                                                   NHPP::CParams& condition, bool isNew)
    : CNHPDialog(kTemplate, std::move(pageData)), m_type(type), m_condition(condition), m_new(isNew)
{
}

bool CDlgNLARuleSimpleConditionEditor::OnInitDialog()
{
    CNHPDialog::OnInitDialog();
    SetWindowText(ui::LoadStringW(m_new ? m_type.addCaption : m_type.editCaption));
    SetControlTexts({{kValue, m_type.valueLabel}, {IDOK, kOkText}, {IDCANCEL, kCancelText}});
    CheckDlgButton(kValue, m_condition.GetBoolOrDefault(nla::kValuesKey, false, nullptr) ? BST_CHECKED : BST_UNCHECKED);
    return true;
}

void CDlgNLARuleSimpleConditionEditor::OnOK()
{
    const bool written = m_condition.SetBool(nla::kValuesKey, IsDlgButtonChecked(kValue) == BST_CHECKED, false) == NHPP::kOk &&
                         m_condition.SetInt(nla::kOperatorKey, std::int32_t{0}, false) == NHPP::kOk;
    if (!written) {
        ShowPluginMessage(m_hWnd, pageres::kSettingsNotChanged, MB_ICONERROR);
        return;
    }
    CNHPDialog::OnOK();
}
