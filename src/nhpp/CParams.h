#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "nhpp/Result.h"
#include "zrpar/Params.h"
#include "zrstd/CString.h"
#include "zrstd/Error.h"
#include "zrstd/MemoryChunk.h"
#include "zrstd/ZRBase.h"

namespace NHPP {

// Separates the parts of a full name: section, nested sections, value name.
inline constexpr wchar_t kSeparator = L'\r';

// What a read reports about the policy lock of a value.
struct PolicyLockInfo {
    bool locked = false;       // the value may not be changed here
    bool mandatory = false;    // the policy enforces the value
    bool concatArray = false;  // an array joined with the parent policy's array
    std::wstring lockGroup;
    std::wstring lockPolicy;
    std::wstring lockProfile;
};

// Where Apply and Update report a failure to commit (the frame shows it to the administrator).
class ErrorReporter {
public:
    virtual void ReportError(const ZRERR::Error& error) = 0;

protected:
    ~ErrorReporter() = default;
};

enum ProviderType : int { kLocalSettingsProvider = 0, kPolicyProvider = 1, kTaskProvider = 2 };

// The params provider: typed reads and writes by key relative to a current
// section, array editing, cloning and lock information. The order of the
// operations below is the interface's layout.
class CParams : public ZRSTD::ZRBase {
public:
    virtual int GetProviderType() = 0;
    virtual HResult CreateInstance(CParams** ppOut, ZRPAR::Params* root, bool keepNull) = 0;
    virtual HResult Duplicate(CParams** ppOut) = 0;
    virtual HResult CloneParams(CParams** ppOut) = 0;
    virtual HResult Clone(CParams** ppOut, const wchar_t* sectionKey, bool keepPath) = 0;
    virtual void SetSection(const wchar_t* section) = 0;
    virtual void EnterSection(const wchar_t* key) = 0;
    virtual void GetSection(std::wstring& section) = 0;
    virtual void ResetSection() = 0;
    virtual HResult Apply(bool reloadOnError, ErrorReporter* reporter) = 0;
    virtual HResult Update(ErrorReporter* reporter) = 0;
    virtual HResult Reload() = 0;
    virtual HResult GetRoot(ZRPAR::Params** ppRoot) = 0;
    virtual HResult ReplaceRoot(ZRPAR::Params* root) = 0;
    virtual HResult ReplaceRoot(CParams* provider) = 0;
    virtual HResult SetMandatory(const wchar_t* key, bool mandatory) = 0;
    virtual HResult SetMandatoryForContainer(const wchar_t* key, bool mandatory) = 0;
    virtual HResult GetLockData(const wchar_t* key, PolicyLockInfo* lock) = 0;
    virtual HResult GetNames(const wchar_t* sectionKey, std::vector<std::wstring>& names) = 0;
    virtual HResult GetSize(const wchar_t* sectionKey, std::size_t& count) = 0;
    virtual HResult Remove(const wchar_t* key) = 0;
    virtual HResult SetMandatoryForArray(const wchar_t* key, bool mandatory, bool concatenate) = 0;
    virtual HResult RemoveArrayItem(const wchar_t* key, std::size_t index) = 0;
    virtual HResult GetArraySize(const wchar_t* key, std::size_t& size) = 0;
    virtual HResult GetArrayItem(const wchar_t* key, std::size_t index, std::int64_t& value) = 0;
    virtual HResult GetArrayItem(const wchar_t* key, std::size_t index, std::int32_t& value) = 0;
    virtual HResult GetArrayItem(const wchar_t* key, std::size_t index, CString& value) = 0;
    virtual HResult GetArrayItem(const wchar_t* key, std::size_t index, std::wstring& value) = 0;
    virtual HResult GetArrayItem(const wchar_t* key, std::size_t index, CParams** ppItem) = 0;
    virtual HResult ReplaceArrayItem(const wchar_t* key, std::size_t index, std::int64_t value) = 0;
    virtual HResult ReplaceArrayItem(const wchar_t* key, std::size_t index, std::int32_t value) = 0;
    virtual HResult ReplaceArrayItem(const wchar_t* key, std::size_t index, const std::wstring& value) = 0;
    virtual HResult ReplaceArrayItem(const wchar_t* key, std::size_t index, CParams* item) = 0;
    virtual HResult PushbackArrayItem(const wchar_t* key, std::int64_t value, const wchar_t* concatItemName) = 0;
    virtual HResult PushbackArrayItem(const wchar_t* key, std::int32_t value, const wchar_t* concatItemName) = 0;
    virtual HResult PushbackArrayItem(const wchar_t* key, const std::wstring& value, const wchar_t* concatItemName) = 0;
    virtual HResult PushbackArrayItem(const wchar_t* key, CParams* item, const wchar_t* concatItemName) = 0;
    virtual HResult GetDateTime(const wchar_t* key, std::int64_t& value, PolicyLockInfo* lock) = 0;
    virtual HResult GetString(const wchar_t* key, CString& value, PolicyLockInfo* lock) = 0;
    virtual HResult GetBinary(const wchar_t* key, ZRPAR::BinaryValue** ppValue, PolicyLockInfo* lock) = 0;
    virtual HResult GetArray(const wchar_t* key, ZRPAR::ArrayValue** ppArray, PolicyLockInfo* lock) = 0;
    virtual HResult GetDateTime(const wchar_t* key, std::int32_t& value, PolicyLockInfo* lock) = 0;
    virtual HResult GetBinary(const wchar_t* key, ZRSTD::MemoryChunk** ppChunk, PolicyLockInfo* lock) = 0;
    virtual HResult GetParams(const wchar_t* key, ZRPAR::Params** ppParams, PolicyLockInfo* lock) = 0;
    virtual HResult GetParamsProvider(const wchar_t* key, CParams** ppProvider, PolicyLockInfo* lock) = 0;
    virtual HResult GetLong(const wchar_t* key, std::int64_t& value, PolicyLockInfo* lock) = 0;
    virtual HResult GetBool(const wchar_t* key, bool& value, PolicyLockInfo* lock) = 0;
    virtual HResult GetInt(const wchar_t* key, std::int32_t& value, PolicyLockInfo* lock) = 0;
    virtual HResult GetString(const wchar_t* key, std::wstring& value, PolicyLockInfo* lock) = 0;
    virtual HResult SetDateTime(const wchar_t* key, const std::int64_t* time, bool mandatory) = 0;
    virtual HResult SetString(const wchar_t* key, const wchar_t* value, bool mandatory) = 0;
    // Copies the source's bytes; a null source gives kInvalidArg.
    virtual HResult SetBinary(const wchar_t* key, const ZRSTD::MemoryChunk* source, bool mandatory) = 0;
    virtual HResult SetArray(const wchar_t* key, ZRPAR::ArrayValue* array, bool mandatory) = 0;
    virtual HResult SetParams(const wchar_t* key, CParams* provider, bool mandatory) = 0;
    virtual HResult SetDateTime(const wchar_t* key, const std::int32_t* time, bool mandatory) = 0;
    virtual HResult SetBinary(const wchar_t* key, ZRSTD::MemoryChunk& chunk, bool mandatory) = 0;
    virtual HResult SetParams(const wchar_t* key, ZRPAR::Params* params, bool mandatory) = 0;
    virtual HResult SetLong(const wchar_t* key, std::int64_t value, bool mandatory) = 0;
    virtual HResult SetBool(const wchar_t* key, bool value, bool mandatory) = 0;
    // The unsigned and 16-bit forms forward to the signed 32-bit one.
    virtual HResult SetInt(const wchar_t* key, std::uint32_t value, bool mandatory) = 0;
    virtual HResult SetInt(const wchar_t* key, std::int16_t value, bool mandatory) = 0;
    virtual HResult SetInt(const wchar_t* key, std::int32_t value, bool mandatory) = 0;
    virtual HResult SetString(const wchar_t* key, const std::wstring& value, bool mandatory) = 0;
    virtual HResult GetBinaryOrDefault(ZRSTD::MemoryChunk** ppChunk, const wchar_t* key, ZRSTD::MemoryChunk* defaultChunk,
                                       PolicyLockInfo* lock) = 0;
    virtual std::int64_t GetLongOrDefault(const wchar_t* key, std::int64_t defaultValue, PolicyLockInfo* lock) = 0;
    virtual bool GetBoolOrDefault(const wchar_t* key, bool defaultValue, PolicyLockInfo* lock) = 0;
    virtual void GetStringOrDefault(CString& value, const wchar_t* key, const wchar_t* defaultValue,
                                    PolicyLockInfo* lock) = 0;
    virtual void GetStringOrDefault(std::wstring& value, const wchar_t* key, const wchar_t* defaultValue,
                                    PolicyLockInfo* lock) = 0;
    virtual HResult SerializeEffectiveSettings(const wchar_t* path) = 0;
    virtual ~CParams() = default;
    virtual void GetFullName(std::wstring& fullName, const wchar_t* key) = 0;
    virtual void CopyFrom(CParams* source, bool resetSection) = 0;

    // Not part of the layout: the 32-bit read with a default that pages use most.
    std::int32_t GetIntOrDefault(const wchar_t* key, std::int32_t defaultValue, PolicyLockInfo* lock)
    {
        std::int32_t value = 0;
        return GetInt(key, value, lock) == kOk ? value : defaultValue;
    }
};

}  // namespace NHPP
