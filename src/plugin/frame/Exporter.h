#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "nhpp/PageData.h"
#include "zrplugin/SettingsExporter.h"
#include "zrstd/ZRBaseQI.h"

// Settings as a readable tree: one titled container per page, filled by the
// export routine of the page's class.
class CExporter : public ZRSTD::ZRBaseQIImpl<ZRPlugin::ISettingsExporter> {
public:
    void ExportSettings(std::int32_t objectKind, ZRPlugin::IDataSource* dataSource, const wchar_t* taskType,
                        ZRPAR::Params* pResult, std::int32_t reserved) override;
};

namespace frame {

// A page's export: its containers in order (most pages give one, some two).
using ExportRoutine = std::function<std::vector<ZRSTD::CAutoPtr<ZRPAR::Params>>(NHPP::CNHPPageData& pageData)>;
// The export routine of a page class, or null when this build has none.
const ExportRoutine* FindExportRoutine(std::wstring_view className);

// The title of a string id as exports show it: no "&", no trailing blanks,
// and no final ":" when at least two characters remain.
std::wstring NormalizeTitle(const std::wstring& text);

// Stores a page's container in the result under its title; a second
// container under a title that is there already is merged into the first, so
// that neither page's settings are lost (two pages export under "Сеть").
void StoreTitled(ZRPAR::Params& result, const std::wstring& title, ZRPAR::Params* page);

// One setting as a page's export shows it: a container under the setting's
// label (a string id, titled as above) holding the value's text under the
// same label and the lock's text under the lock's name.
void AddSettingNode(ZRPAR::Params& page, UINT labelId, ZRPAR::Value* value, bool mandatory);
void AddSettingNode(ZRPAR::Params& page, UINT labelId, const std::wstring& valueText, bool mandatory);
// A boolean as exports show it: "Да" or "Нет".
std::wstring YesNoText(bool value);

// The page classes whose routines an export of this kind and task type runs
// and this build lacks (the titles they would have filled stay out).
std::vector<std::wstring> MissingExportRoutines(std::int32_t objectKind, const std::wstring& taskType);

}  // namespace frame
