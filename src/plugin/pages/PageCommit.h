#pragma once

#include "nhpp/CParams.h"
#include "plugin/pages/PageResources.h"
#include "ui/Win32.h"

// The end of a page's apply. When one of its writes failed the page shows
// "Ошибка изменения настроек" (or the page's own text) and nothing is
// committed; otherwise the provider applies, and a failure to commit is
// reported in the same words.
bool CommitPageSettings(HWND page, NHPP::CParams& provider, bool written,
                        UINT failureText = pageres::kSettingsNotChanged);
