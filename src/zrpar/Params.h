#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "zrstd/Api.h"
#include "zrstd/MemoryChunk.h"
#include "zrstd/ZRBase.h"

// The settings container: a reference-counted, ordered set of named, typed
// values, nested through container and array values.
namespace ZRPAR {

using ZRSTD::CAutoPtr;

enum ValueType : int {
    VT_EMPTY = 0,  // an array slot that holds nothing yet
    VT_STRING = 1,
    VT_BOOL = 2,
    VT_INT = 3,
    VT_LONG = 4,
    VT_DATETIME = 5,
    VT_BINARY = 7,
    VT_PARAMS = 10,
    VT_ARRAY = 11,
};

ZR_API const wchar_t* TypeName(ValueType type);

// Error codes of module "ZRPAR" (an absent value is module "ZRSTD" kAbsent).
enum ErrorCode : long {
    kWrongType = 0x412,        // a value of another type on the path
    kAlreadyExists = 0x413,    // AddValue of a name that is present
    kIndexOutOfRange = 0x414,  // array index at or beyond the size
    kInvalidValue = 0x415,     // a null value or container where one is required
    kMalformed = 0x416,        // a packed or XML document that cannot be read
    kTooDeep = 0x417,          // nesting beyond kMaxDepth
    kUnsupported = 0x418,      // an unknown merge mode or format
    kFileError = 0x419,        // a file could not be read or written
};
inline constexpr long kAbsent = 0x49F;  // module "ZRSTD": a required value is absent
inline constexpr const char* kModule = "ZRPAR";

// Containers and arrays nest at most this deep (the root container is level 1).
inline constexpr int kMaxDepth = 256;

class Params;

class ZR_API Value : public ZRSTD::ZRObject {
public:
    virtual ValueType GetType() const = 0;
    // A deep copy: containers and arrays are copied, scalars are immutable and shared.
    virtual CAutoPtr<Value> CloneValue(int depth = 0) const;
};

class ZR_API StringValue : public ZRSTD::ZRBaseImpl<Value> {
public:
    explicit StringValue(std::wstring value) : m_value(std::move(value)) {}
    ~StringValue() override;
    ValueType GetType() const override { return VT_STRING; }
    const std::wstring& GetValue() const { return m_value; }

private:
    const std::wstring m_value;
};

class ZR_API BoolValue : public ZRSTD::ZRBaseImpl<Value> {
public:
    explicit BoolValue(bool value) : m_value(value) {}
    ~BoolValue() override;
    ValueType GetType() const override { return VT_BOOL; }
    bool GetValue() const { return m_value; }

private:
    const bool m_value;
};

class ZR_API IntValue : public ZRSTD::ZRBaseImpl<Value> {
public:
    explicit IntValue(std::int32_t value) : m_value(value) {}
    ~IntValue() override;
    ValueType GetType() const override { return VT_INT; }
    std::int32_t GetValue() const { return m_value; }

private:
    const std::int32_t m_value;
};

class ZR_API LongValue : public ZRSTD::ZRBaseImpl<Value> {
public:
    explicit LongValue(std::int64_t value) : m_value(value) {}
    ~LongValue() override;
    ValueType GetType() const override { return VT_LONG; }
    std::int64_t GetValue() const { return m_value; }

private:
    const std::int64_t m_value;
};

// Seconds since 1970-01-01 00:00:00 UTC.
struct DateTime {
    std::int64_t seconds = 0;
};

class ZR_API DateTimeValue : public ZRSTD::ZRBaseImpl<Value> {
public:
    explicit DateTimeValue(std::int64_t seconds) : m_value(seconds) {}
    ~DateTimeValue() override;
    ValueType GetType() const override { return VT_DATETIME; }
    std::int64_t GetValue() const { return m_value; }

private:
    const std::int64_t m_value;
};

// Bytes handed to CreateValue; they are copied.
struct binary_wrapper_t {
    const void* data = nullptr;
    std::size_t size = 0;
};

class ZR_API BinaryValue : public ZRSTD::ZRBaseImpl<Value> {
public:
    BinaryValue(const void* data, std::size_t size);
    ~BinaryValue() override;
    ValueType GetType() const override { return VT_BINARY; }
    const std::vector<std::uint8_t>& GetValue() const { return m_value; }
    const std::uint8_t* GetData() const { return m_value.data(); }
    std::size_t GetDataSize() const { return m_value.size(); }

private:
    const std::vector<std::uint8_t> m_value;
};

// A nested container. The container is shared, not copied: edits through it
// land in the enclosing document.
class ZR_API ParamsValue : public ZRSTD::ZRBaseImpl<Value> {
public:
    ParamsValue();  // an empty container
    explicit ParamsValue(Params* params);
    ~ParamsValue() override;
    ValueType GetType() const override { return VT_PARAMS; }
    CAutoPtr<Value> CloneValue(int depth = 0) const override;
    Params* GetValue() const { return m_params.Get(); }

private:
    CAutoPtr<Params> m_params;
};

// An ordered list of values, edited in place. Slots added by SetSize hold
// nothing (null) until SetAt fills them.
class ZR_API ArrayValue : public ZRSTD::ZRBaseImpl<Value> {
public:
    ArrayValue() = default;
    ~ArrayValue() override;
    ValueType GetType() const override { return VT_ARRAY; }
    CAutoPtr<Value> CloneValue(int depth = 0) const override;

