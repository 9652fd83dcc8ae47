#include "plugin/pages/nac/PageNacSettingsView.h"

#include <optional>

#include "nhpp/PageData.h"
#include "nhpp/PolicyPath.h"
#include "ui/CommonControls.h"
#include "zrpar/Render.h"
#include "zrstd/Format.h"

namespace {

constexpr UINT kNameColumn = 9004, kValueColumn = 9005, kNoteText = 9006, kLockColumn = 9007, kEmptySection = 9008;
constexpr UINT kYes = 2573, kNo = 2574;
constexpr const wchar_t* kHiddenSecret = L"***********";

struct Row {
    std::wstring name;
    std::wstring value;
    std::wstring lock;
};

// A policy pair {"ZRPRSS_Mnd", "ZRPRSS_Val"}: its value and lock; other values stand for themselves.
ZRPAR::Value* Unwrap(ZRPAR::Value* value, std::optional<bool>& mandatory)
{
    if (!value || value->GetType() != ZRPAR::VT_PARAMS) return value;
    ZRPAR::Params* pair = static_cast<ZRPAR::ParamsValue*>(value)->GetValue();
    ZRPAR::Value* inner = pair->FindValue(NHPP::kValue);
    ZRPAR::Value* flag = pair->FindValue(NHPP::kMandatory);
    if (!inner || !flag || flag->GetType() != ZRPAR::VT_BOOL) return value;
    mandatory = static_cast<ZRPAR::BoolValue*>(flag)->GetValue();
    return inner;
}

std::wstring ScalarText(const std::wstring& name, const ZRPAR::Value& value)
{
    if (ZRPAR::IsSecretName(name)) return kHiddenSecret;
    switch (value.GetType()) {
    case ZRPAR::VT_STRING: return static_cast<const ZRPAR::StringValue&>(value).GetValue();
    case ZRPAR::VT_BOOL: return ui::LoadStringW(static_cast<const ZRPAR::BoolValue&>(value).GetValue() ? kYes : kNo);
    case ZRPAR::VT_INT: return std::to_wstring(static_cast<const ZRPAR::IntValue&>(value).GetValue());
    case ZRPAR::VT_LONG: return std::to_wstring(static_cast<const ZRPAR::LongValue&>(value).GetValue());
    case ZRPAR::VT_DATETIME:
        return ZRPAR::FormatDateTimeUtc(static_cast<const ZRPAR::DateTimeValue&>(value).GetValue());
    case ZRPAR::VT_BINARY:
        return ZRSTD::FormatW(L"<%zu bytes>", static_cast<const ZRPAR::BinaryValue&>(value).GetDataSize());
    default: return {};
    }
}

void AddRows(std::vector<Row>& rows, const std::wstring& name, ZRPAR::Value* stored, int depth);

void AddContainerRows(std::vector<Row>& rows, const ZRPAR::Params& params, int depth)
{
    for (std::size_t i = 0; i < params.GetSize(); ++i) AddRows(rows, params.NameAt(i), params.ValueAt(i), depth);
}

void AddRows(std::vector<Row>& rows, const std::wstring& name, ZRPAR::Value* stored, int depth)
{
    if (depth > 64) return;  // deeper data is not shown; the page only reads
    std::optional<bool> mandatory;
    ZRPAR::Value* value = Unwrap(stored, mandatory);
    Row row{std::wstring(static_cast<std::size_t>(depth) * 4, L' ') + name, L"",
            mandatory ? ui::LoadStringW(*mandatory ? kYes : kNo) : L""};
    if (!value) {
        rows.push_back(std::move(row));
        return;
    }
    switch (value->GetType()) {
    case ZRPAR::VT_PARAMS:
        rows.push_back(std::move(row));
        AddContainerRows(rows, *static_cast<ZRPAR::ParamsValue*>(value)->GetValue(), depth + 1);
        break;
    case ZRPAR::VT_ARRAY: {
        const auto& array = *static_cast<ZRPAR::ArrayValue*>(value);
        row.value = ZRSTD::FormatW(L"[%zu]", array.GetSize());
        rows.push_back(std::move(row));
        for (std::size_t i = 0; i < array.GetSize(); ++i)
            AddRows(rows, ZRSTD::FormatW(L"[%zu]", i), array.GetAt(i).Get(), depth + 1);
        break;
    }
    default:
        row.value = ScalarText(name, *value);
        rows.push_back(std::move(row));
        break;
    }
}

void InsertRow(HWND list, int index, const Row& row)
{
    LVITEMW item;
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.text = row.name;
    ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    for (int column = 1; column <= 2; ++column) {
        LVITEMW text;
        text.iSubItem = column;
        text.text = column == 1 ? row.value : row.lock;
        ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text));
    }
}

}  // namespace

