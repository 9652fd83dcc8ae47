#pragma once

#include "zrpar/Params.h"

// The maker's update library: update sources and the settings a new update task starts with.

// A source: {"type": kind, "use_proxy": useProxy, "url": url}. Kinds: 1 the
// administration server, 2 the maker's update service, 3 a folder or address,
// 4 the master administration server.
ZR_API ZRSTD::CAutoPtr<ZRPAR::Params> ZRUPDSRV_CreateUpdSource(std::int32_t kind, bool useProxy, const wchar_t* url);
// A new container with the default settings of an update task: the
// administration server as the only source, no proxy, a 20-second connection
// time-out, updates of agents switched on, no retranslation folder.
ZR_API ZRSTD::CAutoPtr<ZRPAR::Params> ZRUPDSRV_CreateDefaultParams();
