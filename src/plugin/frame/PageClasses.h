#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "controls/NHPPropertyPageBase.h"

// The page classes this build has, by name, each with what the factory sets
// on a new page of that class.
namespace frame {

// A new page (reference count 1) over the configurator's page data, for its template.
using PageCreator = std::function<CNHPPropertyPageBase*(std::shared_ptr<NHPP::CNHPPageData> pageData, UINT dialogId)>;

// The creator of a class, or null when this build has no page of that class.
const PageCreator* FindPageCreator(std::wstring_view className);

}  // namespace frame