const std::vector<CPageNacSettingsView::PageKind>& CPageNacSettingsView::Kinds()
{
    static const std::vector<PageKind> kinds = {
        {10495, 2326, L"NAC_NET_OBJS"},   {10496, 2328, L"NAC_SRVC_ADDRS"}, {10497, 2330, L"NAC_WHITE_LIST"},
        {10498, 2331, L"NAC_RESTRICTIONS"}, {10507, 2385, L"NAC_SETTINGS"},  {10508, 2385, L"NAC_SETTINGS"},
        {10509, 51, L"NAC_CP_ACCOUNTS"},  {10510, 52, L"NAC_SETTINGS"},
    };
    return kinds;
}

std::vector<ui::DialogTemplate> CPageNacSettingsView::Templates()
{
    std::vector<ui::DialogTemplate> templates;
    for (const auto& kind : Kinds()) {
        ui::DialogTemplate dialog;
        dialog.id = kind.dialogId;
        dialog.rect = {0, 0, 420, 300};
        dialog.controls = {
            {kTitle, L"Static", L"", WS_CHILD | WS_VISIBLE, {10, 10, 410, 26}},
            {kSettingsList, L"SysListView32", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, {10, 30, 410, 250}},
            {kReadOnlyNote, L"Static", L"", WS_CHILD | WS_VISIBLE, {10, 256, 410, 290}},
        };
        templates.push_back(std::move(dialog));
    }
    return templates;
}

CPageNacSettingsView::CPageNacSettingsView(UINT dialogId, std::shared_ptr<NHPP::CNHPPageData> pageData)
    : CNHPPropertyPageBase(dialogId, std::move(pageData))
{
    for (const auto& kind : Kinds())
        if (kind.dialogId == (dialogId & 0xFFFF)) m_kind = &kind;
}

bool CPageNacSettingsView::OnInitDialog()
{
    CNHPPropertyPageBase::OnInitDialog();
    if (m_kind) SetDlgItemText(kTitle, ui::LoadStringW(m_kind->titleId));
    SetDlgItemText(kReadOnlyNote, ui::LoadStringW(kNoteText));
    const HWND list = GetDlgItem(kSettingsList);
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const UINT columns[] = {kNameColumn, kValueColumn, kLockColumn};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNW column;
        column.text = ui::LoadStringW(columns[i]);
        column.cx = i == 0 ? 200 : 100;
        ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    FillSettings();
    return true;
}

void CPageNacSettingsView::FillSettings()
{
    const HWND list = GetDlgItem(kSettingsList);
    std::vector<Row> rows;
    if (m_kind && GetPageData()) {
        try {
            auto provider = Provider(m_kind->section);
            ZRSTD::CAutoPtr<ZRPAR::Params> root;
            if (provider->GetRoot(&root) == NHPP::kOk && root) {
                // a policy section is itself one pair; its value holds the settings
                std::optional<bool> mandatory;
                ZRSTD::CAutoPtr<ZRPAR::Value> whole = ZRPAR::CreateValue(root.Get());
                ZRPAR::Value* content = Unwrap(whole.Get(), mandatory);
                if (content && content->GetType() == ZRPAR::VT_PARAMS)
                    AddContainerRows(rows, *static_cast<ZRPAR::ParamsValue*>(content)->GetValue(), 0);
            }
        } catch (const ZRERR::Error& error) {
            ZRERR::SayFailure2(error, "CPageNacSettingsView::FillSettings", 1);
        }
    }
    if (rows.empty()) rows.push_back({ui::LoadStringW(kEmptySection), L"", L""});
    for (std::size_t i = 0; i < rows.size(); ++i) InsertRow(list, static_cast<int>(i), rows[i]);
    if (m_initialSelection >= 0 && m_initialSelection < static_cast<int>(rows.size())) {
        LVITEMW state;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(m_initialSelection), reinterpret_cast<LPARAM>(&state));
    }
}
