#include "zrstd/MemoryChunk.h"

#include <cstring>

#include "zrstd/Error.h"

namespace ZRSTD {

MemoryChunk::MemoryChunk(const void* data, std::size_t size) : m_bytes(size)
{
    if (size) std::memcpy(m_bytes.data(), data, size);
}

}  // namespace ZRSTD

void ZRSTD_AllocMemoryChunk(std::size_t size, ZRSTD::MemoryChunk** ppChunk)
{
    ZRSTD_CHECK_ARG(ppChunk);
    *ppChunk = new ZRSTD::MemoryChunk(size);
}
