#include "plugin/frame/Localizer.h"

#include <optional>

#include "controls/PluginEnvironment.h"
#include "controls/TextFormats.h"
#include "ui/Resources.h"
#include "zrstd/Format.h"


namespace {

enum class Rendering { AsIs, Size };

struct StatisticRow {
    const wchar_t* key;
    UINT nameId;
    Rendering rendering;
};

// The display name of a string id; a name the tables lack (ids only the
// resource module holds) falls back to the key so that no two values meet
// under an empty name.
std::wstring DisplayName(UINT id, const wchar_t* key)
{
    std::wstring name = ui::LoadStringW(id);
    return name.empty() ? std::wstring(key) : name;
}

std::optional<std::uint64_t> ByteCount(const ZRPAR::Value& value)
{
    switch (value.GetType()) {
    case ZRPAR::VT_INT: {
        const auto count = static_cast<const ZRPAR::IntValue&>(value).GetValue();
        return count < 0 ? std::nullopt : std::optional<std::uint64_t>(static_cast<std::uint64_t>(count));
    }
    case ZRPAR::VT_LONG: {
        const auto count = static_cast<const ZRPAR::LongValue&>(value).GetValue();
        return count < 0 ? std::nullopt : std::optional<std::uint64_t>(static_cast<std::uint64_t>(count));
    }
    default: return std::nullopt;
    }
}

// Copies one statistic under its display name; sizes become text, a size
// that is not a count is copied as it is.
void CopyItem(ZRPAR::Params* parResult, const ZRPAR::Params& source, const StatisticRow& row)
{
    ZRSTD_CHECK_ARG(parResult);
    const wchar_t* pwchItemName = row.key;
    ZRSTD_CHECK_ARG(pwchItemName);
    ZRPAR::Value* value = source.FindValue(row.key);
    if (!value) return;
    const std::wstring name = DisplayName(row.nameId, row.key);
    if (row.rendering == Rendering::Size)
        if (auto bytes = ByteCount(*value)) {
            parResult->ReplaceValue(name, ZRPAR::CreateValue(textformat::FormatByteCount(*bytes)).Get());
            return;
        }
    parResult->ReplaceValue(name, value);
}

void CopyItems(ZRPAR::Params* target, const ZRPAR::Params& source, std::initializer_list<StatisticRow> rows)
{
    for (const auto& row : rows) CopyItem(target, source, row);
}

// A nested statistics group, or null when absent; another type there is the
// maker's error 1042 (module "ZRPAR").
ZRPAR::Params* Group(const ZRPAR::Params& source, const wchar_t* key)
{
    ZRPAR::Value* value = source.FindValue(key);
    if (!value) return nullptr;
    if (value->GetType() != ZRPAR::VT_PARAMS)
        ZRERR_throwError("ZRPAR", 1042, L"the statistics value \"%s\" is not a container", key);
    return static_cast<ZRPAR::ParamsValue*>(value)->GetValue();
}

void StoreGroup(ZRPAR::Params* target, UINT nameId, const wchar_t* key, const ZRSTD::CAutoPtr<ZRPAR::Params>& group)
{
    target->ReplaceValue(DisplayName(nameId, key), ZRPAR::CreateValue(group.Get()).Get());
}

std::wstring StringOf(const ZRPAR::Params& params, const wchar_t* key)
{
    ZRPAR::Value* value = params.FindValue(key);
    return value && value->GetType() == ZRPAR::VT_STRING ? static_cast<ZRPAR::StringValue*>(value)->GetValue()
                                                          : std::wstring();
}

void LocalizePackages(ZRPAR::Params* target, const ZRPAR::Params& distributionPoint)
{
    ZRPAR::Value* value = distributionPoint.FindValue(L"ZRNAG_ST_UA_PACKAGES");
    if (!value || value->GetType() != ZRPAR::VT_ARRAY) return;
    const auto& packages = *static_cast<ZRPAR::ArrayValue*>(value);
    auto texts = ZRPAR::CreateArrayValue();
    for (std::size_t i = 0; i < packages.GetSize(); ++i) {
        auto item = packages.GetAt(i);
        if (!item || item->GetType() != ZRPAR::VT_PARAMS) continue;
        const ZRPAR::Params& package = *static_cast<ZRPAR::ParamsValue*>(item.Get())->GetValue();
        texts->Append(ZRPAR::CreateValue(ZRSTD::FormatW(L"%s ( %s : %s )", StringOf(package, L"ZRNAG_ST_UA_PACKAGE_NAME"),
                                                         StringOf(package, L"ZRNAG_ST_UA_PACKAGE_DISPLAY_PRODUCT"),
                                                         StringOf(package, L"ZRNAG_ST_UA_PACKAGE_DISPLAY_VERSION")))
                          .Get());
    }
    target->ReplaceValue(DisplayName(7002, L"ZRNAG_ST_UA_PACKAGES"), texts.Get());
}

}  // namespace

