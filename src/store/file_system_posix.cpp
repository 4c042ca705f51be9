#include "store/disk_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <utility>

namespace tessera {

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) noexcept : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const noexcept { return fd_; }
    explicit operator bool() const noexcept { return fd_ >= 0; }
    // Closes now, so that a late write error is seen.
    bool Close() noexcept { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A new file beside `target` under a name no other writer picks. The name starts with "." so
// that folder listings pass over a copy left behind by a crash.
int CreateTemporaryBeside(const std::string& target, std::string& name) {
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "." + base + "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Makes a rename in `folder` durable. Some file systems cannot sync a folder: the rename has
// happened all the same, so a failure here is not a failure to save.
void SyncFolder(const std::string& folder) {
    Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) ::fsync(fd.get());
}

}  // namespace

std::optional<std::string> DiskFileSystem::ReadAll(const std::string& path) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0) return std::nullopt;
    return ReadWholeFile(static_cast<std::size_t>(st.st_size), [&fd](char* into, std::size_t room) {
        for (;;) {
            const ssize_t n = ::read(fd.get(), into, room);
            if (n >= 0 || errno != EINTR) return std::int64_t{n};
        }
    });
}

std::optional<std::string> DiskFileSystem::ReadStart(const std::string& path, std::size_t bytes) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) return std::nullopt;
    std::string head(bytes, '\0');
    std::size_t filled = 0;
    while (filled < bytes) {
        const ssize_t n = ::read(fd.get(), head.data() + filled, bytes - filled);
        if (n == 0) break;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        filled += static_cast<std::size_t>(n);
    }
    head.resize(filled);
    return head;
}

// The new content goes to a temporary file beside the target, is flushed to disk, and then
// renamed over the target in one step: a crash or a full disk leaves the old file whole.
// A target with several hard links would lose its identity (the other names would keep the old
// content), so there the flushed copy only guards the rewrite of the target in place. A symbolic
// link is followed, so that the link stays a link.
bool DiskFileSystem::ReplaceContents(const std::string& path, std::string_view bytes) {
    std::string target = path;
    struct stat st {};
    bool exists = ::lstat(path.c_str(), &st) == 0;
    if (exists && S_ISLNK(st.st_mode)) {
        std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
        if (real) target = real.get();
        exists = ::stat(target.c_str(), &st) == 0;
    }
    if (exists && !S_ISREG(st.st_mode)) return false;

    std::string temporary;
    Descriptor out(CreateTemporaryBeside(target, temporary));
    if (!out) return false;
    bool removeTemporary = true;
    const auto cleanup = [&](bool ok) {
        if (removeTemporary) ::unlink(temporary.c_str());
        return ok;
    };

    if (exists) ::fchmod(out.get(), st.st_mode & 07777);  // the new file keeps the old one's mode
    if (!WriteAll(out.get(), bytes) || ::fsync(out.get()) != 0 || !out.Close()) return cleanup(false);

    if (exists && st.st_nlink > 1) {
        Descriptor inPlace(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
        if (!inPlace) return cleanup(false);
        // From here on the target may be half written: the flushed copy is then the only whole
        // one, so it stays.
        const bool ok = WriteAll(inPlace.get(), bytes) &&
                        ::ftruncate(inPlace.get(), static_cast<off_t>(bytes.size())) == 0 &&
                        ::fsync(inPlace.get()) == 0 && inPlace.Close();
        removeTemporary = ok;
        return cleanup(ok);
    }

    if (::rename(temporary.c_str(), target.c_str()) != 0) return cleanup(false);
    removeTemporary = false;
    SyncFolder(FolderOf(target));
    return true;
}

NewFileResult DiskFileSystem::CreateNewFile(const std::string& path, std::string_view bytes) {
    Descriptor out(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!out) return errno == EEXIST ? NewFileResult::Exists : NewFileResult::Failed;
    if (WriteAll(out.get(), bytes) && out.Close()) return NewFileResult::Created;
    ::unlink(path.c_str());
    return NewFileResult::Failed;
}

bool DiskFileSystem::FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DiskFileSystem::DirectoryExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DiskFileSystem::MakeDirectory(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0; }

bool DiskFileSystem::RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

// Dot files stand for hidden ones.
std::optional<std::vector<FolderEntry>> DiskFileSystem::ListFiles(const std::string& dir) {
    std::vector<FolderEntry> files;
    std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(dir.c_str()), &::closedir);
    if (!folder) return std::nullopt;
    while (const dirent* entry = ::readdir(folder.get())) {
        struct stat st {};
        if (::fstatat(::dirfd(folder.get()), entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
            files.push_back({entry->d_name, entry->d_name[0] != '.'});
    }
    return files;
}

LockAttempt DiskFileSystem::LockFile(const std::string&, std::string_view) { return {}; }

std::unique_ptr<FolderWatch> DiskFileSystem::WatchFolder(const std::string&) { return nullptr; }

}  // namespace tessera
