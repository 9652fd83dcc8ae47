#pragma once

// A task's page opened as the console opens it: the task's parameters, the
// console's group tasks, and what a test reads back from the parameters.
#include "support/PageFixture.h"
#include "ui/Registry.h"
#include "zrpar/Packed.h"
#include "zrplugin/GroupTaskControl.h"

namespace testsupport {

// The console's group tasks as a test sets them; failing, it raises the console's error.
class FakeGroupTasks : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IGroupTaskControl> {
public:
    struct Task {
        const wchar_t* name;
        const wchar_t* storageId;
        const wchar_t* product;
        const wchar_t* version;
        const wchar_t* type;
        bool invisible = false;
    };
    void GetGroupTasks(ZRPAR::ArrayValue** ppTasks) override
    {
        if (failing) ZRERR_throwLocalizedError("ZRTSK", 5, L"the server did not answer");
        auto list = ZRPAR::CreateArrayValue();
        for (const Task& task : tasks)
            list->Append(ZRPAR::CreateValue(ZRPAR::CreateParamsBody({{ZRPlugin::kGroupTaskDisplayName, task.name},
                                                                     {ZRPlugin::kGroupTaskStorageId, task.storageId},
                                                                     {ZRPlugin::kGroupTaskId, std::wstring(L"id") + task.storageId},
                                                                     {ZRPlugin::kGroupTaskProductName, task.product},
                                                                     {ZRPlugin::kGroupTaskProductVersion, task.version},
                                                                     {ZRPlugin::kGroupTaskTypeName, task.type},
                                                                     {ZRPlugin::kGroupTaskInvisible, task.invisible}})
                                                .Get())
                             .Get());
        *ppTasks = list.Detach();
    }
    std::vector<Task> tasks;
    bool failing = false;
};

class TaskPageTest : public PageTest {
protected:
    void TearDown() override
    {
        PageTest::TearDown();
        ui::ResetRegistry();
    }
    std::shared_ptr<NHPP::CNHPPageData> TaskData()
    {
        auto data = std::make_shared<NHPP::CNHPPageData>(&source, NHPP::kObjectTask, taskType);
        data->RegisterSection(L"", NHPP::kSectionTask, true);
        return data;
    }
    // The task's parameters as bytes: for proving that nothing changed.
    std::vector<std::uint8_t> Bytes() { return ZRPAR::SerializePacked(params); }

    ZRPAR::Params& params = source.WithTask();
    FakeGroupTasks* groupTasks = source.Set(L"ZRTSK::GroupTaskControl", ZRSTD::MakeRef<FakeGroupTasks>());
    std::wstring taskType;
};

}  // namespace testsupport
