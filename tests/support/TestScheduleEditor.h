#pragma once

#include <cstdint>
#include <vector>

#include "ui/Win32.h"
#include "zrpar/Params.h"
#include "zrplugin/DataSource.h"
#include "zrstd/ZRBaseQI.h"

namespace testsupport {

// The console's schedule editor as a test answers it: it records what it was
// opened on and, when accepting, returns the schedule with a mark of its own.
class TestScheduleEditor : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IScheduleEditor> {
public:
    bool EditSchedule(HWND, ZRPAR::Params* schedule, std::uint32_t options, ZRPAR::Params** ppEdited) override
    {
        opened.push_back(schedule ? schedule->Clone() : nullptr);
        lastOptions = options;
        *ppEdited = nullptr;
        if (!accept) return false;
        auto edited = schedule ? schedule->Clone() : ZRPAR::CreateParams();
        edited->ReplaceValue(L"EditedByTest", ZRPAR::CreateValue(true).Get());
        *ppEdited = edited.Detach();
        return true;
    }
    bool accept = true;
    std::uint32_t lastOptions = 0;
    std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>> opened;
};

}  // namespace testsupport
