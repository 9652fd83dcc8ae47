#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zrplugin/DataSource.h"
#include "zrstd/Crypto.h"
#include "zrstd/ZRBaseQI.h"

namespace host {

// The console's "DATA_PROTECTION" service: AES-256-GCM under a key kept in a
// file beside the store. A protected blob is
//
//   byte 0      format version, 1
//   bytes 1-12  random nonce
//   bytes 13..  ciphertext, then the 16-byte authentication tag
//
// with the format label as additional authenticated data, so a blob that was
// altered, truncated or made under another key is refused, never half-read.
class DataProtection : public ZRSTD::ZRBaseQIImpl<ZRPlugin::IDataProtection> {
public:
    static constexpr std::size_t kKeySize = ZRSTD::kAes256KeySize;

    // Loads the key from keyPath, creating it (mode 0600, random) when the file
    // does not exist. Raises a localized ZRERR::Error naming the file when it
    // cannot be read or created, has the wrong size, or is readable by others.
    static ZRSTD::CAutoPtr<DataProtection> OpenKeyFile(const std::string& keyPath);

    void ProtectData(const void* data, std::size_t size, ZRSTD::MemoryChunk** ppProtected) override;

    // Names the key without revealing it (an HMAC of a fixed label, in hex),
    // so that a store can tell its own key file from another store's.
    std::string KeyId() const;

    std::vector<std::uint8_t> Protect(const std::uint8_t* data, std::size_t size) const;
    // Raises a localized ZRERR::Error when the blob is not one this key made.
    std::vector<std::uint8_t> Unprotect(const std::uint8_t* blob, std::size_t size) const;

    ~DataProtection() override;

private:
    explicit DataProtection(const std::vector<std::uint8_t>& key);
    std::vector<std::uint8_t> m_key;
};

}  // namespace host
