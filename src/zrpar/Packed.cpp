#include "zrpar/Packed.h"

#include <cstring>
#include <limits>

#include "zrstd/Error.h"
#include "zrstd/Strings.h"

namespace ZRPAR {

namespace {

std::uint8_t TypeByte(ValueType type) { return static_cast<std::uint8_t>(type + 1); }

class Writer {
public:
    explicit Writer(std::vector<std::uint8_t>& out) : m_out(out) {}

    void U32(std::size_t value, const wchar_t* what)
    {
        if (value > std::numeric_limits<std::uint32_t>::max())
            ZRERR_throwError(kModule, kUnsupported, L"%s of %zu does not fit the packed form", what, value);
        Raw(static_cast<std::uint64_t>(value), 4);
    }
    void Raw(std::uint64_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i) m_out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    void Text(std::wstring_view text)
    {
        U32(ZRSTD::Utf16Length(text), L"a text length");
        ZRSTD::AppendUtf16Le(m_out, text);
    }

    void Container(const Params& params, int depth)
    {
        if (depth > kMaxDepth) ZRERR_throwError(kModule, kTooDeep, L"containers nest deeper than %d levels", kMaxDepth);
        U32(params.GetSize(), L"a value count");
        for (std::size_t i = 0; i < params.GetSize(); ++i) {
            Text(params.NameAt(i));
            Item(params.ValueAt(i), depth);
        }
    }

    void Item(const Value* value, int depth)
    {
        if (!value) {
            m_out.push_back(TypeByte(VT_EMPTY));
            return;
        }
        const ValueType type = value->GetType();
        m_out.push_back(TypeByte(type));
        switch (type) {
        case VT_EMPTY: break;
        case VT_STRING: Text(static_cast<const StringValue*>(value)->GetValue()); break;
        case VT_BOOL: m_out.push_back(static_cast<const BoolValue*>(value)->GetValue() ? 1 : 0); break;
        case VT_INT: Raw(static_cast<std::uint32_t>(static_cast<const IntValue*>(value)->GetValue()), 4); break;
        case VT_LONG: Raw(static_cast<std::uint64_t>(static_cast<const LongValue*>(value)->GetValue()), 8); break;
        case VT_DATETIME: Raw(static_cast<std::uint64_t>(static_cast<const DateTimeValue*>(value)->GetValue()), 8); break;
        case VT_BINARY: {
            const auto& bytes = static_cast<const BinaryValue*>(value)->GetValue();
            U32(bytes.size(), L"a binary length");
            m_out.insert(m_out.end(), bytes.begin(), bytes.end());
            break;
        }
        case VT_PARAMS: Container(*static_cast<const ParamsValue*>(value)->GetValue(), depth + 1); break;
        case VT_ARRAY: {
            if (depth + 1 > kMaxDepth)
                ZRERR_throwError(kModule, kTooDeep, L"containers nest deeper than %d levels", kMaxDepth);
            const auto* array = static_cast<const ArrayValue*>(value);
            U32(array->GetSize(), L"an array size");
            for (std::size_t i = 0; i < array->GetSize(); ++i) Item(array->ItemAt(i), depth + 1);
            break;
        }
        }
    }

private:
    std::vector<std::uint8_t>& m_out;
};

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    [[noreturn]] void Fail(std::size_t offset, std::wstring_view what) const
    {
        ZRERR_throwError(kModule, kMalformed, L"malformed packed document at offset %zu: %s", offset, what);
    }

    std::size_t Left() const { return m_size - m_pos; }
    std::size_t Offset() const { return m_pos; }

    void Need(std::size_t bytes, const wchar_t* what) const
    {
        if (bytes > Left())
            Fail(m_pos, ZRSTD::FormatW(L"%s needs %zu bytes, %zu left", what, bytes, Left()));
    }

    std::uint64_t Raw(int bytes, const wchar_t* what)
    {
        Need(static_cast<std::size_t>(bytes), what);
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i) value |= static_cast<std::uint64_t>(m_data[m_pos + i]) << (8 * i);
        m_pos += static_cast<std::size_t>(bytes);
        return value;
    }
    std::uint32_t U32(const wchar_t* what) { return static_cast<std::uint32_t>(Raw(4, what)); }
    std::uint8_t Byte(const wchar_t* what) { return static_cast<std::uint8_t>(Raw(1, what)); }

    std::wstring Text(const wchar_t* what)
    {
        const std::size_t at = m_pos;
        const std::uint32_t units = U32(what);
        if (static_cast<std::uint64_t>(units) * 2 > Left())
            Fail(at, ZRSTD::FormatW(L"%s of %u code units is longer than the %zu bytes left", what, units, Left()));
        std::wstring text = ZRSTD::FromUtf16Le(m_data + m_pos, units);
        m_pos += static_cast<std::size_t>(units) * 2;
        return text;
    }

