#pragma once

#include <cstdint>
#include <string>

#include "nhpp/CParams.h"
#include "nhpp/PageData.h"
#include "ui/Win32.h"

// The schedule of one kind of network polling (IP ranges, Active Directory,
// the Windows network's quick or full poll). It is read when the
// administrator opens it, built from the polling period when none is stored,
// edited in the console's schedule editor, and written back only when it was
// edited or could be read: a stored value of another type stays untouched.
class CPollingSchedule {
public:
    // The option word the console's schedule editor is opened with.
    static constexpr std::uint32_t kEditorOptions = 0xa0402;

    CPollingSchedule(const wchar_t* scheduleKey, const wchar_t* periodKey, std::int32_t defaultPeriodMs)
        : m_scheduleKey(scheduleKey), m_periodKey(periodKey), m_defaultPeriodMs(defaultPeriodMs)
    {
    }

    // Opens the editor on the stored schedule or a new one; true when the
    // administrator pressed OK (the edited schedule is kept for Write).
    bool Edit(HWND owner, NHPP::CNHPPageData& pageData, NHPP::CParams& provider);
    // Writes the edited schedule, or the stored one again (under the current
    // lock); nothing when there is neither.
    NHPP::HResult Write(NHPP::CParams& provider, bool mandatory) const;

    // Drops an edit not yet written, as when the page reads its settings again.
    void Forget() { m_edited = nullptr; }
    bool IsEdited() const { return m_edited.Get() != nullptr; }
    const wchar_t* Key() const { return m_scheduleKey; }

    // A new schedule: every period (the stored one, or the default when it is
    // absent, of another type or not positive) from now.
    ZRSTD::CAutoPtr<ZRPAR::Params> BuildDefault(NHPP::CParams& provider) const;

private:
    const wchar_t* m_scheduleKey;
    const wchar_t* m_periodKey;
    std::int32_t m_defaultPeriodMs;
    ZRSTD::CAutoPtr<ZRPAR::Params> m_edited;
};