    std::size_t GetSize() const { return m_items.size(); }
    void SetSize(std::size_t size) { m_items.resize(size); }
    // Raise kIndexOutOfRange for an index at or beyond the size.
    CAutoPtr<Value> GetAt(std::size_t index) const;
    void SetAt(std::size_t index, Value* value);
    void Append(Value* value) { m_items.emplace_back(value); }
    Value* ItemAt(std::size_t index) const { return index < m_items.size() ? m_items[index].Get() : nullptr; }

private:
    std::vector<CAutoPtr<Value>> m_items;
};

// The container. Names keep the order in which they were first added (a
// replaced value keeps its place); a hash index beside the order gives fast
// lookup by name.
class ZR_API Params : public ZRSTD::ZRBaseImpl<ZRSTD::ZRObject> {
public:
    Params() = default;
    ~Params() override;

    // Raises module "ZRSTD" kAbsent when the name is absent.
    CAutoPtr<Value> GetValue(std::wstring_view name) const;
    void GetValue(std::wstring_view name, Value** ppValue) const;
    // The value or null; the pointer is borrowed from the container.
    Value* FindValue(std::wstring_view name) const;
    bool DoesExist(std::wstring_view name) const { return FindValue(name) != nullptr; }

    // Raises kAlreadyExists when the name is present, kInvalidValue for a null value.
    void AddValue(std::wstring_view name, Value* value);
    // Adds a value under a name the caller gives up; false when the name is
    // present, and then both arguments are left as they were. For readers that
    // build containers in bulk.
    bool TryAppend(std::wstring&& name, CAutoPtr<Value>&& value);
    // Adds the value when the name is absent; otherwise replaces it in its place.
    void ReplaceValue(std::wstring_view name, Value* value);
    // False when the name was absent.
    bool DeleteValue(std::wstring_view name);
    void Clear();

    std::vector<std::wstring> GetNames() const;
    void GetNames(std::vector<std::wstring>& names) const { names = GetNames(); }
    std::size_t GetSize() const { return m_entries.size(); }
    void Reserve(std::size_t count) { m_entries.reserve(count); }

    // Entries in order, for walking without copying names.
    const std::wstring& NameAt(std::size_t index) const { return m_entries[index].name; }
    Value* ValueAt(std::size_t index) const { return m_entries[index].value.Get(); }

    // Deep copy. Raises kTooDeep beyond kMaxDepth (which also stops a
    // container that holds itself).
    CAutoPtr<Params> Clone() const;
    void Clone(Params** ppClone) const;
    CAutoPtr<Params> CloneAt(int depth) const;

private:
    struct Entry {
        std::wstring name;
        CAutoPtr<Value> value;
    };
    static constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);
    // Containers up to this size are searched in order; larger ones keep an
    // open-addressing table of entry positions (most settings containers hold
    // two or three values, a few hold thousands).
    static constexpr std::size_t kLinearLimit = 8;

    std::size_t IndexOf(std::wstring_view name) const;
    void IndexInsert(std::size_t position);
    void RebuildIndex();

    std::vector<Entry> m_entries;
    std::vector<std::uint32_t> m_slots;  // entry position + 1; 0 is a free slot
};

// Deep equality: the same names in the same order with equal values.
ZR_API bool Equals(const Params& a, const Params& b);
ZR_API bool Equals(const Value* a, const Value* b);

