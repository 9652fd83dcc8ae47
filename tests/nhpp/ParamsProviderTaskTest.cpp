#include "nhpp/ParamsProviderTask.h"

#include <gtest/gtest.h>

#include "support/PolicyBuilder.h"
#include "support/StorageDoubles.h"

using namespace NHPP;
using ZRSTD::CAutoPtr;
using testsupport::FailingStorage;
using testsupport::Section;
using testsupport::Setting;

namespace {

CAutoPtr<CParamsProviderTask> TaskOver(ZRPAR::Params* taskParams, ZRPlugin::SettingsStorage* policy,
                                       const wchar_t* taskKey = L"ZRNAG_TASK_SHOW_MSG")
{
    auto task = ZRSTD::MakeRef<CParamsProviderTask>();
    EXPECT_EQ(task->Init(taskParams, policy, taskKey, L"1103", L"1.0.0.0", L"ZRPRSS_TASKS_POLICY"), kOk);
    return task;
}

}  // namespace

TEST(TaskProvider, WritesLandInTheConsolesOwnContainerAtOnce)
{
    auto consoleParams = ZRPAR::CreateParams();
    auto task = TaskOver(consoleParams.Get(), nullptr);
    EXPECT_EQ(task->GetProviderType(), kTaskProvider);
    task->SetString(L"Message", std::wstring(L"Привет"), true);
    EXPECT_EQ(ZRPAR::GetStringValue(consoleParams, L"Message"), L"Привет");
    EXPECT_EQ(task->Apply(false, nullptr), kFalse);
    EXPECT_EQ(task->Update(nullptr), kFalse);
    EXPECT_EQ(task->Reload(), kFalse);
}

TEST(TaskProvider, LocksComeFromThePolicysEntryForTheTaskType)
{
    FailingStorage policy;
    policy.Inner().Replace(L"1103", L"1.0.0.0", L"ZRPRSS_TASKS_POLICY",
                           Section({{L"ZRNAG_TASK_SHOW_MSG", Section({{L"Message", Setting(L"x", true)}})}}));
    auto consoleParams = ZRPAR::CreateParamsBody({{L"Message", L"hello"}, {L"Other", 1}});

    PolicyLockInfo lock;
    std::wstring text;
    auto governed = TaskOver(consoleParams.Get(), &policy);
    EXPECT_EQ(governed->GetString(L"Message", text, &lock), kOk);
    EXPECT_EQ(text, L"hello");  // the task's own value
    EXPECT_TRUE(lock.locked);
    EXPECT_FALSE(governed->GetIntOrDefault(L"Other", 0, &lock) == 0);
    EXPECT_FALSE(lock.locked);

    auto otherType = TaskOver(consoleParams.Get(), &policy, L"DoUpdate");
    EXPECT_EQ(otherType->GetString(L"Message", text, &lock), kOk);
    EXPECT_FALSE(lock.locked);
    auto noPolicy = TaskOver(consoleParams.Get(), nullptr);
    EXPECT_EQ(noPolicy->GetString(L"Message", text, &lock), kOk);
    EXPECT_FALSE(lock.locked);

    CAutoPtr<CParams> copy;
    governed->Duplicate(&copy);
    EXPECT_EQ(static_cast<CParamsProviderTask*>(copy.Get())->TaskKey(), L"ZRNAG_TASK_SHOW_MSG");
}

TEST(TaskProvider, InitRefusesMissingArgumentsAndChangesNothing)
{
    auto task = ZRSTD::MakeRef<CParamsProviderTask>();
    EXPECT_EQ(task->Init(nullptr, nullptr, L"t", L"1103", L"1.0.0.0", L"s"), kInvalidArg);
    EXPECT_EQ(task->Init(ZRPAR::CreateParams(), nullptr, nullptr, L"1103", L"1.0.0.0", L"s"), kInvalidArg);
    CAutoPtr<ZRPAR::Params> root;
    task->GetRoot(&root);
    EXPECT_FALSE(root);
}

TEST(TaskProvider, ABareProviderStartsEmptyAndAcceptsWrites)
{
    CAutoPtr<CParams> bare;
    ASSERT_EQ(CreateParams(&bare), kOk);
    EXPECT_EQ(bare->SetInt(L"a\rb", 1, false), kOk);
    PolicyLockInfo lock;
    std::int32_t value = 0;
    EXPECT_EQ(bare->GetInt(L"a\rb", value, &lock), kOk);
    EXPECT_EQ(value, 1);
    EXPECT_FALSE(lock.locked);
    EXPECT_EQ(CreateParams(nullptr), kInvalidArg);
}
