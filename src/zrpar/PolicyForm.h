#pragma once

#include "zrpar/Params.h"

// Splits policy data in the policy form (every setting and section a value
// container {"ZRPRSS_Mnd", "ZRPRSS_Val", ...}) into two plain containers: the
// values the policy enforces (mandatory) and those it only proposes. Sections
// are followed into; a section is a value container whose "ZRPRSS_Val" holds
// only value containers, anything else is a setting, split by its own flag.
// An array whose items are item containers ({"ZRPRSS_Val": item, ...}, as a
// policy's array grows item by item) becomes the array of those items.
// A null policy gives two empty containers; data that is not in the policy
// form raises module "ZRPAR" kWrongType or "ZRSTD" kAbsent.
ZR_API void ZRPRSS_GetMandatoryAndDefault(const ZRPAR::Params* policy, ZRPAR::Params** ppMandatory,
                                          ZRPAR::Params** ppDefault);

// A product version "major.minor.build[.revision]" as one number that orders
// like the version: major << 16 | minor << 8 | build (minor and build up to
// 255 each). 0 for a text that is not such a version.
ZR_API std::uint32_t ZRPRSS_ConvertProductVersion(const wchar_t* version);