// A new empty container.
ZR_API CAutoPtr<Params> CreateParams();

// One value of each type.
ZR_API CAutoPtr<Value> CreateValue(std::wstring_view value);
ZR_API CAutoPtr<Value> CreateValue(const wchar_t* value);
ZR_API CAutoPtr<Value> CreateValue(const std::wstring& value);
ZR_API CAutoPtr<Value> CreateValue(std::wstring&& value);
ZR_API CAutoPtr<Value> CreateValue(bool value);
ZR_API CAutoPtr<Value> CreateValue(std::int32_t value);
ZR_API CAutoPtr<Value> CreateValue(std::int64_t value);
ZR_API CAutoPtr<Value> CreateValue(DateTime value);
ZR_API CAutoPtr<Value> CreateValue(binary_wrapper_t value);
ZR_API CAutoPtr<Value> CreateValue(const ZRSTD::MemoryChunk& chunk);
ZR_API CAutoPtr<Value> CreateValue(Params* value);  // referenced, not copied; null gives an empty container
ZR_API CAutoPtr<ArrayValue> CreateArrayValue(std::size_t size = 0);

// Typed reads of a direct child: absent raises module "ZRSTD" kAbsent, another
// type raises kWrongType naming the value.
ZR_API CAutoPtr<Value> GetValue(const Params* params, std::wstring_view name);
ZR_API std::wstring GetStringValue(const Params* params, std::wstring_view name);
ZR_API bool GetBoolValue(const Params* params, std::wstring_view name);
ZR_API std::int32_t GetIntValue(const Params* params, std::wstring_view name);
ZR_API std::int64_t GetLongValue(const Params* params, std::wstring_view name);
ZR_API std::int64_t GetDateTimeValue(const Params* params, std::wstring_view name);
ZR_API CAutoPtr<BinaryValue> GetBinaryValue(const Params* params, std::wstring_view name);
ZR_API CAutoPtr<ArrayValue> GetArrayValue(const Params* params, std::wstring_view name);
ZR_API CAutoPtr<Params> GetParamsValue(const Params* params, std::wstring_view name);

// One entry of a container built from a table.
struct ParamsBodyEntry {
    template <class T>
    ParamsBodyEntry(std::wstring_view entryName, const T& entryValue)
        : name(entryName), value(CreateValue(entryValue))
    {
    }
    ParamsBodyEntry(std::wstring_view entryName, Value* entryValue) : name(entryName), value(entryValue) {}
    ParamsBodyEntry(std::wstring_view entryName, const CAutoPtr<Value>& entryValue)
        : name(entryName), value(entryValue)
    {
    }
    ParamsBodyEntry(std::wstring_view entryName, const CAutoPtr<ArrayValue>& entryValue)
        : name(entryName), value(entryValue.Get())
    {
    }
    ParamsBodyEntry(std::wstring_view entryName, const CAutoPtr<Params>& entryValue)
        : name(entryName), value(CreateValue(entryValue.Get()))
    {
    }
    std::wstring name;
    CAutoPtr<Value> value;
};

// A container from a table of entries, in table order (a repeated name raises kAlreadyExists).
ZR_API CAutoPtr<Params> CreateParamsBody(std::initializer_list<ParamsBodyEntry> entries);

// Makes empty container values.
class ZR_API ValuesFactory : public ZRSTD::ZRBaseImpl<ZRSTD::ZRObject> {
public:
    ~ValuesFactory() override;
    CAutoPtr<ParamsValue> CreateParamsValue() const;
    void CreateParamsValue(ParamsValue** ppValue) const;
};

}  // namespace ZRPAR

ZR_API void ZRPAR_CreateParams(ZRPAR::Params** ppParams);
ZR_API void ZRPAR_CreateValuesFactory(ZRPAR::ValuesFactory** ppFactory);

// All values of first, then those of second whose names first lacks; a null
// input counts as empty. Values are copied, so the result shares nothing with
// its inputs.
ZR_API void ZRPAR_Concatenate(const ZRPAR::Params* first, const ZRPAR::Params* second, ZRPAR::Params** ppResult);

// Mode 3: merge source into target; containers present in both are merged
// name by name, missing ones are created, other values replaced (copied from
// source). Entries of target that source does not name stay. Other modes
// raise kUnsupported.
ZR_API void ZRPAR_Write(ZRPAR::Params* target, const ZRPAR::Params* source, int mode);
