// Writing a file so that a failure never costs the user the file they had: a full disk, a
// quota, a cut network share or an interrupted program leave the previous file as it was.

#include "core/common/file_write.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kova {
namespace {

using Outcome = FileWrite::Outcome;

/// The temporary file of the write under way, for the interrupt handler: a fixed buffer,
/// since a handler may not allocate, claimed by one writer at a time (another writer at
/// the same moment goes without).
constexpr std::size_t kTemporaryPathBytes = 4096;
char g_temporary[kTemporaryPathBytes];
std::atomic<bool> g_claimed{false};
std::atomic<bool> g_armed{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the handler reads it");

/// Names the temporary file for the handler while it exists.
class TemporaryWatch {
public:
    explicit TemporaryWatch(const std::string& path) {
        if (path.size() < kTemporaryPathBytes && !g_claimed.exchange(true)) {
            std::memcpy(g_temporary, path.c_str(), path.size() + 1);
            g_armed.store(true);
            m_owner = true;
        }
    }
    TemporaryWatch(const TemporaryWatch&) = delete;
    TemporaryWatch& operator=(const TemporaryWatch&) = delete;
    ~TemporaryWatch() {
        if (m_owner) {
            g_armed.store(false);
            g_claimed.store(false);
        }
    }

private:
    bool m_owner = false;
};

/// Only async-signal-safe calls: unlink, then the signal again, whose default action (set
/// back by SA_RESETHAND) ends the program once the handler returns.
void RemoveTemporaryAndStop(int signal) {
    const int saved = errno;
    if (g_armed.load()) {
        ::unlink(g_temporary);
    }
    ::raise(signal);
    errno = saved;
}

FileWrite Failed(Outcome outcome, int error) {
    return {outcome, error, error != 0 ? std::generic_category().message(error) : std::string()};
}

/// "PATH.tmp-" and eight letters or digits that differ between programs and calls; the
/// exclusive creation, not the name, is what keeps other files safe.
std::string TemporaryName(const std::string& path) {
    static std::atomic<std::uint64_t> calls{0};
    const auto now =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::uint64_t mix =
        now ^ (static_cast<std::uint64_t>(::getpid()) << 32) ^ (++calls * 0x9E3779B97F4A7C15ull);
    static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = path + ".tmp-";
    for (int i = 0; i < 8; ++i) {
        name += kDigits[mix % 36];
        mix /= 36;
    }
    return name;
}

/// A new file next to `path`, made with O_EXCL (so never a file or link already there) and
/// mode 0666 less the umask, as any new file; a file replacing another is private until it
/// has the other's permissions. mkstemp would give every file mode 0600.
FileWrite CreateTemporary(const std::string& path, std::string& temporary, int& fd) {
    struct stat existing {};
    const bool replaces = ::stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    constexpr int kAttempts = 100;
    int error = 0;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        temporary = TemporaryName(path);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    replaces ? 0600 : 0666);
        if (fd >= 0) {
            if (replaces) {
                // Not being able to copy the permissions loses nothing: the file stays private.
                static_cast<void>(::fchmod(fd, existing.st_mode & 0777));
            }
            return {};
        }
        error = errno;
        if (error != EEXIST) {
            break;
        }
    }
    return Failed(Outcome::CannotCreate, error);
}

/// Writes every byte, then syncs them to disk; the error number of the first failure.
int WriteAndSync(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return written < 0 ? errno : EIO;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::fsync(fd) != 0 && errno != EINVAL) { // EINVAL: a file that cannot be synced
        return errno;
    }
    return 0;
}

/// Gives the finished file its name. Without `replace` a hard link takes the name only
/// when it is free; where the file system has no hard links, the check comes before a
/// rename.
FileWrite Place(const std::string& temporary, const std::string& path, bool replace) {
    if (!replace) {
        if (::link(temporary.c_str(), path.c_str()) == 0) {
            ::unlink(temporary.c_str());
            return {};
        }
        struct stat there {};
        if (errno == EEXIST || ::lstat(path.c_str(), &there) == 0) {
            return Failed(Outcome::Exists, 0);
        }
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        return Failed(Outcome::CannotPlace, errno);
    }
    return {};
}

/// Makes the new name last: the folder's entry is synced where the file system can.
void SyncFolderOf(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        static_cast<void>(::fsync(fd));
        ::close(fd);
    }
}

} // namespace

FileWrite WriteFileSafely(const std::string& path, std::string_view bytes, bool replaceExisting) {
    struct stat there {};
    if (!replaceExisting && ::lstat(path.c_str(), &there) == 0) {
        return Failed(Outcome::Exists, 0);
    }
    std::string temporary;
    int fd = -1;
    if (FileWrite created = CreateTemporary(path, temporary, fd); !created.ok()) {
        return created;
    }
    const TemporaryWatch watch(temporary);
    int error = WriteAndSync(fd, bytes);
    // A close that fails (a network file system reporting late) means the data may be lost;
    // EINTR leaves the file closed, after a sync that succeeded.
    if (::close(fd) != 0 && errno != EINTR && error == 0) {
        error = errno;
    }
    FileWrite result =
        error != 0 ? Failed(Outcome::CannotWrite, error) : Place(temporary, path, replaceExisting);
    if (!result.ok()) {
        ::unlink(temporary.c_str());
        return result;
    }
    SyncFolderOf(path);
    return result;
}

Status WriteFileAtomically(const std::string& path, std::string_view bytes, bool replaceExisting) {
    const FileWrite written = WriteFileSafely(path, bytes, replaceExisting);
    if (written.ok()) {
        return Status::Ok();
    }
    if (written.outcome == Outcome::Exists) {
        return Status::Fail("The file " + path + " already exists");
    }
    if (written.outcome == Outcome::CannotCreate && written.error == ENOENT) {
        return Status::Fail("Cannot write file " + path);
    }
    return Status::Fail("Cannot write file " + path + ": " + written.reason);
}

void RemoveTemporaryFileOnInterrupt() {
    // Past a file size limit the write fails with EFBIG and its reason is said, instead of
    // the program being killed with the temporary file left behind.
    struct sigaction limit {};
    if (::sigaction(SIGXFSZ, nullptr, &limit) == 0 && (limit.sa_flags & SA_SIGINFO) == 0 &&
        limit.sa_handler == SIG_DFL) {
        std::signal(SIGXFSZ, SIG_IGN);
    }
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || (current.sa_flags & SA_SIGINFO) != 0 ||
            current.sa_handler != SIG_DFL) {
            continue; // ignored, or someone else's: left as it is
        }
        struct sigaction action {};
        action.sa_handler = &RemoveTemporaryAndStop;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        ::sigaction(signal, &action, nullptr);
    }
}

} // namespace kova
