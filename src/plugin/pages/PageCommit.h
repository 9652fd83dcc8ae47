#pragma once

#include "nhpp/CParams.h"
#include "plugin/pages/PageResources.h"
#include "ui/Win32.h"
#include "zrstd/Error.h"

// The end of a page's apply. When one of its writes failed the page shows
// its failure text ("Ошибка изменения настроек" unless the page has its own)
// and nothing is committed; otherwise the provider applies, and a failure to
// commit is reported in the same words. why, when given, is the reason a
// write failed; it is shown after the words.
bool CommitPageSettings(HWND page, NHPP::CParams& provider, bool written, UINT failureText,
                        const ZRERR::Error* why = nullptr);
bool CommitPageSettings(HWND page, NHPP::CParams& provider, bool written, const ZRERR::Error* why = nullptr);
// The failure text with the reason, when there is one.
void ShowSettingsNotChanged(HWND owner, const ZRERR::Error* why, UINT failureText = pageres::kSettingsNotChanged);
