#include "host/storage/ThreeWayMerge.h"

#include <gtest/gtest.h>

#include "zrpar/Render.h"
#include "zrstd/Strings.h"

using ZRPAR::CreateParamsBody;
using ZRSTD::CAutoPtr;

namespace {

// A setting in the policy form: its lock and its value.
CAutoPtr<ZRPAR::Params> Setting(ZRPAR::Value* value, bool locked)
{
    auto setting = CreateParamsBody({{L"ZRPRSS_Mnd", locked}});
    setting->AddValue(L"ZRPRSS_Val", value);
    return setting;
}
CAutoPtr<ZRPAR::Params> Setting(std::int32_t value, bool locked = true)
{
    return Setting(ZRPAR::CreateValue(value).Get(), locked);
}
CAutoPtr<ZRPAR::Params> Ports(std::initializer_list<std::int32_t> ports, bool locked = true)
{
    auto array = ZRPAR::CreateArrayValue();
    for (std::int32_t port : ports) array->Append(ZRPAR::CreateValue(port).Get());
    return Setting(array.Get(), locked);
}

// A section of the network settings in the policy form.
CAutoPtr<ZRPAR::Params> Network(CAutoPtr<ZRPAR::Params> ssl, CAutoPtr<ZRPAR::Params> period,
                                CAutoPtr<ZRPAR::Params> ports)
{
    auto values = ZRPAR::CreateParams();
    if (ssl) values->AddValue(L"UseSsl", ZRPAR::CreateValue(ssl.Get()).Get());
    if (period) values->AddValue(L"ServerPingTimeout", ZRPAR::CreateValue(period.Get()).Get());
    if (ports) values->AddValue(L"Nagentports", ZRPAR::CreateValue(ports.Get()).Get());
    auto section = ZRPAR::CreateParams();
    section->AddValue(L"ZRPRSS_Val", ZRPAR::CreateValue(values.Get()).Get());
    return section;
}

std::string Text(const CAutoPtr<ZRPAR::Params>& params) { return params ? ZRPAR::RenderText(*params) : "(none)"; }

}  // namespace

TEST(ThreeWayMerge, EditsOfDifferentSettingsMergeAndEditsOfTheSameOneConflict)
{
    const auto base = Network(Setting(1), Setting(900), Ports({15000}));
    const auto withoutPorts = Network(Setting(1), Setting(900), nullptr);
    const struct {
        const char* what;
        CAutoPtr<ZRPAR::Params> base, theirs, ours, merged;
        std::vector<std::wstring> conflicts;
    } cases[] = {
        {"disjoint edits", base, Network(Setting(0), Setting(900), Ports({15000})),
         Network(Setting(1), Setting(30), Ports({15000})), Network(Setting(0), Setting(30), Ports({15000})), {}},
        {"the same edit on both sides", base, Network(Setting(1), Setting(30, false), Ports({15000})),
         Network(Setting(1), Setting(30, false), Ports({15000})), Network(Setting(1), Setting(30, false), Ports({15000})),
         {}},
        {"a value changed differently", base, Network(Setting(1), Setting(30), Ports({15000})),
         Network(Setting(0), Setting(45), Ports({15000})), nullptr, {L"ServerPingTimeout"}},
        {"a lock changed on one side, the value on the other", base,
         Network(Setting(1), Setting(900, false), Ports({15000})), Network(Setting(1), Setting(30), Ports({15000})),
         Network(Setting(1), Setting(30, false), Ports({15000})), {}},
        {"a setting added with different locks", withoutPorts, Network(Setting(1), Setting(900), Ports({15000}, false)),
         Network(Setting(1), Setting(900), Ports({15000}, true)), nullptr, {L"Nagentports (lock)"}},
        {"a deletion on their side", base, Network(nullptr, Setting(900), Ports({15000})),
         Network(Setting(1), Setting(30), Ports({15000})), Network(nullptr, Setting(30), Ports({15000})), {}},
        {"a deletion on our side", base, Network(Setting(1), Setting(30), Ports({15000})),
         Network(nullptr, Setting(900), Ports({15000})), Network(nullptr, Setting(30), Ports({15000})), {}},
        {"a deletion against a change", base, Network(Setting(0), Setting(900), Ports({15000})),
         Network(nullptr, Setting(900), Ports({15000})), nullptr, {L"UseSsl"}},
        {"arrays compare whole", base, Network(Setting(1), Setting(900), Ports({15001})),
         Network(Setting(1), Setting(900), Ports({15000, 15002})), nullptr, {L"Nagentports"}},
        {"an array changed on one side", base, Network(Setting(1), Setting(900), Ports({15000})),
         Network(Setting(1), Setting(900), Ports({15000, 15002})), Network(Setting(1), Setting(900), Ports({15000, 15002})),
         {}},
    };
    for (const auto& c : cases) {
        const host::MergeResult result = host::MergeSections(*c.base, *c.theirs, *c.ours);
        std::vector<std::wstring> conflicts;
        for (const auto& path : result.conflicts) conflicts.push_back(host::DescribeSettingPath(path));
        EXPECT_EQ(conflicts, c.conflicts) << c.what;
        EXPECT_EQ(Text(result.merged), Text(c.merged)) << c.what;
    }
}