void CZRLocalizerImpl::LocalizeInstanceInfo(ZRPAR::Params* pSrcParams, ZRPAR::Params* pTrgParams)
{
    PluginStateScope scope;
    ZRSTD_CHECK_ARG(pSrcParams);
    ZRSTD_CHECK_ARG(pTrgParams);
    ZRPAR::Value* info = pSrcParams->FindValue(L"zrhst-rt-InstInfo");
    if (!info || info->GetType() != ZRPAR::VT_PARAMS) return;
    ZRPAR::Value* array = static_cast<ZRPAR::ParamsValue*>(info)->GetValue()->FindValue(L"zrhst-rt-InstInfoArray");
    if (!array || array->GetType() != ZRPAR::VT_ARRAY) return;
    const auto& instances = *static_cast<ZRPAR::ArrayValue*>(array);
    for (std::size_t i = 0; i < instances.GetSize(); ++i) {
        auto item = instances.GetAt(i);
        if (!item || item->GetType() != ZRPAR::VT_PARAMS) continue;
        const ZRPAR::Params& instance = *static_cast<ZRPAR::ParamsValue*>(item.Get())->GetValue();
        const std::wstring component = StringOf(instance, L"zrhst-ComponentName");
        ZRPAR::Value* statistics = instance.FindValue(L"instStatistics");
        if (component.empty() || !statistics || statistics->GetType() != ZRPAR::VT_PARAMS) continue;
        auto localized = ZRPAR::CreateParams();
        LocalizeStatistics(static_cast<ZRPAR::ParamsValue*>(statistics)->GetValue(), localized.Get());
        pTrgParams->ReplaceValue(component, ZRPAR::CreateValue(localized.Get()).Get());
    }
}

