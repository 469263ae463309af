#include "common/FileReplacing.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace toneloft {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTempMark = ".toneloft-save-";
constexpr std::string_view kNoteExtension = ".pending";
constexpr int kMaxLinks = 40; // as the system's own limit on a chain of links

std::mutex g_noteMutex;
std::string g_noteFolder;

std::error_code lastError()
{
    return {errno != 0 ? errno : EIO, std::generic_category()};
}

// The pid in a name ending "<mark><pid>-<n>" (a hidden temporary file) or
// "<pid>-<n>.pending" (a note); 0 when the name is not one of ours.
long pidOfTempName(std::string_view name)
{
    const auto at = name.rfind(kTempMark);
    if (at == std::string_view::npos || name.empty() || name[0] != '.')
        return 0;
    name.remove_prefix(at + kTempMark.size());
    long pid = 0;
    std::size_t i = 0;
    for (; i < name.size() && name[i] >= '0' && name[i] <= '9' && pid < 100'000'000; ++i)
        pid = pid * 10 + (name[i] - '0');
    if (i == 0 || i + 1 >= name.size() || name[i] != '-')
        return 0;
    for (++i; i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9')
            return 0;
    return pid;
}

long pidOfNoteName(std::string_view name)
{
    if (name.size() <= kNoteExtension.size() || !name.ends_with(kNoteExtension))
        return 0;
    name.remove_suffix(kNoteExtension.size());
    long pid = 0;
    std::size_t i = 0;
    for (; i < name.size() && name[i] >= '0' && name[i] <= '9' && pid < 100'000'000; ++i)
        pid = pid * 10 + (name[i] - '0');
    return i > 0 && i < name.size() && name[i] == '-' ? pid : 0;
}

// Whether the process that wrote a file may still be saving: it is this one
// (another thread's save), or a process of that number runs.
bool mayStillBeSaving(long pid)
{
    if (pid == static_cast<long>(::getpid()))
        return true;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// Writes everything and flushes it to the disk; false with errno set.
bool writeAndSync(const fs::path& path, std::span<const std::uint8_t> bytes, mode_t mode)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            const int saved = errno;
            ::close(fd);
            errno = saved;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0)
        return false;
    return true;
}

// The rename is only lasting once the folder itself is on the disk.
void syncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Notes the temporary file in the pending-save folder; the note's path, or
// empty when there is no folder or it cannot be written (the save goes on).
fs::path notePending(const fs::path& temp, unsigned number)
{
    std::lock_guard lock(g_noteMutex);
    if (g_noteFolder.empty())
        return {};
    const fs::path note = fs::path(g_noteFolder) /
                          (std::to_string(::getpid()) + "-" + std::to_string(number) + std::string(kNoteExtension));
    std::ofstream out(note, std::ios::binary | std::ios::trunc);
    out << temp.string();
    out.close();
    if (!out) {
        std::error_code ec;
        fs::remove(note, ec);
        return {};
    }
    return note;
}

void removeQuietly(const fs::path& path)
{
    std::error_code ec;
    if (!path.empty())
        fs::remove(path, ec);
}

int sweepFolder(const fs::path& folder)
{
    int removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const long pid = pidOfTempName(name);
        if (pid == 0 || mayStillBeSaving(pid))
            continue;
        std::error_code rm;
        if (fs::remove(it->path(), rm))
            ++removed;
    }
    return removed;
}

} // namespace

std::string ResolveSaveTarget(const std::string& path)
{
    fs::path p(path);
    for (int i = 0; i < kMaxLinks; ++i) {
        std::error_code ec;
        if (!fs::is_symlink(p, ec))
            break;
        const fs::path next = fs::read_symlink(p, ec);
        if (ec)
            break;
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    return p.string();
}

bool IsReadOnlyFile(const std::string& path)
{
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::is_regular_file(status))
        return false;
    constexpr auto writeBits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & writeBits) == fs::perms::none;
}

bool WriteFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes, std::string* reason)
{
    auto fail = [&](const std::error_code& why) {
        if (reason)
            *reason = why.message();
        return false;
    };
    static std::atomic<unsigned> counter{0};
    const fs::path target(ResolveSaveTarget(path));
    const fs::path folder = target.parent_path();

    // What an earlier, killed save left beside this file goes first.
    sweepFolder(folder.empty() ? fs::path(".") : folder);

    const unsigned number = ++counter;
    const fs::path temp = folder / ("." + target.filename().string() + std::string(kTempMark) +
                                    std::to_string(::getpid()) + "-" + std::to_string(number));

    // The new file gets the old one's permissions from its creation on; a new
    // name gets the usual ones (the umask applies).
    std::error_code ec;
    const fs::file_status old = fs::status(target, ec);
    const bool replacing = !ec && fs::is_regular_file(old);
    const mode_t mode = replacing ? static_cast<mode_t>(old.permissions() & fs::perms::mask) : 0666;

    const fs::path note = notePending(temp, number);
    errno = 0;
    // Owner write while writing, whatever the old file allowed; the old bits follow.
    if (!writeAndSync(temp, bytes, mode | S_IWUSR)) {
        const std::error_code why = lastError();
        removeQuietly(temp);
        removeQuietly(note);
        return fail(why);
    }
    if (replacing)
        ::chmod(temp.c_str(), mode);
    fs::rename(temp, target, ec);
    if (ec) {
        const std::error_code why = ec;
        removeQuietly(temp);
        removeQuietly(note);
        return fail(why);
    }
    syncFolder(folder);
    removeQuietly(note);
    return true;
}

void SetPendingSaveFolder(const std::string& folder)
{
    std::lock_guard lock(g_noteMutex);
    g_noteFolder = folder;
    if (!folder.empty()) {
        std::error_code ec;
        fs::create_directories(folder, ec);
    }
}

int CleanLeftoverSaves(const std::string& folder)
{
    int removed = 0;
    std::string noteFolder;
    {
        std::lock_guard lock(g_noteMutex);
        noteFolder = g_noteFolder;
    }
    std::error_code ec;
    if (!noteFolder.empty()) {
        for (fs::directory_iterator it(noteFolder, ec), end; !ec && it != end; it.increment(ec)) {
            const long pid = pidOfNoteName(it->path().filename().string());
            if (pid == 0 || mayStillBeSaving(pid))
                continue;
            std::string tempName;
            {
                std::ifstream in(it->path(), std::ios::binary);
                std::getline(in, tempName, '\0');
            }
            // Only a file of ours is ever removed, whatever the note says.
            const fs::path temp(tempName);
            std::error_code rm;
            if (pidOfTempName(temp.filename().string()) == pid && fs::remove(temp, rm))
                ++removed;
            fs::remove(it->path(), rm);
        }
    }
    if (!folder.empty())
        removed += sweepFolder(folder);
    return removed;
}

} // namespace toneloft
