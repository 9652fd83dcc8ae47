#pragma once

#include "nhpp/CParams.h"
#include "ui/Win32.h"
#include "zrstd/Error.h"

// The end of a page's apply. When one of its writes failed the page shows
// "Ошибка изменения настроек" and nothing is committed; otherwise the provider
// applies, and a failure to commit is reported in the same words.
// why, when given, is the reason a write failed; it is shown after the words.
bool CommitPageSettings(HWND page, NHPP::CParams& provider, bool written, const ZRERR::Error* why = nullptr);
// "Ошибка изменения настроек" with the reason, when there is one.
void ShowSettingsNotChanged(HWND owner, const ZRERR::Error* why);
