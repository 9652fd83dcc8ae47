#include "zrpar/Packed.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/Errors.h"
#include "support/NotificationDocument.h"
#include "zrstd/Strings.h"

using namespace ZRPAR;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Writes packed documents by hand, for inputs the serializer refuses to make.
class PackedBuilder {
public:
    PackedBuilder()
    {
        m_bytes.assign(kPackedMagic.begin(), kPackedMagic.end());
        U32(28), U32(1), U32(1);
    }
    PackedBuilder& U32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i) m_bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return *this;
    }
    PackedBuilder& Byte(std::uint8_t b)
    {
        m_bytes.push_back(b);
        return *this;
    }
    PackedBuilder& Name(std::wstring_view name)
    {
        U32(static_cast<std::uint32_t>(name.size()));
        ZRSTD::AppendUtf16Le(m_bytes, name);
        return *this;
    }
    Bytes Take() { return std::move(m_bytes); }

private:
    Bytes m_bytes;
};

ZRERR::Error DecodeError(const Bytes& bytes)
{
    return testsupport::Raised([&] { DeserializePacked(bytes.data(), bytes.size()); });
}

CAutoPtr<Params> EveryType()
{
    const std::uint8_t bytes[] = {0, 0xFF, 0x7F};
    auto array = CreateArrayValue(4);
    array->SetAt(0, CreateValue(1).Get());
    array->SetAt(1, CreateValue(L"two").Get());
    array->SetAt(3, CreateValue(CreateParamsBody({{L"in", true}}).Get()).Get());  // slot 2 stays empty
    return CreateParamsBody({
        {L"string", L"Привет \U0001F600"},
        {L"empty string", L""},
        {L"bool", false},
        {L"int", -2147483647 - 1},
        {L"long", std::int64_t{-1}},
        {L"datetime", DateTime{-86400}},
        {L"binary", binary_wrapper_t{bytes, 3}},
        {L"empty binary", binary_wrapper_t{nullptr, 0}},
        {L"params", CreateParamsBody({{L"nested", CreateParams()}})},
        {L"array", array},
        {L"", L"an empty name"},
    });
}

}  // namespace

TEST(PackedForm, LaysOutASmallDocumentByteForByte)
{
    const Bytes expected = PackedBuilder().U32(1).Name(L"b").Byte(0x03).Byte(0x01).Take();
    EXPECT_EQ(SerializePacked(*CreateParamsBody({{L"b", true}})), expected);
    EXPECT_EQ(expected.size(), 40u);
}

TEST(PackedForm, TypeBytesAreTheValueTypePlusOne)
{
    const struct {
        CAutoPtr<Value> value;
        std::uint8_t typeByte;
    } cases[] = {
        {CreateValue(L"s"), 0x02}, {CreateValue(true), 0x03}, {CreateValue(1), 0x04},
        {CreateValue(std::int64_t{1}), 0x05}, {CreateValue(DateTime{1}), 0x06},
        {CreateValue(binary_wrapper_t{"x", 1}), 0x08}, {CreateValue(CreateParams().Get()), 0x0B},
        {CreateArrayValue(), 0x0C},
    };
    for (const auto& c : cases) {
        auto params = CreateParams();
        params->AddValue(L"v", c.value.Get());
        const Bytes bytes = SerializePacked(*params);
        // magic, header, count, name length, one UTF-16 unit: the type byte is at 38
        ASSERT_GT(bytes.size(), 38u);
        EXPECT_EQ(bytes[38], c.typeByte) << ZRSTD::ToUtf8(TypeName(c.value->GetType()));
    }
}

TEST(PackedForm, EveryTypeRoundTripsToAnEqualContainerAndTheSameBytes)
{
    const auto original = EveryType();
    const Bytes bytes = SerializePacked(*original);
    const auto decoded = DeserializePacked(bytes.data(), bytes.size());
    EXPECT_TRUE(Equals(*decoded, *original));
    EXPECT_EQ(decoded->GetNames(), original->GetNames());
    EXPECT_EQ(SerializePacked(*decoded), bytes);
}

