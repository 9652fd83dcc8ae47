#pragma once

#include <string>

#include "zrstd/MemoryChunk.h"
#include "zrstd/ZRBase.h"

namespace ZRPlugin {
class IDataSource;
}

// A password as the console's "DATA_PROTECTION" service protects it: its
// UTF-16 code units, terminator excluded. Without the service the password
// could only be stored in clear, so that raises a ZRSTD error instead, as
// does a service that returns nothing; the service's own errors pass through.
ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> ProtectPassword(ZRPlugin::IDataSource* source, const std::wstring& password);
