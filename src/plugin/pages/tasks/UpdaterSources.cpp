#include "plugin/pages/tasks/UpdaterSources.h"

#include <algorithm>

#include "ui/Resources.h"
#include "zrpar/UpdateSource.h"

namespace updater {

namespace {

// strings
constexpr UINT kAdminServerText = 2210, kVendorServiceText = 2209, kNoProxySuffix = 2211, kUnreadableText = 9505;

const ZRPAR::Params* AsSource(const ZRPAR::Value* value)
{
    return value && value->GetType() == ZRPAR::VT_PARAMS ? static_cast<const ZRPAR::ParamsValue*>(value)->GetValue()
                                                         : nullptr;
}

bool ReadBool(NHPP::CParams& task, const wchar_t* key)
{
    return task.GetBoolOrDefault(key, false, nullptr);
}

}  // namespace

std::int32_t KindOf(const ZRPAR::Value* source)
{
    const ZRPAR::Params* params = AsSource(source);
    if (!params) return kUnreadableKind;
    const ZRPAR::Value* kind = params->FindValue(kTypeKey);
    if (!kind) return kVendorUpdateService;
    // a kind of another type is shown as unreadable rather than raised: the row stays as stored
    return kind->GetType() == ZRPAR::VT_INT ? static_cast<const ZRPAR::IntValue*>(kind)->GetValue() : kUnreadableKind;
}

bool UsesProxy(const ZRPAR::Value* source)
{
    const ZRPAR::Params* params = AsSource(source);
    const ZRPAR::Value* use = params ? params->FindValue(kUseProxyKey) : nullptr;
    return use && use->GetType() == ZRPAR::VT_BOOL ? static_cast<const ZRPAR::BoolValue*>(use)->GetValue() : true;
}

std::wstring UrlOf(const ZRPAR::Value* source)
{
    const ZRPAR::Params* params = AsSource(source);
    const ZRPAR::Value* url = params ? params->FindValue(kUrlKey) : nullptr;
    return url && url->GetType() == ZRPAR::VT_STRING ? static_cast<const ZRPAR::StringValue*>(url)->GetValue()
                                                     : std::wstring();
}

ZRSTD::CAutoPtr<ZRPAR::Value> MakeSource(std::int32_t kind, bool useProxy, const std::wstring& url)
{
    return ZRPAR::CreateValue(ZRUPDSRV_CreateUpdSource(kind, useProxy, url.c_str()).Get());
}

std::wstring SourceText(const ZRPAR::Value* source)
{
    const std::int32_t kind = KindOf(source);
    std::wstring text;
    switch (kind) {
    case kAdminServer:
    case kMasterServer: text = ui::LoadStringW(kAdminServerText); break;
    case kVendorUpdateService: text = ui::LoadStringW(kVendorServiceText); break;
    case kFolderOrUrl: text = UrlOf(source); break;
    default: return ui::LoadStringW(kUnreadableText);
    }
    if (!UsesProxy(source) && kind != kServerSourceKind) text += ui::LoadStringW(kNoProxySuffix);
    return text;
}

int SourceImage(const ZRPAR::Value* source) { return KindOf(source); }

bool HasKind(const Sources& sources, std::int32_t kind)
{
    return std::any_of(sources.begin(), sources.end(), [kind](const auto& source) { return KindOf(source.Get()) == kind; });
}

Sources CopySources(const Sources& sources)
{
    Sources copies;
    for (const auto& source : sources) copies.push_back(source ? source->CloneValue() : nullptr);
    return copies;
}

ZRSTD::CAutoPtr<ZRPAR::ArrayValue> SourceArray(const Sources& sources)
{
    auto array = ZRPAR::CreateArrayValue(sources.size());
    for (std::size_t i = 0; i < sources.size(); ++i) array->SetAt(i, sources[i].Get());
    return array;
}

Sources LegacySources(NHPP::CParams& task)
{
    std::wstring folder;
    task.GetStringOrDefault(folder, L"update_srv_url", L"", nullptr);
    const bool internet = ReadBool(task, L"inet_update");
    const bool master = ReadBool(task, L"master_asrv_update");
    const bool tryInternet = ReadBool(task, L"try_inet");
    if (master) return {MakeSource(kMasterServer, false, L"")};
    if (internet) return {MakeSource(kVendorUpdateService, true, L"")};
    Sources sources{MakeSource(kFolderOrUrl, true, folder)};
    if (tryInternet) sources.push_back(MakeSource(kVendorUpdateService, true, L""));
    return sources;
}

}  // namespace updater
