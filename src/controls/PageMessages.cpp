#include "controls/PageMessages.h"

#include "ui/Window.h"

const UINT RWM_ZRHCCON_PPN_PAGE_MODIFIED = RegisterWindowMessageW(L"RWM_ZRHCCON_PPN_PAGE_MODIFIED");
const UINT RWM_ZRHCCON_PPN_PAGE_UNMODIFIED = RegisterWindowMessageW(L"RWM_ZRHCCON_PPN_PAGE_UNMODIFIED");
const UINT RWM_PPN_PAGE_JUMP_TO_SUBPAGE = RegisterWindowMessageW(L"RWM_PPN_PAGE_JUMP_TO_SUBPAGE");
const UINT RWM_ZRHCCON_PPN_POST_APPLY = RegisterWindowMessageW(L"RWM_ZRHCCON_PPN_POST_APPLY");
const UINT ZR_RWM_NODES_HOST_LOAD_CFG_PAGES = RegisterWindowMessageW(L"ZR_RWM_NODES_HOST_LOAD_CFG_PAGES");
const UINT ZR_RWM_NODES_HOST_INIT_PROP_SHEET = RegisterWindowMessageW(L"ZR_RWM_NODES_HOST_INIT_PROP_SHEET");
const UINT RWM_NHCLC_CLICK_URL = RegisterWindowMessageW(L"RWM_NHCLC_CLICK_URL");
const UINT RWM_NHCLC_GET_DRAW_INFO = RegisterWindowMessageW(L"RWM_NHCLC_GET_DRAW_INFO");

// Registered too, though nothing here stores their ids.
static const bool g_unstoredRegistered = [] {
    for (const wchar_t* name : {L"RWM_PPN_PAGE_PRESS_WIZBUTTON", L"RWM_PPN_PAGE_SET_WIZBUTTON", L"RWM_ZRHCCON_PPN_SET_READONLY"})
        RegisterWindowMessageW(name);
    return true;
}();
