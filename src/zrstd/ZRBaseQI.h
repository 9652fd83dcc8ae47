#pragma once

#include <cstring>

#include "zrstd/Error.h"
#include "zrstd/ZRBase.h"

namespace ZRSTD {

// Implements the counting pair and the interface query for an interface I
// that names itself in I::kInterfaceName: the object answers
// "ZRSTD::ZRBaseQI" and that name (exact, case-sensitive), nothing else.
template <class I>
class ZRBaseQIImpl : public ZRBaseImpl<I> {
public:
    bool QueryInterface(const char* name, void** ppObject) override
    {
        ZRSTD_CHECK_ARG(ppObject);
        if (name && (std::strcmp(name, "ZRSTD::ZRBaseQI") == 0 || std::strcmp(name, I::kInterfaceName) == 0)) {
            *ppObject = static_cast<I*>(this);
            this->AddRef();
            return true;
        }
        *ppObject = nullptr;
        return false;
    }

protected:
    using ZRBaseImpl<I>::ZRBaseImpl;
};

}  // namespace ZRSTD
