#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "zrstd/Api.h"

namespace ZRSTD {

// Why a file could not be written: the step that failed ("cannot write",
// "cannot replace", ...) and its errno (0 when the producer gave up).
struct ZR_API FileWriteFailure {
    std::string step;
    int error = 0;
    // "cannot write \"PATH\": No space left on device"
    std::string Describe(const std::filesystem::path& path) const;
};

// Takes the next bytes of the file; false once writing has failed.
using FileSink = std::function<bool(std::string_view bytes)>;

// Writes a file so that readers, and the disk after a crash, see either the
// old file or the whole new one: the bytes go to a new temporary file beside
// path, which is flushed to disk and renamed over path; then the folder is
// flushed so that the rename itself survives. produce hands the bytes to the
// sink and returns false to give up. On any failure the temporary file is
// removed, the old file stays as it was, and what failed is returned; a
// folder that cannot be flushed is reported too, with the new file in place.
ZR_API std::optional<FileWriteFailure> WriteFileAtomically(const std::filesystem::path& path,
                                                           const std::function<bool(const FileSink&)>& produce);
ZR_API std::optional<FileWriteFailure> WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace ZRSTD
