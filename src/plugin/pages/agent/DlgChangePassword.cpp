#include "plugin/pages/agent/DlgChangePassword.h"

#include "nhpp/PageData.h"
#include "plugin/frame/ErrorMessage.h"
#include "zrplugin/DataSource.h"
#include "zrstd/Crypto.h"

namespace {
constexpr UINT kSettingsNotChanged = 2030;
constexpr UINT kCaption = 88, kPasswordLabelText = 89, kShowPasswordText = 5843, kRulesText = 7007;
}  // namespace

std::vector<std::uint8_t> PasswordBytes(const std::wstring& password)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(password.size() * 2);
    for (wchar_t c : password) {
        // characters beyond the basic plane become their UTF-16 surrogate pair
        const auto code = static_cast<std::uint32_t>(c);
        auto push = [&](std::uint16_t unit) {
            bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
        };
        if (code > 0xFFFF) {
            const std::uint32_t offset = code - 0x10000;
            push(static_cast<std::uint16_t>(0xD800 + (offset >> 10)));
            push(static_cast<std::uint16_t>(0xDC00 + (offset & 0x3FF)));
        } else {
            push(static_cast<std::uint16_t>(code));
        }
    }
    return bytes;
}

std::wstring HashUninstallPassword(const std::wstring& password)
{
    const std::vector<std::uint8_t> bytes = PasswordBytes(password);
    const ZRSTD::Md5Digest digest = ZRSTD::CalcMD5Hash(bytes.data(), bytes.size());
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring text;
    for (std::uint8_t byte : digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

ui::DialogTemplate CDlgChangePassword::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.style = WS_POPUP;
    dialog.rect = {0, 0, 340, 200};
    dialog.controls = {
        {kPasswordLabel, L"Static", L"", WS_CHILD | WS_VISIBLE, {10, 12, 90, 28}},
        {kPassword, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL, {95, 10, 290, 30}},
        {kShowPassword, L"Button", L"", WS_CHILD | WS_TABSTOP, {295, 10, 330, 30}},
        {kRules, L"Static", L"", WS_CHILD | WS_VISIBLE, {10, 40, 330, 120}},
        {IDOK, L"Button", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, {170, 160, 245, 184}},
        {IDCANCEL, L"Button", L"Отмена", WS_CHILD | WS_VISIBLE | WS_TABSTOP, {255, 160, 330, 184}},
    };
    return dialog;
}

CDlgChangePassword::CDlgChangePassword(std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPDialog(kTemplate, std::move(pageData))
{
}

bool CDlgChangePassword::OnInitDialog()
{
    CNHPDialog::OnInitDialog();
    SetWindowText(ui::LoadStringW(kCaption));
    SetDlgItemText(kPasswordLabel, ui::LoadStringW(kPasswordLabelText));
    SetDlgItemText(kRules, ui::LoadStringW(kRulesText));
    SetDlgItemText(kShowPassword, ui::LoadStringW(kShowPasswordText));
    m_password.SubclassDlgItem(kPassword, m_hWnd);
    m_showPassword.SubclassDlgItem(kShowPassword, m_hWnd);
    m_showPassword.SetEdit(kPassword);
    m_password.SetButton(kShowPassword);
    m_password.ShowPlaceholder();
    m_edited = false;
    return true;
}

bool CDlgChangePassword::OnCommand(WORD id, WORD code, HWND)
{
    if (id == kPassword && code == EN_CHANGE) m_edited = true;
    return false;
}

void CDlgChangePassword::OnOK()
{
    m_changed = false;
    if (m_edited) {
        const std::wstring text = m_password.GetWindowText();
        if (text != m_password.GetPlaceholder()) {
            if (!text.empty()) {
                // the server's password policy decides first; a refusal keeps the dialog open
                auto server = GetPageData()
                                  ? ZRPlugin::GetDataSourceItem<ZRPlugin::IAdmServer>(GetPageData()->GetDataSource(),
                                                                                    L"ZRADMSRV::AdmServer")
                                  : nullptr;
                try {
                    ZRADMSRV::CheckPasswordSplPpc(server.Get(), text.c_str());
                } catch (const ZRERR::Error& refusal) {
                    // the administrator reads why and tries another password
                    const std::wstring why = ZRERR_IsErrorLocalized(refusal) ? ZRERR_LocFormatErrorString(refusal)
                                                                              : ui::LoadStringW(kSettingsNotChanged);
                    ShowMessage(m_hWnd, 0, why, MB_ICONERROR, 1);
                    return;
                }
                m_result = HashUninstallPassword(text);
            } else {
                m_result.clear();
            }
            m_changed = true;
        }
    }
    CNHPDialog::OnOK();
}
