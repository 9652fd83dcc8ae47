#include "plugin/pages/agent/DlgConnectionManagerTimeInterval.h"

#include "ui/CommonControls.h"
#include "ui/Locale.h"
#include "ui/Resources.h"
#include "zrstd/Format.h"
#include "zrstd/Strings.h"

namespace {

constexpr UINT kCaption = 2315, kDaysText = 2323, kStartText = 2316, kDurationText = 2317, kOkText = 12,
               kCancelText = 13, kLineText = 2312, kNoDays = 2314;
constexpr std::int32_t kMinDuration = 1, kMaxDuration = 1440;

constexpr const wchar_t* kDaysKey = L"CMNG_DAYSMASK";
constexpr const wchar_t* kHourKey = L"CMNG_HOUR";
constexpr const wchar_t* kMinutesKey = L"CMNG_MINS";
constexpr const wchar_t* kDurationKey = L"CMNG_DURATION";

// the date the start time is shown on: only its time of day is kept
constexpr WORD kShownYear = 2010, kShownMonth = 5, kShownDay = 18;

bool IsClockTime(std::int32_t hour, std::int32_t minute)
{
    return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59;
}

std::int32_t IntOr(const ZRPAR::Params& element, const wchar_t* key, std::int32_t fallback)
{
    const ZRPAR::Value* value = element.FindValue(key);
    return value && value->GetType() == ZRPAR::VT_INT ? static_cast<const ZRPAR::IntValue*>(value)->GetValue()
                                                      : fallback;
}

// Sunday is the locale's seventh day, Monday its first.
std::wstring AbbreviatedDayName(int bit)
{
    return GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SABBREVDAYNAME1 + (bit == 0 ? 6 : bit - 1));
}

}  // namespace

ConnectionInterval ReadConnectionInterval(const ZRPAR::Value* element)
{
    ConnectionInterval interval;
    if (!element || element->GetType() != ZRPAR::VT_PARAMS) return interval;
    const ZRPAR::Params* params = static_cast<const ZRPAR::ParamsValue*>(element)->GetValue();
    if (!params) return interval;
    interval.daysMask = IntOr(*params, kDaysKey, interval.daysMask);
    interval.hour = IntOr(*params, kHourKey, interval.hour);
    interval.minute = IntOr(*params, kMinutesKey, interval.minute);
    interval.duration = IntOr(*params, kDurationKey, interval.duration);
    return interval;
}

std::wstring IntervalStartText(std::int32_t hour, std::int32_t minute)
{
    if (!IsClockTime(hour, minute)) return L"Invalid DateTime";
    return ZRSTD::FormatW(L"%02d:%02d", hour, minute);
}

std::wstring IntervalDaysText(std::int32_t daysMask)
{
    std::wstring days;
    for (int bit = 0; bit < 7; ++bit) {
        if (!(static_cast<std::uint32_t>(daysMask) & (1u << bit))) continue;
        if (!days.empty()) days += L", ";
        days += AbbreviatedDayName(bit);
    }
    return days;
}

std::wstring IntervalLine(const ConnectionInterval& interval)
{
    return ZRSTD::FormatInsert(ui::LoadStringW(kLineText),
                                 {IntervalStartText(interval.hour, interval.minute),
                                  ZRSTD::FormatW(L"%u", static_cast<std::uint32_t>(interval.duration)),
                                  IntervalDaysText(interval.daysMask)});
}

ui::DialogTemplate CDlgConnectionManagerTimeInterval::Template()
{
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.style = WS_POPUP;
    dialog.rect = {0, 0, 300, 260};
    const DWORD visible = WS_CHILD | WS_VISIBLE;
    dialog.controls = {
        {kDaysLabel, L"Static", L"", visible, {10, 10, 290, 26}},
        {kDays, L"SysListView32", L"", visible | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_NOCOLUMNHEADER,
         {10, 30, 290, 160}},
        {kStartLabel, L"Static", L"", visible, {10, 170, 150, 186}},
        {kStart, L"SysDateTimePick32", L"", visible | WS_TABSTOP | DTS_TIMEFORMAT, {155, 168, 290, 188}},
        {kDurationLabel, L"Static", L"", visible, {10, 196, 150, 212}},
        {kDuration, L"Edit", L"", visible | WS_TABSTOP | ES_NUMBER, {155, 194, 275, 214}},
        {kDurationSpin, L"msctls_updown32", L"", visible, {275, 194, 290, 214}},
        {IDOK, L"Button", L"", visible | WS_TABSTOP | BS_DEFPUSHBUTTON, {130, 228, 205, 252}},
        {IDCANCEL, L"Button", L"", visible | WS_TABSTOP, {215, 228, 290, 252}},
    };
    return dialog;
}