void CZRNGTLocalizer::LocalizeStatistics(ZRPAR::Params* pSrc, ZRPAR::Params* pTrg)
{
    PluginStateScope scope;
    ZRSTD_CHECK_ARG(pSrc);
    ZRSTD_CHECK_ARG(pTrg);
    CopyItems(pTrg, *pSrc,
              {{L"ZRNAG_ST_PING_ATTEMPTS_CNT", 550, Rendering::AsIs},
               {L"ZRNAG_ST_PING_ATTEMPTS_SUC_CNT", 551, Rendering::AsIs},
               {L"ZRNAG_ST_SYNC_ATTEMPTS_CNT", 552, Rendering::AsIs},
               {L"ZRNAG_ST_SYNC_ATTEMPTS_SUC_CNT", 553, Rendering::AsIs},
               {L"ZRNAG_ST_LAST_PING_ATTEMPT", 554, Rendering::AsIs}});

    ZRPAR::Params* distributionPoint = Group(*pSrc, L"ZRNAG_ST_UA_STATISTICS");
    if (!distributionPoint) return;
    CopyItems(pTrg, *distributionPoint,
              {{L"ZRNAG_ST_UA_CREATE_TIME", 2033, Rendering::AsIs},
               {L"ZRNAG_ST_UA_WORKING_FOLDER", 7000, Rendering::AsIs},
               {L"ZRNAG_ST_UA_FILES_TOTAL_SIZE", 7001, Rendering::Size}});

    if (ZRPAR::Params* remote = Group(*distributionPoint, L"ZRNAG_ST_UA_REMOTE_INSTALL")) {
        auto group = ZRPAR::CreateParams();
        CopyItems(group.Get(), *remote,
                  {{L"ZRNAG_ST_UA_SIZE_OF_FILES", 2035, Rendering::Size},
                   {L"ZRNAG_ST_UA_SUCCEDED_UPLOADS_SIZE", 2037, Rendering::Size},
                   {L"ZRNAG_ST_UA_MULITICAST_SENT_SIZE", 2040, Rendering::Size},
                   {L"ZRNAG_ST_UA_MULITICAST_PERCENT_USAGE", 2070, Rendering::AsIs}});
        StoreGroup(pTrg, 2069, L"ZRNAG_ST_UA_REMOTE_INSTALL", group);
    }
    CopyItems(pTrg, *distributionPoint,
              {{L"ZRNAG_ST_UA_NUMBER_OF_FILE", 2034, Rendering::AsIs},
               {L"ZRNAG_ST_UA_SUCCEDED_UPLOADS", 2036, Rendering::AsIs},
               {L"ZRNAG_ST_UA_SIZE_OF_FILES", 2035, Rendering::Size},
               {L"ZRNAG_ST_UA_TCP_UPLOADED_SIZE", 2038, Rendering::Size},
               {L"ZRNAG_ST_UA_MULITICAST_UPLOADED_SIZE", 2039, Rendering::Size}});
    if (ZRPAR::Params* folderSync = Group(*distributionPoint, L"ZRNAG_ST_UA_FOLDER_SYNC")) {
        auto group = ZRPAR::CreateParams();
        CopyItems(group.Get(), *folderSync,
                  {{L"ZRNAG_ST_UA_FOLDER_SYNC_LAST_SERVER_SYNC_TIME", 2041, Rendering::AsIs},
                   {L"ZRNAG_ST_UA_FOLDER_SYNC_SERVER_SYNC_COUNT", 2042, Rendering::AsIs},
                   {L"ZRNAG_ST_UA_FOLDER_SYNC_MULTICAST_SENT_COUNT", 2043, Rendering::AsIs},
                   {L"ZRNAG_ST_UA_FOLDER_SYNC_TCP_UPLOADED_COUNT", 2045, Rendering::AsIs},
                   {L"ZRNAG_ST_UA_FOLDER_SYNC_MULTICAST_SENT_SIZE", 2044, Rendering::Size},
                   {L"ZRNAG_ST_UA_FOLDER_SYNC_TCP_UPLOADED_SIZE", 2046, Rendering::Size},
                   {L"ZRNAG_ST_UA_FOLDER_SYNC_MULITICAST_PERCENT_USAGE", 2070, Rendering::AsIs}});
        StoreGroup(pTrg, 2047, L"ZRNAG_ST_UA_FOLDER_SYNC", group);
    }
    if (ZRPAR::Params* cloudProxy = Group(*distributionPoint, L"ZRNAG_ST_UA_VTN_STATISTICS")) {
        auto group = ZRPAR::CreateParams();
        CopyItems(group.Get(), *cloudProxy,
                  {{L"VTNPROXY_ST_RECEIVED_PACKETS_COUNT", 5895, Rendering::AsIs},
                   {L"VTNPROXY_ST_PROCESSED_BY_CACHE", 5896, Rendering::AsIs},
                   {L"VTNPROXY_ST_CURRENT_RECORDS_COUNT", 5897, Rendering::AsIs}});
        StoreGroup(pTrg, 5894, L"ZRNAG_ST_UA_VTN_STATISTICS", group);
    }
    LocalizePackages(pTrg, *distributionPoint);
}