TEST(PackedForm, TheNotificationDocumentShapeTakes31081BytesAndRoundTrips)
{
    const auto document = testsupport::NotificationDocument();
    const Bytes bytes = SerializePacked(*document);
    EXPECT_EQ(bytes.size(), 31081u);
    const auto decoded = DeserializePacked(bytes.data(), bytes.size());
    EXPECT_EQ(decoded->GetNames(), (std::vector<std::wstring>{L"ZRPRSS_Mnd", L"ZRPRSS_Val"}));
    EXPECT_TRUE(Equals(*decoded, *document));
    EXPECT_EQ(SerializePacked(*decoded), bytes);
}

TEST(PackedForm, RejectsAWrongMagicOrHeader)
{
    Bytes bytes = SerializePacked(*CreateParamsBody({{L"b", true}}));
    struct {
        std::size_t offset;
        std::uint8_t value;
        const wchar_t* says;
    } faults[] = {{0, '[', L"does not start with"}, {16, 29, L"header size 29"}, {20, 2, L"header word 2"},
                  {24, 0, L"header word 0"}};
    for (const auto& fault : faults) {
        Bytes broken = bytes;
        broken[fault.offset] = fault.value;
        const auto error = DecodeError(broken);
        EXPECT_EQ(error.GetCode(), kMalformed);
        EXPECT_NE(error.GetMessage().find(fault.says), std::wstring::npos) << ZRSTD::ToUtf8(error.GetMessage());
        EXPECT_NE(error.GetMessage().find(ZRSTD::FormatW(L"offset %zu", fault.offset)), std::wstring::npos)
            << ZRSTD::ToUtf8(error.GetMessage());
    }
    EXPECT_EQ(DecodeError(Bytes{}).GetCode(), kMalformed);
    EXPECT_EQ(DecodeError(Bytes(kPackedMagic.begin(), kPackedMagic.end())).GetCode(), kMalformed);
}

TEST(PackedForm, TruncationAtEveryOffsetOfARealDocumentIsAnError)
{
    const Bytes bytes = SerializePacked(*EveryType());
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        const Bytes prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        const auto error = DecodeError(prefix);
        ASSERT_EQ(error.GetCode(), kMalformed) << "prefix of " << length << " bytes";
        ASSERT_NE(error.GetMessage().find(L"offset"), std::wstring::npos);
    }
}

TEST(PackedForm, MalformedContentIsRefusedBeforeAllocatingAndSaysWhereAndWhy)
{
    const struct {
        Bytes bytes;
        const wchar_t* says;
    } cases[] = {
        // counts and lengths beyond the bytes left
        {PackedBuilder().U32(0xFFFFFFFF).Take(), L"a count of 4294967295 values"},
        {PackedBuilder().U32(1).U32(0x7FFFFFFF).Byte(0).Byte(0).Take(), L"a value name of 2147483647 code units"},
        {PackedBuilder().U32(1).Name(L"s").Byte(0x02).U32(0x40000000).Take(), L"a string of 1073741824 code units"},
        {PackedBuilder().U32(1).Name(L"b").Byte(0x08).U32(0xFFFFFFF0).Take(), L"a binary of 4294967280 bytes"},
        {PackedBuilder().U32(1).Name(L"a").Byte(0x0C).U32(0xFFFFFFFF).Take(), L"an array of 4294967295 items"},
        // unknown types, bad bools, repeated names, empty values, trailing bytes
        {PackedBuilder().U32(1).Name(L"x").Byte(0x07).Take(), L"offset 38: unknown type byte 0x07"},
        {PackedBuilder().U32(1).Name(L"x").Byte(0x00).Take(), L"unknown type byte 0x00"},
        {PackedBuilder().U32(1).Name(L"x").Byte(0xFF).Take(), L"unknown type byte 0xFF"},
        {PackedBuilder().U32(1).Name(L"x").Byte(0x03).Byte(2).Take(), L"offset 39: a bool byte of 2"},
        {PackedBuilder().U32(2).Name(L"x").Byte(0x03).Byte(1).Name(L"x").Byte(0x03).Byte(0).Take(),
         L"offset 40: the name \"x\" appears twice"},
        {PackedBuilder().U32(1).Name(L"x").Byte(0x01).Take(), L"an empty value outside an array"},
        {PackedBuilder().U32(0).Byte(0).Take(), L"offset 32: 1 bytes follow the root container"},
        {PackedBuilder().U32(1).Name(L"a").Byte(0x0C).U32(1).Byte(0x03).Byte(9).Take(), L"a bool byte of 9"},
    };
    for (const auto& c : cases) {
        const auto error = DecodeError(c.bytes);
        EXPECT_EQ(error.GetCode(), kMalformed);
        EXPECT_NE(error.GetMessage().find(c.says), std::wstring::npos) << ZRSTD::ToUtf8(error.GetMessage());
    }
}

