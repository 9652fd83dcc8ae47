#include "ui/Locale.h"

#include <array>
#include <string_view>

namespace {

struct LocaleNames {
    std::wstring_view name;
    std::array<std::wstring_view, 7> days, abbreviatedDays;  // Monday first
};

constexpr LocaleNames kLocales[] = {
    {L"ru-RU",
     {L"понедельник", L"вторник", L"среда", L"четверг", L"пятница", L"суббота", L"воскресенье"},
     {L"Пн", L"Вт", L"Ср", L"Чт", L"Пт", L"Сб", L"Вс"}},
    {L"en-US",
     {L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday", L"Sunday"},
     {L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat", L"Sun"}},
};

const LocaleNames* g_userLocale = &kLocales[0];

}  // namespace

std::wstring GetLocaleInfoW(LCID locale, LCTYPE type)
{
    if (locale != LOCALE_USER_DEFAULT) return {};
    if (type >= LOCALE_SDAYNAME1 && type < LOCALE_SDAYNAME1 + 7)
        return std::wstring(g_userLocale->days[type - LOCALE_SDAYNAME1]);
    if (type >= LOCALE_SABBREVDAYNAME1 && type < LOCALE_SABBREVDAYNAME1 + 7)
        return std::wstring(g_userLocale->abbreviatedDays[type - LOCALE_SABBREVDAYNAME1]);
    return {};
}

namespace ui {

bool SetUserLocale(const std::wstring& name)
{
    for (const auto& locale : kLocales) {
        if (locale.name != name) continue;
        g_userLocale = &locale;
        return true;
    }
    return false;
}

std::wstring GetUserLocale() { return std::wstring(g_userLocale->name); }

}  // namespace ui
