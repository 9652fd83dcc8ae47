#include "zrstd/ProductMode.h"

#include <atomic>

namespace {
std::atomic<std::uint32_t> g_productMode{0};
}

std::uint32_t ZRSTD_GetQmcMode() { return g_productMode.load(); }

void ZRSTD_SetQmcMode(std::uint32_t mode) { g_productMode.store(mode); }