TEST(PackedForm, NestingIsLimitedWithoutExhaustingTheStack)
{
    auto nestedContainers = [](int levels) {
        PackedBuilder builder;
        for (int i = 1; i < levels; ++i) builder.U32(1).Name(L"n").Byte(0x0B);
        return builder.U32(0).Take();
    };
    auto nestedArrays = [](int levels) {  // the root holds an array of arrays of ...
        PackedBuilder builder;
        builder.U32(1).Name(L"a").Byte(0x0C);
        for (int i = 2; i < levels; ++i) builder.U32(1).Byte(0x0C);
        return builder.U32(0).Take();
    };
    // The root is level 1: 256 levels are read, 257 are refused.
    const Bytes deepest = nestedContainers(kMaxDepth);
    EXPECT_NO_THROW(DeserializePacked(deepest.data(), deepest.size()));
    EXPECT_EQ(DecodeError(nestedContainers(kMaxDepth + 1)).GetCode(), kMalformed);
    EXPECT_EQ(DecodeError(nestedContainers(100000)).GetCode(), kMalformed);
    const Bytes deepArrays = nestedArrays(kMaxDepth);
    EXPECT_NO_THROW(DeserializePacked(deepArrays.data(), deepArrays.size()));
    EXPECT_EQ(DecodeError(nestedArrays(kMaxDepth + 1)).GetCode(), kMalformed);
    EXPECT_EQ(DecodeError(nestedArrays(100000)).GetCode(), kMalformed);

    // The writer refuses to make what the reader would refuse.
    auto root = CreateParams();
    Params* level = root.Get();
    for (int i = 1; i < kMaxDepth + 1; ++i) {
        auto child = CreateParams();
        level->AddValue(L"n", CreateValue(child.Get()).Get());
        level = child.Get();
    }
    EXPECT_EQ(testsupport::Raised([&] { SerializePacked(*root); }).GetCode(), kTooDeep);
}

TEST(PackedForm, TestDocumentsBecomeTheFuzzerSeedCorpus)
{
    namespace fs = std::filesystem;
    const fs::path directory = ZR_FUZZ_SEED_DIR;
    fs::create_directories(directory);
    const struct {
        const char* name;
        Bytes bytes;
    } seeds[] = {
        {"every-type.bin", SerializePacked(*EveryType())},
        {"notification-defaults.bin", SerializePacked(*testsupport::NotificationDocument())},
        {"small.bin", SerializePacked(*CreateParamsBody({{L"b", true}}))},
        {"empty.bin", SerializePacked(*CreateParams())},
    };
    for (const auto& seed : seeds) {
        std::ofstream(directory / seed.name, std::ios::binary)
            .write(reinterpret_cast<const char*>(seed.bytes.data()), static_cast<std::streamsize>(seed.bytes.size()));
        EXPECT_EQ(fs::file_size(directory / seed.name), seed.bytes.size());
    }
}
