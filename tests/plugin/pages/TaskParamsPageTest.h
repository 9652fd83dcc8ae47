#pragma once

// A task's page opened as the console opens it: the task's own parameters
// ("TASK_PARAMS"), read and written in place through the task provider, with
// the locks of the policy's entry for the task type.
#include <string>

#include "nhpp/PageData.h"
#include "support/PageFixture.h"
#include "support/PolicyBuilder.h"
#include "zrpar/Render.h"
#include "zrstd/Strings.h"

namespace testsupport {

// The console node the task is opened under, with one property.
class NodeWithProperty : public ZRSTD::ZRBaseQIImpl<ZRPlugin::INodeProperties> {
public:
    NodeWithProperty(std::int32_t id, std::int32_t value) : m_id(id), m_value(value) {}
    bool GetNodeProperty(std::int32_t id, std::int32_t& value) override
    {
        if (id != m_id) return false;
        value = m_value;
        return true;
    }

private:
    std::int32_t m_id, m_value;
};

class TaskParamsPageTest : public PageTest {
protected:
    std::shared_ptr<NHPP::CNHPPageData> TaskData(const wchar_t* taskType)
    {
        auto data = std::make_shared<NHPP::CNHPPageData>(&source, NHPP::kObjectTask, taskType);
        data->RegisterSection(L"ZRPRSS_TASKS_POLICY", NHPP::kSectionTask, true);
        return data;
    }
    // The task holds exactly these values.
    void StoreTask(std::initializer_list<ZRPAR::ParamsBodyEntry> values)
    {
        auto stored = ZRPAR::CreateParamsBody(values);
        for (std::size_t i = 0; i < stored->GetSize(); ++i) task.ReplaceValue(stored->NameAt(i), stored->ValueAt(i));
    }
    // The governing policy enforces (or only proposes) these keys of the task type.
    void Govern(const wchar_t* taskType, std::initializer_list<const wchar_t*> keys, bool enforced = true)
    {
        auto entry = ZRPAR::CreateParams();
        for (const wchar_t* key : keys) entry->AddValue(key, ZRPAR::CreateValue(Setting(0, enforced).Get()).Get());
        policy.Replace(L"1103", L"1.0.0.0", L"ZRPRSS_TASKS_POLICY", Section({{taskType, Setting(entry, false)}}).Get());
    }
    // Every stored byte of the task, readably (secrets shown).
    std::string Everything() { return ZRPAR::RenderText(task, ZRPAR::RenderOptions{false}); }
    ZRPAR::Value* Saved(const wchar_t* key) { return task.FindValue(key); }
    std::wstring SavedString(const wchar_t* key)
    {
        auto* value = Saved(key);
        return value && value->GetType() == ZRPAR::VT_STRING ? static_cast<ZRPAR::StringValue*>(value)->GetValue()
                                                             : L"(none)";
    }
    std::int32_t SavedInt(const wchar_t* key)
    {
        auto* value = Saved(key);
        return value && value->GetType() == ZRPAR::VT_INT ? static_cast<ZRPAR::IntValue*>(value)->GetValue() : -1;
    }
    std::optional<bool> SavedBool(const wchar_t* key)
    {
        auto* value = Saved(key);
        if (!value || value->GetType() != ZRPAR::VT_BOOL) return std::nullopt;
        return static_cast<ZRPAR::BoolValue*>(value)->GetValue();
    }
    host::PageHost::Outcome PressOk() { return Sheet().PressOk().outcome; }

    ZRPAR::Params& task = source.WithTask();
};

}  // namespace testsupport
