#pragma once

// The console's data protection as the tests want it: "PX" and the bytes
// reversed, so a test can tell protected bytes from clear ones and rebuild
// what a password becomes. With fail set it refuses, as a console whose key
// is gone does.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "plugin/pages/agent/DlgChangePassword.h"
#include "zrplugin/DataSource.h"
#include "zrstd/Error.h"
#include "zrstd/MemoryChunk.h"
#include "zrstd/ZRBaseQI.h"

namespace testsupport {

class TestProtection : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IDataProtection> {
public:
    using Bytes = std::vector<std::uint8_t>;

    void ProtectData(const void* data, std::size_t size, ZRSTD::MemoryChunk** ppProtected) override
    {
        if (fail) ZRERR_throwError("ZRDPAPI", 5, L"the key is gone");
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        const Bytes blob = Wrap(Bytes(bytes, bytes + size));
        *ppProtected = new ZRSTD::MemoryChunk(blob.data(), blob.size());
    }
    static Bytes Wrap(Bytes units)
    {
        std::reverse(units.begin(), units.end());
        units.insert(units.begin(), {'P', 'X'});
        return units;
    }
    // What a typed password is stored as: its UTF-16 code units, protected.
    static Bytes Of(const std::wstring& password) { return Wrap(PasswordBytes(password)); }

    bool fail = false;
};

}  // namespace testsupport
