#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "zrpar/Params.h"

// The XML envelope around the packed form, and the memory and file forms.
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <root xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"
//         xmlns:xsd="http://www.w3.org/2001/XMLSchema" xsi:type="param:params">
//     <checksum>0</checksum>
//     <binfmt xsi:type="xsd:base64Binary">...base64 of the packed form...</binfmt>
//   </root>
namespace ZRPAR {

enum class DocumentFormat { Packed, Xml };

ZR_API std::string SerializeXml(const Params& params);
ZR_API CAutoPtr<Params> DeserializeXml(std::string_view document);

// Packed or XML, told apart by the packed magic.
ZR_API CAutoPtr<Params> Deserialize(const std::uint8_t* data, std::size_t size);
ZR_API std::vector<std::uint8_t> Serialize(const Params& params, DocumentFormat format);

// Writes the file through ZRSTD::WriteFileAtomically, so that a reader (and
// the disk after a crash) sees the old or the new document, never part of
// one. Raises kFileError naming the file.
ZR_API void WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes);
ZR_API std::vector<std::uint8_t> ReadFile(const std::string& path);

}  // namespace ZRPAR

ZR_API void ZRPAR_DeserializeFromMemory(const void* data, std::size_t size, ZRPAR::Params** ppParams);
ZR_API void ZRPAR_SerializeToMemory(const ZRPAR::Params* params, std::vector<std::uint8_t>& out,
                                    ZRPAR::DocumentFormat format = ZRPAR::DocumentFormat::Packed);
ZR_API void ZRPAR_SerializeToFile(const ZRPAR::Params* params, const std::string& path,
                                  ZRPAR::DocumentFormat format = ZRPAR::DocumentFormat::Xml);
ZR_API void ZRPAR_DeserializeFromFile(const std::string& path, ZRPAR::Params** ppParams);
