// The store folder's watch on Windows: ReadDirectoryChangesW on the folder's file names, asked
// without waiting except for the marker that says it has caught up.
#include <windows.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "store/disk_file_system.h"
#include "win/unique_handle.h"

namespace tessera {
namespace {

using win::unique_handle;
using win::unique_hfile;

// Files only: a folder's name is no item, and the records then say exactly what each file did.
constexpr DWORD kWatched = FILE_NOTIFY_CHANGE_FILE_NAME;
// As much as one read may carry; more changes than fit between two showings run it over, and the
// folder is listed again. A megabyte holds some 20,000 changed names (ten thousand files deleted
// by hand); over a network a read takes 64 KB at most.
constexpr DWORD kBufferBytes = 1024 * 1024;
constexpr DWORD kNetworkBufferBytes = 64 * 1024;
// The system reports a change within milliseconds; a marker not seen by then is taken as lost.
constexpr DWORD kMarkerWaitMs = 1000;

struct FolderIdentity {
    DWORD volume = 0, high = 0, low = 0;
    bool operator==(const FolderIdentity&) const = default;
};

std::optional<FolderIdentity> IdentityOf(HANDLE folder) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(folder, &info)) return std::nullopt;
    return FolderIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

unique_hfile OpenFolder(const std::string& dir, DWORD access, DWORD flags) {
    return unique_hfile(::CreateFileA(dir.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr));
}

// Each watch its own marker: another watch's marker is a change like any other.
std::atomic<unsigned> watches{0};

// A read of the folder's changes is always pending while the watch runs: the system keeps what
// happens between two reads for the next one. The reads complete in the background; a question
// makes a hidden marker file appear and go, and takes the completed reads up to the marker's
// removal, which proves that every change made before the question has been taken.
class DirectoryWatch final : public FolderWatch {
public:
    explicit DirectoryWatch(std::string dir)
        : dir_(std::move(dir)),
          marker_(L"Tessera-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++watches) + L".sync"),
          buffer_(std::make_unique<DWORD[]>(kBufferBytes / sizeof(DWORD))),
          bufferBytes_(kBufferBytes) {}
    DirectoryWatch(const DirectoryWatch&) = delete;
    DirectoryWatch& operator=(const DirectoryWatch&) = delete;
    ~DirectoryWatch() override { Stop(); }

    FolderChanges TakeChanges() override {
        if (!watching_ || !StillTheFolder()) return Restart();
        const std::wstring marker = WideDir() + L"\\" + marker_;
        unique_hfile made(::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (!made) return Restart();

        FolderChanges changes{false, {}};
        made.reset();  // the marker goes with its handle
        const DWORD deadline = ::GetTickCount() + kMarkerWaitMs;
        for (bool caughtUp = false; !caughtUp;) {
            const auto left = static_cast<LONG>(deadline - ::GetTickCount());
            DWORD bytes = 0;
            if (::WaitForSingleObject(event_.get(), left > 0 ? static_cast<DWORD>(left) : 0) != WAIT_OBJECT_0 ||
                !::GetOverlappedResult(folder_.get(), &overlapped_, &bytes, FALSE))
                return Restart();
            // No bytes: more changes came than the buffer holds, the marker perhaps among them.
            if (bytes == 0) return Restart();
            caughtUp = TakeRecords(changes);
            if (!Arm()) return Restart();
        }
        return changes;
    }

private:
    std::wstring WideDir() const {
        const int n = ::MultiByteToWideChar(CP_ACP, 0, dir_.data(), static_cast<int>(dir_.size()), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(n), L'\0');
        ::MultiByteToWideChar(CP_ACP, 0, dir_.data(), static_cast<int>(dir_.size()), wide.data(), n);
        return wide;
    }

    // The changes of the completed read; true once the marker's removal is among them. A name
    // beyond ASCII would come back from a listing through the code page's best fit, which a
    // change cannot be matched against: the answer is then unknown.
    bool TakeRecords(FolderChanges& changes) {
        bool caughtUp = false;
        const auto* bytes = reinterpret_cast<const BYTE*>(buffer_.get());
        for (DWORD offset = 0;;) {
            const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(bytes + offset);
            const std::wstring_view name(record->FileName, record->FileNameLength / sizeof(WCHAR));
            if (name == marker_) {
                caughtUp = caughtUp || record->Action == FILE_ACTION_REMOVED;
            } else {
                std::string narrow;
                for (const wchar_t c : name) {
                    if (c >= 0x80) changes.unknown = true;
                    narrow += static_cast<char>(c);
                }
                const bool present =
                    record->Action == FILE_ACTION_ADDED || record->Action == FILE_ACTION_RENAMED_NEW_NAME;
                const bool gone =
                    record->Action == FILE_ACTION_REMOVED || record->Action == FILE_ACTION_RENAMED_OLD_NAME;
                if (present || gone) changes.changes.push_back({std::move(narrow), present});
            }
            if (record->NextEntryOffset == 0) return caughtUp;
            offset += record->NextEntryOffset;
        }
    }

    bool Arm() {
        for (;;) {
            ::ResetEvent(event_.get());
            overlapped_ = OVERLAPPED{};
            overlapped_.hEvent = event_.get();
            if (::ReadDirectoryChangesW(folder_.get(), buffer_.get(), bufferBytes_, FALSE, kWatched, nullptr,
                                        &overlapped_, nullptr))
                return true;
            if (::GetLastError() != ERROR_INVALID_PARAMETER || bufferBytes_ == kNetworkBufferBytes) return false;
            bufferBytes_ = kNetworkBufferBytes;
        }
    }

    // The folder at the path is still the one watched (it was not renamed away and replaced).
    bool StillTheFolder() const {
        const unique_hfile now = OpenFolder(dir_, FILE_READ_ATTRIBUTES, 0);
        return now && IdentityOf(now.get()) == identity_;
    }

    // Whatever happened before this is unknown; the watch starts again, before any listing.
    FolderChanges Restart() {
        Stop();
        folder_ = OpenFolder(dir_, FILE_LIST_DIRECTORY, FILE_FLAG_OVERLAPPED);
        if (!event_) event_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        identity_ = folder_ ? IdentityOf(folder_.get()) : std::nullopt;
        watching_ = folder_ && event_ && identity_ && Arm();
        return FolderChanges{};
    }

    // A pending read writes into the buffer until it has ended: it is cancelled and awaited first.
    void Stop() noexcept {
        if (watching_) {
            DWORD ignored = 0;
            ::CancelIoEx(folder_.get(), &overlapped_);
            ::GetOverlappedResult(folder_.get(), &overlapped_, &ignored, TRUE);
        }
        watching_ = false;
        folder_.reset();
    }

    std::string dir_;
    std::wstring marker_;
    std::unique_ptr<DWORD[]> buffer_;
    DWORD bufferBytes_;
    unique_hfile folder_;
    unique_handle event_;
    OVERLAPPED overlapped_{};
    std::optional<FolderIdentity> identity_;
    bool watching_ = false;
};

}  // namespace

std::unique_ptr<FolderWatch> DiskFileSystem::WatchFolder(const std::string& dir) {
    return std::make_unique<DirectoryWatch>(dir);
}

}  // namespace tessera
