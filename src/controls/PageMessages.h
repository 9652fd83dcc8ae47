#pragma once

#include "ui/Win32.h"

// The window messages pages and controls exchange with the console's sheet,
// registered by name when the library loads.
extern const UINT RWM_ZRHCCON_PPN_PAGE_MODIFIED;
extern const UINT RWM_ZRHCCON_PPN_PAGE_UNMODIFIED;
extern const UINT RWM_PPN_PAGE_JUMP_TO_SUBPAGE;
extern const UINT RWM_ZRHCCON_PPN_POST_APPLY;
extern const UINT ZR_RWM_NODES_HOST_LOAD_CFG_PAGES;
extern const UINT ZR_RWM_NODES_HOST_INIT_PROP_SHEET;
extern const UINT RWM_NHCLC_CLICK_URL;
extern const UINT RWM_NHCLC_GET_DRAW_INFO;
