#include "zrstd/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace ZRSTD {

namespace {

// ".NAME.tmp-PID-N" beside the target: hidden, and never another writer's.
std::filesystem::path TemporaryBeside(const std::filesystem::path& target)
{
    static std::atomic<unsigned> counter{0};
    std::filesystem::path name = ".";
    name += target.filename();
    name += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
    return target.parent_path() / name;
}

bool WriteAll(int file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(file, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Makes a finished rename durable: the new name lives in the folder's own data.
bool SyncFolder(const std::filesystem::path& target)
{
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0) return false;
    const bool synced = ::fsync(handle) == 0;
    const int error = errno;
    ::close(handle);
    errno = error;
    return synced;
}

}  // namespace

std::string FileWriteFailure::Describe(const std::filesystem::path& path) const
{
    return step + " \"" + path.string() + "\": " + (error ? std::strerror(error) : "its contents could not be made");
}

std::optional<FileWriteFailure> WriteFileAtomically(const std::filesystem::path& path,
                                                    const std::function<bool(const FileSink&)>& produce)
{
    int file = -1;
    std::filesystem::path temporary;
    for (int attempt = 0; attempt < 8 && file < 0; ++attempt) {
        temporary = TemporaryBeside(path);
        file = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file < 0 && errno != EEXIST) break;
    }
    if (file < 0) return FileWriteFailure{"cannot create a temporary file beside", errno};

    auto abandon = [&](const char* step, int error) {
        if (file >= 0) ::close(file);
        ::unlink(temporary.c_str());
        return FileWriteFailure{step, error};
    };
    int writeError = 0;
    const FileSink sink = [&](std::string_view bytes) {
        if (writeError) return false;
        if (WriteAll(file, bytes)) return true;
        writeError = errno;
        return false;
    };
    bool produced = false;
    try {
        produced = produce(sink);
    } catch (...) {
        abandon("cannot write", 0);
        throw;
    }
    if (writeError) return abandon("cannot write", writeError);
    if (!produced) return abandon("cannot write", 0);
    if (::fsync(file) != 0) return abandon("cannot flush", errno);
    const int closed = ::close(file);
    file = -1;
    if (closed != 0) return abandon("cannot close", errno);
    if (::rename(temporary.c_str(), path.c_str()) != 0) return abandon("cannot replace", errno);
    // the file is in place; only its survival of a crash is in doubt
    if (!SyncFolder(path)) return FileWriteFailure{"cannot flush the folder of", errno};
    return std::nullopt;
}

std::optional<FileWriteFailure> WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes)
{
    return WriteFileAtomically(path, [&](const FileSink& sink) { return sink(bytes); });
}

}  // namespace ZRSTD
