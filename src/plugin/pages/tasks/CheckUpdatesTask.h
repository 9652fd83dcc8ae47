#pragma once

#include "ui/Win32.h"

// The settings of the check updates task ("ZRNAG_TASK_CHECK_BASES"), which
// its settings page and its wizard pages share.
namespace checkupdates {

// the chosen tasks: arrays of containers, one per task
inline constexpr const wchar_t* kUpdateTasksKey = L"ZRNAG_TASK_CHECK_BASES_UPDATE_TASKS";
inline constexpr const wchar_t* kScanTasksKey = L"ZRNAG_TASK_CHECK_BASES_SCAN_TASKS";
// what identifies a chosen task
inline constexpr const wchar_t* kItemProductName = L"ZRNAG_PRODUCT_NAME";
inline constexpr const wchar_t* kItemProductVersion = L"ZRNAG_PRODUCT_VERSION";
inline constexpr const wchar_t* kItemStorageId = L"ZRNAG_TASK_CHECK_BASES_TASKSTORAGE_ID";
inline constexpr const wchar_t* kItemTaskId = L"ZRNAG_TASK_CHECK_BASES_TASK_ID";
// what the agent does after the updates (both true when missing)
inline constexpr const wchar_t* kNeedRestartKey = L"ZRNAG_TASK_CHECK_BASES_NEED_RESTART";
inline constexpr const wchar_t* kCheckRdpKey = L"ZRNAG_TASK_CHECK_BASES_CHECK_RDP_STATE";
inline constexpr bool kNeedRestartDefault = true, kCheckRdpDefault = true;

inline constexpr UINT kTaskNameColumnText = 2150, kProductColumnText = 2151;
inline constexpr UINT kScanPromptText = 2155, kUpdatePromptText = 2156;
inline constexpr UINT kOneUpdateTaskPerProduct = 2157, kNoUpdateTask = 2158;
inline constexpr UINT kRestartText = 2159, kCheckRdpText = 2160;

// A selector tells its parent that its choice changed.
inline constexpr UINT kSelectionChanged = WM_USER + 104;

}  // namespace checkupdates