TEST(ThreeWayMerge, NestedContainersMergeNameByNameAndNewNamesFollowTheirsOrder)
{
    using ZRPAR::CreateParams;
    auto nested = [](std::initializer_list<ZRPAR::ParamsBodyEntry> entries) { return CreateParamsBody(entries); };
    const struct {
        const char* what;
        CAutoPtr<ZRPAR::Params> base, theirs, ours, merged;
    } cases[] = {
        {"edits two levels down", CreateParamsBody({{L"a", nested({{L"b", nested({{L"x", 1}, {L"y", 1}})}})}}),
         CreateParamsBody({{L"a", nested({{L"b", nested({{L"x", 2}, {L"y", 1}})}})}}),
         CreateParamsBody({{L"a", nested({{L"b", nested({{L"x", 1}, {L"y", 3}})}})}}),
         CreateParamsBody({{L"a", nested({{L"b", nested({{L"x", 2}, {L"y", 3}})}})}})},
        {"a container both sides added", CreateParams(), CreateParamsBody({{L"n", nested({{L"t", 1}})}}),
         CreateParamsBody({{L"n", nested({{L"o", 1}})}}), CreateParamsBody({{L"n", nested({{L"t", 1}, {L"o", 1}})}})},
        {"new names", CreateParamsBody({{L"k", 1}}), CreateParamsBody({{L"t1", 1}, {L"k", 1}, {L"t2", 1}}),
         CreateParamsBody({{L"o1", 1}, {L"k", 2}, {L"o2", 1}}),
         CreateParamsBody({{L"t1", 1}, {L"k", 2}, {L"t2", 1}, {L"o1", 1}, {L"o2", 1}})},
    };
    for (const auto& c : cases) {
        const host::MergeResult result = host::MergeSections(*c.base, *c.theirs, *c.ours);
        EXPECT_TRUE(result.conflicts.empty()) << c.what;
        EXPECT_EQ(Text(result.merged), Text(c.merged)) << c.what;
    }

    // the result is a copy: editing it leaves ours as it was
    const auto ours = CreateParamsBody({{L"a", nested({{L"x", 1}})}});
    const auto result = host::MergeSections(*CreateParams(), *CreateParams(), *ours);
    ZRPAR::GetParamsValue(result.merged.Get(), L"a")->ReplaceValue(L"x", ZRPAR::CreateValue(9).Get());
    EXPECT_EQ(ZRPAR::GetIntValue(ZRPAR::GetParamsValue(ours.Get(), L"a").Get(), L"x"), 1);
}

TEST(ThreeWayMerge, PathsAreShownWithoutThePolicyFormsHops)
{
    const struct {
        host::SettingPath path;
        const wchar_t* shown;
    } cases[] = {
        {{L"ZRPRSS_Val", L"Nagentports", L"ZRPRSS_Val"}, L"Nagentports"},
        {{L"ZRPRSS_Val", L"Nagentports", L"ZRPRSS_Mnd"}, L"Nagentports (lock)"},
        {{L"ZRPRSS_Val", L"Proxy", L"ZRPRSS_Val", L"Port", L"ZRPRSS_Val"}, L"Proxy/Port"},
        {{L"plain", L"nested"}, L"plain/nested"},
        {{L"ZRPRSS_Mnd"}, L"ZRPRSS_Mnd"},
    };
    for (const auto& c : cases) EXPECT_EQ(host::DescribeSettingPath(c.path), c.shown);
}
