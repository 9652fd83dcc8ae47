#pragma once

#include <functional>
#include <optional>
#include <string>

#include "nhpp/CParams.h"
#include "nhpp/PolicyPath.h"
#include "zrplugin/SettingsStorage.h"

namespace NHPP {

// What every provider shares: the root being edited, the lock source, the
// current section, the place in the settings storage, and the operations that
// do not depend on the form of the data. The forms (plain for local settings
// and tasks, policy pairs for policies) supply reads, writes and array items.
class CParamsProviderBase : public ZRSTD::ZRBaseImpl<CParams> {
public:
    HResult CreateInstance(CParams** ppOut, ZRPAR::Params* root, bool keepNull) override;
    HResult Duplicate(CParams** ppOut) override;
    HResult CloneParams(CParams** ppOut) override;
    HResult Clone(CParams** ppOut, const wchar_t* sectionKey, bool keepPath) override;
    void SetSection(const wchar_t* section) override;
    void EnterSection(const wchar_t* key) override;
    void GetSection(std::wstring& section) override;
    void ResetSection() override;
    HResult GetRoot(ZRPAR::Params** ppRoot) override;
    HResult ReplaceRoot(ZRPAR::Params* root) override;
    HResult ReplaceRoot(CParams* provider) override;
    HResult SetMandatory(const wchar_t* key, bool mandatory) override;
    HResult SetMandatoryForContainer(const wchar_t* key, bool mandatory) override;
    HResult GetLockData(const wchar_t* key, PolicyLockInfo* lock) override;
    HResult GetNames(const wchar_t* sectionKey, std::vector<std::wstring>& names) override;
    HResult GetSize(const wchar_t* sectionKey, std::size_t& count) override;
    HResult Remove(const wchar_t* key) override;
    HResult SetMandatoryForArray(const wchar_t* key, bool mandatory, bool concatenate) override;
    HResult RemoveArrayItem(const wchar_t* key, std::size_t index) override;
    HResult GetArraySize(const wchar_t* key, std::size_t& size) override;
    HResult GetArrayItem(const wchar_t* key, std::size_t index, std::int64_t& value) override;
    HResult GetArrayItem(const wchar_t* key, std::size_t index, std::int32_t& value) override;
    HResult GetArrayItem(const wchar_t* key, std::size_t index, CString& value) override;
    HResult GetArrayItem(const wchar_t* key, std::size_t index, std::wstring& value) override;
    HResult GetArrayItem(const wchar_t* key, std::size_t index, CParams** ppItem) override;
    HResult ReplaceArrayItem(const wchar_t* key, std::size_t index, std::int64_t value) override;
    HResult ReplaceArrayItem(const wchar_t* key, std::size_t index, std::int32_t value) override;
    HResult ReplaceArrayItem(const wchar_t* key, std::size_t index, const std::wstring& value) override;
    HResult ReplaceArrayItem(const wchar_t* key, std::size_t index, CParams* item) override;
    HResult PushbackArrayItem(const wchar_t* key, std::int64_t value, const wchar_t* concatItemName) override;
    HResult PushbackArrayItem(const wchar_t* key, std::int32_t value, const wchar_t* concatItemName) override;
    HResult PushbackArrayItem(const wchar_t* key, const std::wstring& value, const wchar_t* concatItemName) override;
    HResult PushbackArrayItem(const wchar_t* key, CParams* item, const wchar_t* concatItemName) override;
    HResult GetDateTime(const wchar_t* key, std::int64_t& value, PolicyLockInfo* lock) override;
    HResult GetString(const wchar_t* key, CString& value, PolicyLockInfo* lock) override;
    HResult GetBinary(const wchar_t* key, ZRPAR::BinaryValue** ppValue, PolicyLockInfo* lock) override;
    HResult GetArray(const wchar_t* key, ZRPAR::ArrayValue** ppArray, PolicyLockInfo* lock) override;
    HResult GetDateTime(const wchar_t* key, std::int32_t& value, PolicyLockInfo* lock) override;
    HResult GetBinary(const wchar_t* key, ZRSTD::MemoryChunk** ppChunk, PolicyLockInfo* lock) override;
    HResult GetParams(const wchar_t* key, ZRPAR::Params** ppParams, PolicyLockInfo* lock) override;
    HResult GetParamsProvider(const wchar_t* key, CParams** ppProvider, PolicyLockInfo* lock) override;
    HResult GetLong(const wchar_t* key, std::int64_t& value, PolicyLockInfo* lock) override;
    HResult GetBool(const wchar_t* key, bool& value, PolicyLockInfo* lock) override;
    HResult GetInt(const wchar_t* key, std::int32_t& value, PolicyLockInfo* lock) override;
    HResult GetString(const wchar_t* key, std::wstring& value, PolicyLockInfo* lock) override;
    HResult SetDateTime(const wchar_t* key, const std::int64_t* time, bool mandatory) override;
    HResult SetString(const wchar_t* key, const wchar_t* value, bool mandatory) override;
    HResult SetBinary(const wchar_t* key, const ZRSTD::MemoryChunk* source, bool mandatory) override;
    HResult SetArray(const wchar_t* key, ZRPAR::ArrayValue* array, bool mandatory) override;
    HResult SetParams(const wchar_t* key, CParams* provider, bool mandatory) override;
    HResult SetDateTime(const wchar_t* key, const std::int32_t* time, bool mandatory) override;
    HResult SetBinary(const wchar_t* key, ZRSTD::MemoryChunk& chunk, bool mandatory) override;
    HResult SetParams(const wchar_t* key, ZRPAR::Params* params, bool mandatory) override;
    HResult SetLong(const wchar_t* key, std::int64_t value, bool mandatory) override;
    HResult SetBool(const wchar_t* key, bool value, bool mandatory) override;
    HResult SetInt(const wchar_t* key, std::uint32_t value, bool mandatory) override;
    HResult SetInt(const wchar_t* key, std::int16_t value, bool mandatory) override;
    HResult SetInt(const wchar_t* key, std::int32_t value, bool mandatory) override;
    HResult SetString(const wchar_t* key, const std::wstring& value, bool mandatory) override;
    HResult GetBinaryOrDefault(ZRSTD::MemoryChunk** ppChunk, const wchar_t* key, ZRSTD::MemoryChunk* defaultChunk,
                               PolicyLockInfo* lock) override;
    std::int64_t GetLongOrDefault(const wchar_t* key, std::int64_t defaultValue, PolicyLockInfo* lock) override;
    bool GetBoolOrDefault(const wchar_t* key, bool defaultValue, PolicyLockInfo* lock) override;
    void GetStringOrDefault(CString& value, const wchar_t* key, const wchar_t* defaultValue, PolicyLockInfo* lock) override;
    void GetStringOrDefault(std::wstring& value, const wchar_t* key, const wchar_t* defaultValue,
                            PolicyLockInfo* lock) override;
    HResult SerializeEffectiveSettings(const wchar_t* path) override;
    ~CParamsProviderBase() override;
    void GetFullName(std::wstring& fullName, const wchar_t* key) override;
    void CopyFrom(CParams* source, bool resetSection) override;

