#include "zrpar/Serialize.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <pugixml.hpp>

#include "zrpar/Packed.h"
#include "zrstd/AtomicFile.h"
#include "zrstd/Crypto.h"
#include "zrstd/Error.h"
#include "zrstd/Strings.h"

namespace ZRPAR {

namespace {

[[noreturn]] void FailXml(std::wstring_view what)
{
    ZRERR_throwError(kModule, kMalformed, L"malformed XML document: %s", what);
}

[[noreturn]] void FailFile(const std::string& path, std::string_view what, int error)
{
    ZRERR_throwError(kModule, kFileError, L"%hs \"%hs\": %hs", what, path, std::strerror(error));
}

}  // namespace

std::string SerializeXml(const Params& params)
{
    const std::vector<std::uint8_t> packed = SerializePacked(params);
    std::string document;
    document.reserve(packed.size() * 4 / 3 + 512);
    document +=
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<root xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
        "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" xsi:type=\"param:params\">\r\n"
        "<checksum>0</checksum>\r\n"
        "<binfmt xsi:type=\"xsd:base64Binary\">\r\n";
    document += ZRSTD::Base64Encode(packed.data(), packed.size(), 76);
    document += "</binfmt>\r\n</root>\r\n";
    return document;
}

CAutoPtr<Params> DeserializeXml(std::string_view text)
{
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_auto);
    if (!parsed)
        FailXml(ZRSTD::FormatW(L"%hs at offset %lld", parsed.description(), static_cast<long long>(parsed.offset)));
    const pugi::xml_node root = document.document_element();
    if (std::string_view(root.name()) != "root")
        FailXml(ZRSTD::FormatW(L"the root element is <%hs>, not <root>", root.name()));
    if (std::string_view(root.attribute("xsi:type").value()) != "param:params")
        FailXml(L"the root element is not of type \"param:params\"");
    const pugi::xml_node binfmt = root.child("binfmt");
    if (!binfmt) FailXml(L"the root element has no <binfmt>");
    if (std::string_view(binfmt.attribute("xsi:type").value()) != "xsd:base64Binary")
        FailXml(L"<binfmt> is not of type \"xsd:base64Binary\"");
    const auto bytes = ZRSTD::Base64Decode(binfmt.text().get());
    if (!bytes) FailXml(L"<binfmt> does not hold valid base64");
    return DeserializePacked(bytes->data(), bytes->size());
}

CAutoPtr<Params> Deserialize(const std::uint8_t* data, std::size_t size)
{
    if (LooksPacked(data, size)) return DeserializePacked(data, size);
    if (size == 0) ZRERR_throwError(kModule, kMalformed, L"the document is empty");
    return DeserializeXml(std::string_view(reinterpret_cast<const char*>(data), size));
}

std::vector<std::uint8_t> Serialize(const Params& params, DocumentFormat format)
{
    if (format == DocumentFormat::Packed) return SerializePacked(params);
    const std::string xml = SerializeXml(params);
    return std::vector<std::uint8_t>(xml.begin(), xml.end());
}

void WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    const auto failure = ZRSTD::WriteFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (failure) ZRERR_throwError(kModule, kFileError, L"%hs", failure->Describe(path));
}

std::vector<std::uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) FailFile(path, "cannot open", errno);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) FailFile(path, "cannot read", errno);
    return bytes;
}

}  // namespace ZRPAR

void ZRPAR_DeserializeFromMemory(const void* data, std::size_t size, ZRPAR::Params** ppParams)
{
    ZRSTD_CHECK_ARG(ppParams);
    *ppParams = ZRPAR::Deserialize(static_cast<const std::uint8_t*>(data), size).Detach();
}

void ZRPAR_SerializeToMemory(const ZRPAR::Params* params, std::vector<std::uint8_t>& out, ZRPAR::DocumentFormat format)
{
    ZRSTD_CHECK_ARG(params);
    out = ZRPAR::Serialize(*params, format);
}

void ZRPAR_SerializeToFile(const ZRPAR::Params* params, const std::string& path, ZRPAR::DocumentFormat format)
{
    ZRSTD_CHECK_ARG(params);
    ZRPAR::WriteFileAtomically(path, ZRPAR::Serialize(*params, format));
}

void ZRPAR_DeserializeFromFile(const std::string& path, ZRPAR::Params** ppParams)
{
    ZRSTD_CHECK_ARG(ppParams);
    const auto bytes = ZRPAR::ReadFile(path);
    *ppParams = ZRPAR::Deserialize(bytes.data(), bytes.size()).Detach();
}
