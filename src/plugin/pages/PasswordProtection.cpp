#include "plugin/pages/PasswordProtection.h"

#include "plugin/pages/agent/DlgChangePassword.h"
#include "zrplugin/DataSource.h"
#include "zrstd/Crypto.h"
#include "zrstd/Error.h"

ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> ProtectPassword(ZRPlugin::IDataSource* source, const std::wstring& password)
{
    auto protection = ZRPlugin::GetDataSourceItem<ZRPlugin::IDataProtection>(source, L"DATA_PROTECTION");
    if (!protection) ZRERR_throwError("ZRSTD", 1183, L"the console offers no DATA_PROTECTION service");
    std::vector<std::uint8_t> units = PasswordBytes(password);
    ZRSTD::CAutoPtr<ZRSTD::MemoryChunk> blob;
    try {
        protection->ProtectData(units.data(), units.size(), &blob);
    } catch (...) {
        ZRSTD::WipeBytes(units.data(), units.size());
        throw;
    }
    ZRSTD::WipeBytes(units.data(), units.size());  // the clear text does not linger in freed memory
    if (!blob) ZRERR_throwError("ZRSTD", 1183, L"DATA_PROTECTION returned no data");
    return blob;
}
