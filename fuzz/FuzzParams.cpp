// Feeds arbitrary bytes to the container reader. Any input must either decode
// (and then write back to the bytes it came from, when it was packed) or end
// in the library's error; crashes, leaks and sanitizer reports are findings.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "zrpar/Packed.h"
#include "zrpar/Render.h"
#include "zrpar/Serialize.h"
#include "zrstd/Error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        auto params = ZRPAR::Deserialize(data, size);
        (void)ZRPAR::RenderText(*params);
        (void)ZRPAR::RenderJson(*params);
        if (ZRPAR::LooksPacked(data, size)) {
            const auto again = ZRPAR::SerializePacked(*params);
            if (again.size() != size || std::memcmp(again.data(), data, size) != 0) std::abort();
        }
    } catch (const ZRERR::Error&) {
    }
    return 0;
}
