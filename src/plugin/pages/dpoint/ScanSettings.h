#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "controls/RangeEdit.h"
#include "nhpp/CParams.h"
#include "ui/Win32.h"

// What the polling pages of a distribution point share: the sections, the
// polling periods edited in minutes, and settings read so that a stored
// value of another type is left as it is until the administrator changes
// what shows it.
namespace scan {

inline constexpr const wchar_t* kSection = L"ZRNAG_SECTION_NETSCAN";
inline constexpr const wchar_t* kRangesSection = L"ZRNAG_SECTION_DPNS";

inline constexpr std::int32_t kMsPerMinute = 60000;
// Periods are stored as 32-bit milliseconds: 35791 minutes is the most that fits.
inline constexpr std::int32_t kMinMinutes = 1, kMaxMinutes = INT32_MAX / kMsPerMinute;

struct StoredBool {
    bool value = false;
    bool unreadable = false;  // a value of another type is stored
};
struct StoredInt {
    std::int32_t value = 0;
    bool unreadable = false;
};
StoredBool ReadBool(NHPP::CParams& provider, const wchar_t* key, bool fallback, NHPP::PolicyLockInfo* lock);
StoredInt ReadInt(NHPP::CParams& provider, const wchar_t* key, std::int32_t fallback, NHPP::PolicyLockInfo* lock);

// A period edit in minutes with its spin, showing the stored milliseconds.
void SetupPeriod(HWND page, CRangeEdit& edit, int editId, int spinId, const StoredInt& stored);
// The milliseconds apply writes: the stored number while the edit is
// untouched, else the minutes typed; nothing when no period can be taken.
std::optional<std::int32_t> PeriodToWrite(const CRangeEdit& edit);

// A link's text without its "<a>" and "</a>" marks.
std::wstring LinkText(UINT stringId);

}  // namespace scan