    CAutoPtr<Params> Container(int depth)
    {
        if (depth > kMaxDepth) Fail(m_pos, ZRSTD::FormatW(L"containers nest deeper than %d levels", kMaxDepth));
        const std::size_t at = m_pos;
        const std::uint32_t count = U32(L"a value count");
        // Each entry takes at least a name length, a type byte and one byte of value.
        if (static_cast<std::uint64_t>(count) * 6 > Left())
            Fail(at, ZRSTD::FormatW(L"a count of %u values is more than the %zu bytes left can hold", count, Left()));
        auto params = CreateParams();
        params->Reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::size_t nameAt = m_pos;
            std::wstring name = Text(L"a value name");
            const std::size_t typeAt = m_pos;
            CAutoPtr<Value> value = Item(depth);
            if (!value) Fail(typeAt, L"an empty value outside an array");
            if (!params->TryAppend(std::move(name), std::move(value)))
                Fail(nameAt, ZRSTD::FormatW(L"the name \"%s\" appears twice", name));
        }
        return params;
    }

    CAutoPtr<Value> Item(int depth)
    {
        const std::size_t at = m_pos;
        const std::uint8_t type = Byte(L"a type byte");
        switch (type) {
        case VT_EMPTY + 1: return nullptr;
        case VT_STRING + 1: return CreateValue(Text(L"a string"));
        case VT_BOOL + 1: {
            const std::uint8_t b = Byte(L"a bool");
            if (b > 1) Fail(at + 1, ZRSTD::FormatW(L"a bool byte of %u (only 0 and 1 are valid)", b));
            return CreateValue(b == 1);
        }
        case VT_INT + 1: return CreateValue(static_cast<std::int32_t>(static_cast<std::uint32_t>(Raw(4, L"an int"))));
        case VT_LONG + 1: return CreateValue(static_cast<std::int64_t>(Raw(8, L"a long")));
        case VT_DATETIME + 1: return CreateValue(DateTime{static_cast<std::int64_t>(Raw(8, L"a date-time"))});
        case VT_BINARY + 1: {
            const std::size_t lengthAt = m_pos;
            const std::uint32_t length = U32(L"a binary length");
            if (length > Left())
                Fail(lengthAt, ZRSTD::FormatW(L"a binary of %u bytes is longer than the %zu bytes left", length, Left()));
            auto value = CreateValue(binary_wrapper_t{m_data + m_pos, length});
            m_pos += length;
            return value;
        }
        case VT_PARAMS + 1: return CreateValue(Container(depth + 1).Get());
        case VT_ARRAY + 1: {
            if (depth + 1 > kMaxDepth) Fail(at, ZRSTD::FormatW(L"containers nest deeper than %d levels", kMaxDepth));
            const std::size_t countAt = m_pos;
            const std::uint32_t count = U32(L"an array size");
            if (count > Left())
                Fail(countAt, ZRSTD::FormatW(L"an array of %u items is more than the %zu bytes left can hold", count, Left()));
            auto array = CreateArrayValue();
            for (std::uint32_t i = 0; i < count; ++i) array->Append(Item(depth + 1).Get());
            return array;
        }
        default: Fail(at, ZRSTD::FormatW(L"unknown type byte 0x%02X", type));
        }
    }

    CAutoPtr<Params> Document()
    {
        if (m_size < kPackedMagic.size() || std::memcmp(m_data, kPackedMagic.data(), kPackedMagic.size()) != 0)
            Fail(0, L"the document does not start with \"<!--ZRPARBIN -->\"");
        m_pos = kPackedMagic.size();
        const std::uint32_t headerSize = U32(L"the header size");
        if (headerSize != kPackedHeaderSize)
            Fail(16, ZRSTD::FormatW(L"header size %u (expected %zu)", headerSize, kPackedHeaderSize));
        const std::uint32_t first = U32(L"the header");
        if (first != 1) Fail(20, ZRSTD::FormatW(L"header word %u (expected 1)", first));
        const std::uint32_t second = U32(L"the header");
        if (second != 1) Fail(24, ZRSTD::FormatW(L"header word %u (expected 1)", second));
        auto root = Container(1);
        if (m_pos != m_size) Fail(m_pos, ZRSTD::FormatW(L"%zu bytes follow the root container", Left()));
        return root;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

}  // namespace

std::vector<std::uint8_t> SerializePacked(const Params& params)
{
    std::vector<std::uint8_t> out;
    out.reserve(4096);
    out.insert(out.end(), kPackedMagic.begin(), kPackedMagic.end());
    Writer writer(out);
    writer.Raw(kPackedHeaderSize, 4);
    writer.Raw(1, 4);
    writer.Raw(1, 4);
    writer.Container(params, 1);
    return out;
}

CAutoPtr<Params> DeserializePacked(const std::uint8_t* data, std::size_t size)
{
    if (!data && size) ZRERR_throwError(kModule, kInvalidValue, L"no data to read");
    static const std::uint8_t kNothing = 0;
    return Reader(data ? data : &kNothing, size).Document();
}

bool LooksPacked(const std::uint8_t* data, std::size_t size)
{
    return data && size >= kPackedMagic.size() && std::memcmp(data, kPackedMagic.data(), kPackedMagic.size()) == 0;
}

}  // namespace ZRPAR