    std::wstring FullName(const wchar_t* key) const;
    // Why this provider's data (ofPolicy false) or the policy governing it
    // (ofPolicy true) could not be read; null when both were read.
    const ZRERR::Error* UnreadableSettings(bool& ofPolicy) const;
    ZRPAR::Params* Root() const { return m_root.Get(); }
    ZRPAR::Params* LockSource() const { return m_lockSource.Get(); }

protected:
    CParamsProviderBase() = default;

    // "NHPP::CParamsProviderPolicy" and so on: traces name the operation of the concrete class.
    virtual const char* ClassName() const = 0;
    std::string Operation(const char* name) const { return std::string(ClassName()) + "::" + name; }

    // A provider of the same class with no root and no storage.
    virtual ZRSTD::CAutoPtr<CParamsProviderBase> NewProvider() const = 0;
    // The root a provider of this form starts from when it needs a fresh one.
    virtual ZRSTD::CAutoPtr<ZRPAR::Params> NewEmptyRoot() const = 0;
    // The typed read of one value: kOk with the value, or a result code.
    virtual HResult ReadValue(const wchar_t* key, ZRPAR::ValueType type, ZRSTD::CAutoPtr<ZRPAR::Value>& value,
                              PolicyLockInfo* lock, const char* operation) = 0;
    virtual HResult WriteValue(const wchar_t* key, ZRPAR::Value* value, bool mandatory) = 0;
    // How the container holding a setting is found (GetNames, Remove, Clone).
    virtual PathForm SettingContainerForm() const = 0;
    // Array items of this form: scalars are the items themselves, or the
    // "ZRPRSS_Val" of an item container in the policy form.
    virtual ZRPAR::Value* ItemScalar(ZRPAR::Value* item) const { return item; }
    virtual ZRSTD::CAutoPtr<ZRPAR::Value> MakeScalarItem(ZRPAR::Value* scalar, const wchar_t* concatItemName) const;
    virtual void ReplaceScalarItem(ZRPAR::ArrayValue& array, std::size_t index, ZRPAR::Value* scalar) const;
    virtual ZRSTD::CAutoPtr<ZRPAR::Value> MakeProviderItem(ZRPAR::Params* root, const wchar_t* concatItemName) const;
    virtual void ReplaceProviderItem(ZRPAR::ArrayValue& array, std::size_t index, ZRPAR::Params* root) const;
    // What a subclass copies beyond the shared fields (storage, task key).
    virtual void CopyExtraFrom(const CParamsProviderBase& source) { m_storage = source.m_storage; }
    // Makes a deep copy of a section the root of a clone.
    virtual void AdoptSectionCopy(ZRPAR::Params* sectionCopy) { m_root = sectionCopy; }
    // Sets a flag of a setting's value container (policy form only).
    HResult WriteFlags(const wchar_t* key, std::initializer_list<std::pair<const wchar_t*, bool>> flags,
                       const char* operation);

