#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "nhpp/CParams.h"
#include "zrpar/Params.h"

// The update task's sources: an ordered list of containers {"type",
// "use_proxy", "url"}. A source is kept as the value the task stored, so
// that one the page cannot read (bad stored data) goes back unchanged.
namespace updater {

enum SourceKind : std::int32_t {
    kUnreadableKind = 0,  // not a container, or its kind is no integer
    kAdminServer = 1,
    kVendorUpdateService = 2,
    kFolderOrUrl = 3,
    kMasterServer = 4,
};
// This plug-in's product is "1103", so its own administration server is kind 1.
inline constexpr std::int32_t kServerSourceKind = kAdminServer;

inline constexpr const wchar_t* kSourceListKey = L"UpdateSourceList";
inline constexpr const wchar_t* kTypeKey = L"type";
inline constexpr const wchar_t* kUseProxyKey = L"use_proxy";
inline constexpr const wchar_t* kUrlKey = L"url";

using Sources = std::vector<ZRSTD::CAutoPtr<ZRPAR::Value>>;

// The source's kind (2 when missing); kUnreadableKind for a value that is no
// source or whose kind is of another type.
std::int32_t KindOf(const ZRPAR::Value* source);
// Whether the source uses the proxy (true when missing or unreadable).
bool UsesProxy(const ZRPAR::Value* source);
std::wstring UrlOf(const ZRPAR::Value* source);
ZRSTD::CAutoPtr<ZRPAR::Value> MakeSource(std::int32_t kind, bool useProxy, const std::wstring& url);

// The text of a source's list row: the kind's name (a folder's address),
// followed by " (Не использовать прокси-сервер)" when it does without the proxy.
std::wstring SourceText(const ZRPAR::Value* source);
// The image of a source's list row (the kind).
int SourceImage(const ZRPAR::Value* source);

bool HasKind(const Sources& sources, std::int32_t kind);
// Deep copies: a dialog edits these, and a cancel leaves the page's list alone.
Sources CopySources(const Sources& sources);
ZRSTD::CAutoPtr<ZRPAR::ArrayValue> SourceArray(const Sources& sources);

// The list a task stored before it had "UpdateSourceList", from its
// "update_srv_url", "inet_update", "master_asrv_update" and "try_inet".
Sources LegacySources(NHPP::CParams& task);

}  // namespace updater
