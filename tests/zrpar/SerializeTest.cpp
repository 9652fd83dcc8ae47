#include "zrpar/Serialize.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "support/Errors.h"
#include "support/NotificationDocument.h"
#include "support/TempFolder.h"
#include "zrpar/Packed.h"
#include "zrstd/Crypto.h"
#include "zrstd/Strings.h"

using namespace ZRPAR;
using testsupport::Raised;

namespace {

ZRERR::Error ReadError(std::string_view document)
{
    SCOPED_TRACE(document);
    return Raised([&] { Deserialize(reinterpret_cast<const std::uint8_t*>(document.data()), document.size()); });
}

}  // namespace

TEST(XmlEnvelope, HoldsTheBase64OfThePackedForm)
{
    const auto params = testsupport::NotificationDocument();
    const std::string xml = SerializeXml(*params);

    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(xml.c_str()));
    const pugi::xml_node root = document.child("root");
    ASSERT_TRUE(root);
    EXPECT_STREQ(root.attribute("xsi:type").value(), "param:params");
    EXPECT_STREQ(root.attribute("xmlns:xsi").value(), "http://www.w3.org/2001/XMLSchema-instance");
    EXPECT_STREQ(root.attribute("xmlns:xsd").value(), "http://www.w3.org/2001/XMLSchema");
    EXPECT_STREQ(root.child("checksum").text().get(), "0");
    EXPECT_STREQ(root.child("binfmt").attribute("xsi:type").value(), "xsd:base64Binary");
    const auto packed = ZRSTD::Base64Decode(root.child("binfmt").text().get());
    ASSERT_TRUE(packed);
    EXPECT_EQ(packed->size(), 31081u);
    EXPECT_EQ(*packed, SerializePacked(*params));
    EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);
}

TEST(XmlEnvelope, MemoryReadingAcceptsTheEnvelopeAndTheBarePackedForm)
{
    const auto params = testsupport::NotificationDocument();
    for (DocumentFormat format : {DocumentFormat::Xml, DocumentFormat::Packed}) {
        const auto bytes = Serialize(*params, format);
        CAutoPtr<Params> decoded;
        ZRPAR_DeserializeFromMemory(bytes.data(), bytes.size(), &decoded);
        ASSERT_TRUE(decoded);
        EXPECT_TRUE(Equals(*decoded, *params));
    }
}

TEST(XmlEnvelope, ADocumentThatIsNotTheEnvelopeSaysWhatIsWrong)
{
    const std::string packed64 = [] {
        const auto bytes = SerializePacked(*CreateParamsBody({{L"b", true}}));
        return ZRSTD::Base64Encode(bytes.data(), bytes.size());
    }();
    const std::string good = "<root xmlns:xsi=\"x\" xsi:type=\"param:params\"><checksum>0</checksum>"
                             "<binfmt xsi:type=\"xsd:base64Binary\">" + packed64 + "</binfmt></root>";
    ASSERT_NO_THROW(Deserialize(reinterpret_cast<const std::uint8_t*>(good.data()), good.size()));

    const struct {
        std::string document;
        const wchar_t* says;
    } cases[] = {
        {"", L"empty"},
        {"not xml at all", L"malformed XML document"},
        {"<root xsi:type=\"param:params\"><binfmt", L"malformed XML document"},
        {"<other/>", L"the root element is <other>"},
        {"<root/>", L"not of type \"param:params\""},
        {"<root xsi:type=\"param:params\"/>", L"has no <binfmt>"},
        {"<root xsi:type=\"param:params\"><binfmt>" + packed64 + "</binfmt></root>", L"not of type \"xsd:base64Binary\""},
        {"<root xsi:type=\"param:params\"><binfmt xsi:type=\"xsd:base64Binary\">@@@@</binfmt></root>", L"valid base64"},
        {"<root xsi:type=\"param:params\"><binfmt xsi:type=\"xsd:base64Binary\">AAAA</binfmt></root>",
         L"does not start with"},
        // entities are never expanded: one that would make the <binfmt> element is ignored
        {"<!DOCTYPE root [<!ENTITY x \"<binfmt xsi:type='xsd:base64Binary'>" + packed64 +
             "</binfmt>\">]><root xsi:type=\"param:params\">&x;</root>",
         L"has no <binfmt>"},
    };
    for (const auto& c : cases) {
        const auto error = ReadError(c.document);
        EXPECT_EQ(error.GetModule(), "ZRPAR");
        EXPECT_EQ(error.GetCode(), kMalformed);
        EXPECT_NE(error.GetMessage().find(c.says), std::wstring::npos) << ZRSTD::ToUtf8(error.GetMessage());
    }
}

TEST(Files, SerializeToFileReplacesTheFileAtomicallyAndReadsBack)
{
    testsupport::TempFolder directory;
    const std::string path = (directory / "policy.xml").string();
    ZRPAR_SerializeToFile(CreateParamsBody({{L"v", 1}}), path);
    ZRPAR_SerializeToFile(CreateParamsBody({{L"v", 2}}), path);
    EXPECT_EQ(directory.Contents(), std::vector<std::string>{"policy.xml"});  // no temporary file is left behind

    CAutoPtr<Params> read;
    ZRPAR_DeserializeFromFile(path, &read);
    EXPECT_EQ(GetIntValue(read, L"v"), 2);

    ZRPAR_SerializeToFile(CreateParamsBody({{L"v", 3}}), path, DocumentFormat::Packed);
    const auto bytes = ReadFile(path);
    EXPECT_TRUE(LooksPacked(bytes.data(), bytes.size()));
}

TEST(Files, AFileThatCannotBeWrittenOrReadRaisesAnErrorNamingIt)
{
    testsupport::TempFolder directory;
    const std::string missingDirectory = (directory / "absent" / "policy.xml").string();
    const auto unwritable = Raised([&] { ZRPAR_SerializeToFile(CreateParams(), missingDirectory); });
    EXPECT_EQ(unwritable.GetCode(), kFileError);
    EXPECT_NE(ZRSTD::ToUtf8(unwritable.GetMessage()).find(missingDirectory), std::string::npos);
    CAutoPtr<Params> read;
    EXPECT_THROW(ZRPAR_DeserializeFromFile(missingDirectory, &read), ZRERR::Error);
    EXPECT_FALSE(read);

    const std::string truncated = (directory / "truncated.bin").string();
    auto bytes = SerializePacked(*testsupport::NotificationDocument());
    bytes.resize(bytes.size() / 2);
    WriteFileAtomically(truncated, bytes);
    EXPECT_EQ(Raised([&] { ZRPAR_DeserializeFromFile(truncated, &read); }).GetCode(), kMalformed);
}
