#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "zrstd/Api.h"
#include "zrstd/ZRBase.h"

namespace ZRSTD {

// A reference-counted block of bytes.
class ZR_API MemoryChunk : public ZRBaseImpl<ZRObject> {
public:
    explicit MemoryChunk(std::size_t size = 0) : m_bytes(size) {}
    MemoryChunk(const void* data, std::size_t size);

    std::uint8_t* GetData() { return m_bytes.data(); }
    const std::uint8_t* GetData() const { return m_bytes.data(); }
    std::size_t GetDataSize() const { return m_bytes.size(); }
    void Resize(std::size_t size) { m_bytes.resize(size); }
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace ZRSTD

// A new chunk of `size` zero bytes, stored with its reference in *ppChunk.
ZR_API void ZRSTD_AllocMemoryChunk(std::size_t size, ZRSTD::MemoryChunk** ppChunk);