    ZRSTD::CAutoPtr<ZRPAR::Params> m_root;
    ZRSTD::CAutoPtr<ZRPAR::Params> m_lockSource;
    std::wstring m_section;  // empty, or ending with the separator
    std::wstring m_product;
    std::wstring m_version;
    std::wstring m_storageSection;
    ZRSTD::CAutoPtr<ZRPlugin::SettingsStorage> m_storage;
    // Why the last read from storage failed: an Apply without data reports it
    // instead of claiming success.
    std::optional<ZRERR::Error> m_loadError;
    // Why the policy that governs the data could not be read: every value then
    // reads as enforced, and nothing is committed.
    std::optional<ZRERR::Error> m_policyReadError;
    // Reports the read error, if any; kFail when there was one.
    HResult RefuseUnreadable(ErrorReporter* reporter) const;
    // Commits the root to the storage section: replaced (Apply) or merged
    // (Update), after creating the three levels; with reloadOnError a failed
    // commit is followed by Reload.
    HResult CommitRoot(bool replace, bool reloadOnError, ErrorReporter* reporter, const char* operation);

private:
    template <class V, class T>
    HResult ReadScalar(const wchar_t* key, ZRPAR::ValueType type, T& out, PolicyLockInfo* lock, const char* name);
    template <class Scalar, class Get>
    HResult ReadArrayItem(const wchar_t* key, std::size_t index, ZRPAR::ValueType type, Get get, Scalar& out);
    HResult EditArray(const wchar_t* key, const char* operation,
                      const std::function<void(ZRPAR::ArrayValue&)>& edit, bool createWhenAbsent);
    // The container named by a section key (the current section when empty), or null.
    ZRPAR::Params* FindSection(const wchar_t* sectionKey, bool keyIsFullName) const;
};

// A time taken through local calendar time and back, as stored date-times are;
// nothing when the time has no local calendar form.
std::optional<std::int64_t> NormalizeLocalTime(std::int64_t time);

}  // namespace NHPP