CDlgConnectionManagerTimeInterval::CDlgConnectionManagerTimeInterval(std::shared_ptr<NHPP::CNHPPageData> pageData,
                                                                     ZRPAR::Params& interval)
    : CNHPDialog(kTemplate, std::move(pageData)), m_interval(interval)
{
    SetHelpTopic(kHelpTopic);
}

bool CDlgConnectionManagerTimeInterval::OnInitDialog()
{
    CNHPDialog::OnInitDialog();
    SetWindowText(ui::LoadStringW(kCaption));
    SetControlTexts({{kDaysLabel, kDaysText},
                    {kStartLabel, kStartText},
                    {kDurationLabel, kDurationText},
                    {IDOK, kOkText},
                    {IDCANCEL, kCancelText}});

    const ZRSTD::CAutoPtr<ZRPAR::Value> element = ZRPAR::CreateValue(&m_interval);
    const ConnectionInterval interval = ReadConnectionInterval(element.Get());

    m_days.SubclassDlgItem(kDays, m_hWnd);
    m_days.SetSaveOnDestroy(false);
    m_days.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    m_days.InsertColumn(0, L"", 260);
    for (int item = 0; item < 7; ++item) {
        m_days.InsertItem(item, GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDAYNAME1 + item));
        m_days.SetCheck(item, (static_cast<std::uint32_t>(interval.daysMask) & (1u << DayBit(item))) != 0);
    }

    const SYSTEMTIME range[2] = {{2000, 1, 6, 1, 0, 0, 0, 0}, {2032, 1, 4, 1, 0, 0, 0, 0}};
    ::SendMessageW(GetDlgItem(kStart), DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
    // a stored time no clock shows opens at midnight
    const bool clock = IsClockTime(interval.hour, interval.minute);
    SYSTEMTIME start{kShownYear, kShownMonth, 2, kShownDay, static_cast<WORD>(clock ? interval.hour : 0),
                     static_cast<WORD>(clock ? interval.minute : 0), 0, 0};
    ::SendMessageW(GetDlgItem(kStart), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&start));

    m_duration.SubclassDlgItem(kDuration, m_hWnd);
    m_duration.SetRange(kMinDuration, kMaxDuration);
    m_duration.SetSpin(GetDlgItem(kDurationSpin));
    const bool inRange = interval.duration >= kMinDuration && interval.duration <= kMaxDuration;
    m_duration.SetValue(static_cast<std::uint32_t>(inRange ? interval.duration : ConnectionInterval::kDefaultDuration));
    return true;
}

void CDlgConnectionManagerTimeInterval::OnOK()
{
    std::int32_t mask = 0;
    for (int item = 0; item < 7; ++item)
        if (m_days.GetCheck(item)) mask |= 1 << DayBit(item);
    if (mask == 0) {
        ShowPluginMessage(m_hWnd, kNoDays, MB_ICONERROR);
        return;
    }
    SYSTEMTIME start;
    ::SendMessageW(GetDlgItem(kStart), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&start));
    const bool clock = IsClockTime(start.wHour, start.wMinute);
    m_interval.ReplaceValue(kDaysKey, ZRPAR::CreateValue(mask).Get());
    m_interval.ReplaceValue(kHourKey, ZRPAR::CreateValue(static_cast<std::int32_t>(clock ? start.wHour : -1)).Get());
    m_interval.ReplaceValue(kMinutesKey, ZRPAR::CreateValue(static_cast<std::int32_t>(clock ? start.wMinute : -1)).Get());
    m_interval.ReplaceValue(kDurationKey,
                            ZRPAR::CreateValue(static_cast<std::int32_t>(GetDlgItemInt(kDuration, nullptr, true))).Get());
    CNHPDialog::OnOK();
}
