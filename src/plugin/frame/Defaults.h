#pragma once

#include <string>

#include "nhpp/PageData.h"

// The settings a new policy, task or installer package starts with, written
// through the providers of the configurator's page data. Failures raise the
// maker's errors: 1182 (a container missing), 1187 (an installer package
// without its settings), 1196 (a written section could not be applied).
namespace frame {

void InitDefaults(std::int32_t objectKind, const std::wstring& taskType, NHPP::CNHPPageData& pageData,
                  NHPP::SectionProviderFactory& factory);

}  // namespace frame
