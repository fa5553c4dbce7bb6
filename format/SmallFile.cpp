#include "format/SmallFile.h"

#include "format/Descriptor.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <random>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporaryPrefix = ".nodalis-";
constexpr std::size_t kTemporaryNameSize = kTemporaryPrefix.size() + 8;
constexpr std::string_view kJournalSuffix = ".journal";
constexpr int kMaxLinks = 40; // as many as the kernel follows in one path
constexpr int kAttempts = 8;  // a temporary name taken, by a save that was killed, is drawn again

std::error_code lastError() {
    return {errno, std::generic_category()};
}

std::error_code errorOf(std::errc error) {
    return std::make_error_code(error);
}

// The file holds `bytes` and nothing more, on the disk before it counts as saved, or a
// power cut could leave it empty. Nothing is cut off before the new bytes are down.
std::error_code overwrite(int file, std::string_view bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t written =
            ::pwrite(file, bytes.data() + done, bytes.size() - done, off_t(done));
        if (written < 0 && errno != EINTR)
            return lastError();
        if (written == 0)
            return errorOf(std::errc::io_error);
        done += std::size_t(std::max<ssize_t>(written, 0));
    }
    if (::ftruncate(file, off_t(bytes.size())) != 0 || ::fsync(file) != 0)
        return lastError();
    return {};
}

// The whole file, file_too_large once it passes `limit`.
std::error_code readAll(int file, std::size_t limit, std::string& bytes) {
    bytes.assign(limit + 1, '\0');
    std::size_t size = 0;
    while (size < bytes.size()) {
        const ssize_t count = ::pread(file, bytes.data() + size, bytes.size() - size, off_t(size));
        if (count == 0)
            break;
        if (count < 0 && errno != EINTR)
            return lastError();
        size += std::size_t(std::max<ssize_t>(count, 0));
    }
    bytes.resize(size);
    return size > limit ? errorOf(std::errc::file_too_large) : std::error_code{};
}

std::vector<std::string> namesIn(int folder) {
    std::vector<std::string> names;
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* entries = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (!entries) {
        if (listing >= 0)
            ::close(listing);
        return names;
    }
    while (const dirent* entry = ::readdir(entries))
        names.emplace_back(entry->d_name);
    ::closedir(entries);
    return names;
}

// Which file an open descriptor is, told apart from a later one that reuses its inode
// number by its birth time where the file system keeps one.
struct Identity {
    unsigned long long device = 0, inode = 0;
    long long bornSeconds = 0;
    unsigned bornNanoseconds = 0;
    friend bool operator==(const Identity&, const Identity&) = default;
};

std::optional<Identity> identityOf(int file) {
    struct statx status {};
    if (::statx(file, "", AT_EMPTY_PATH, STATX_INO | STATX_BTIME, &status) != 0)
        return std::nullopt;
    Identity identity{makedev(status.stx_dev_major, status.stx_dev_minor), status.stx_ino};
    if (status.stx_mask & STATX_BTIME) {
        identity.bornSeconds = status.stx_btime.tv_sec;
        identity.bornNanoseconds = status.stx_btime.tv_nsec;
    }
    return identity;
}

// A file being made in a folder: unnamed while it is written where the file system allows,
// so that a save cut short leaves nothing behind, otherwise under a temporary name. It is
// locked for as long as it is open, so that the sweep of stale temporary files passes it by.
struct NewFile {
    Descriptor file;
    std::string name; // empty while the file has none
};

constexpr std::string_view kTemporaryDigits = "0123456789abcdef";

std::string temporaryName() {
    static std::random_device random;
    std::array<char, 9> digits{};
    std::snprintf(digits.data(), digits.size(), "%08x", unsigned{random()});
    return std::string(kTemporaryPrefix) + digits.data();
}

// Whether `name` is one that temporaryName() draws, and no other file's.
bool isTemporaryName(std::string_view name) {
    return name.size() == kTemporaryNameSize && name.starts_with(kTemporaryPrefix) &&
           name.find_first_not_of(kTemporaryDigits, kTemporaryPrefix.size()) == name.npos;
}

void discardNewFile(int folder, NewFile& made) {
    if (!made.name.empty())
        ::unlinkat(folder, std::exchange(made.name, {}).c_str(), 0);
}

// Whether `name` in `folder` is still the open `file`.
bool stillNamed(int folder, const std::string& name, int file) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(file, &opened) == 0 &&
           ::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           named.st_ino == opened.st_ino && named.st_dev == opened.st_dev;
}

std::error_code createNewFile(int folder, mode_t mode, NewFile& made) {
    // An unnamed file is given its name through /proc.
    static const bool canNameUnnamed = ::access("/proc/self/fd", X_OK) == 0;
    made.file = Descriptor{
        canNameUnnamed ? ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode) : -1};
    if (!made.file && canNameUnnamed && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return lastError();
    if (made.file)
        return ::flock(made.file.get(), LOCK_EX) == 0 ? std::error_code{} : lastError();
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        made.name = temporaryName();
        made.file = Descriptor{
            ::openat(folder, made.name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode)};
        if (!made.file) {
            made.name.clear();
            if (errno != EEXIST)
                return lastError();
            continue;
        }
        if (::flock(made.file.get(), LOCK_EX) != 0) {
            const std::error_code error = lastError();
            discardNewFile(folder, made);
            return error;
        }
        // Until it was locked, another save's sweep could take it for a stale one and remove it.
        if (stillNamed(folder, made.name, made.file.get()))
            return {};
        made.name.clear();
    }
    made.file = Descriptor{};
    return errorOf(std::errc::file_exists);
}

// Gives the new file `name`, which must not exist yet.
std::error_code linkNewFile(int folder, NewFile& made, const std::string& name) {
    if (made.name.empty()) {
        const std::string self = "/proc/self/fd/" + std::to_string(made.file.get());
        return ::linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0
                   ? std::error_code{}
                   : lastError();
    }
    if (::linkat(folder, made.name.c_str(), folder, name.c_str(), 0) != 0)
        return lastError();
    ::unlinkat(folder, std::exchange(made.name, {}).c_str(), 0);
    return {};
}

// Puts the folder's names on the disk, so that a power cut keeps a rename. A folder that
// may be searched and written but not read cannot be opened for it.
std::error_code syncFolder(int folder) {
    const Descriptor listing{::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (!listing)
        return errno == EACCES ? std::error_code{} : lastError();
    return ::fsync(listing.get()) == 0 ? std::error_code{} : lastError();
}

// Puts the new file in the place of `name` in one step, whatever was there.
std::error_code renameNewFileOver(int folder, NewFile& made, const std::string& name) {
    for (int attempt = 0; made.name.empty(); ++attempt) {
        const std::string temporary = temporaryName();
        const std::error_code error = linkNewFile(folder, made, temporary);
        if (!error)
            made.name = temporary;
        else if (error != std::errc::file_exists || attempt == kAttempts)
            return error;
    }
    if (::renameat(folder, made.name.c_str(), folder, name.c_str()) != 0)
        return lastError();
    made.name.clear();
    return syncFolder(folder);
}

// Removes the temporary files that this user's saves into `folder` left when they were cut
// short: only those that no running save holds locked.
void removeStaleTemporaries(int folder) {
    for (const std::string& name : namesIn(folder)) {
        if (!isTemporaryName(name))
            continue;
        constexpr int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        Descriptor file{::openat(folder, name.c_str(), O_RDONLY | flags)};
        if (!file)
            file = Descriptor{::openat(folder, name.c_str(), O_WRONLY | flags)};
        struct stat opened {};
        if (file && ::fstat(file.get(), &opened) == 0 && S_ISREG(opened.st_mode) &&
            opened.st_uid == ::geteuid() && ::flock(file.get(), LOCK_EX | LOCK_NB) == 0 &&
            stillNamed(folder, name, file.get()))
            ::unlinkat(folder, name.c_str(), 0);
    }
}

// An existing file opened for reading and writing, or for writing alone where it may not
// be read. A symbolic link is not followed.
Descriptor openExisting(int folder, const std::string& name) {
    constexpr int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    Descriptor file{::openat(folder, name.c_str(), O_RDWR | flags)};
    if (!file && errno == EACCES)
        file = Descriptor{::openat(folder, name.c_str(), O_WRONLY | flags)};
    return file;
}

// The in-place save of a file that could not be replaced, written down before the file is
// touched, so that the next save or opening finds a save cut short and puts back the whole
// old contents (or, for a file that may not be read, the whole new ones).
struct Journal {
    Identity target;
    std::string folder; // absolute
    std::string name;
    std::optional<std::string> oldBytes;
    std::string newBytes;
};

constexpr std::size_t kMaxJournalSize = 2 * kMaxSmallFileSize + 2 * PATH_MAX + 256;

std::string serialized(const Journal& journal) {
    std::array<char, 256> header{};
    const Identity& target = journal.target;
    std::snprintf(header.data(), header.size(), "nodalis %llu %llu %lld %u %zu %zu %d %zu %zu\n",
                  target.device, target.inode, target.bornSeconds, target.bornNanoseconds,
                  journal.folder.size(), journal.name.size(), journal.oldBytes.has_value(),
                  journal.oldBytes.value_or("").size(), journal.newBytes.size());
    return header.data() + journal.folder + journal.name + journal.oldBytes.value_or("") +
           journal.newBytes;
}

std::optional<Journal> parsedJournal(std::string_view text) {
    Journal journal;
    Identity& target = journal.target;
    std::size_t sizes[4] = {};
    int oldKnown = 0, headerSize = 0;
    const std::string header(text.substr(0, text.find('\n') + 1));
    if (std::sscanf(header.c_str(), "nodalis %llu %llu %lld %u %zu %zu %d %zu %zu\n%n",
                    &target.device, &target.inode, &target.bornSeconds, &target.bornNanoseconds,
                    &sizes[0], &sizes[1], &oldKnown, &sizes[2], &sizes[3], &headerSize) != 9 ||
        headerSize == 0)
        return std::nullopt;
    text.remove_prefix(std::size_t(headerSize));
    std::string parts[4];
    for (int i = 0; i < 4; ++i) {
        if (sizes[i] > text.size())
            return std::nullopt;
        parts[i] = text.substr(0, sizes[i]);
        text.remove_prefix(sizes[i]);
    }
    if (!text.empty())
        return std::nullopt;
    journal.folder = std::move(parts[0]);
    journal.name = std::move(parts[1]);
    if (oldKnown)
        journal.oldBytes = std::move(parts[2]);
    journal.newBytes = std::move(parts[3]);
    return journal;
}

fs::path journalFolder() {
    const fs::path state = userFolder("XDG_STATE_HOME", ".local/state");
    return state.empty() ? state : state / "Nodalis";
}

// Whether `now` is what writing `written` over `before` can leave when cut short, a power
// cut included, which may leave zeros where a block was not yet written.
bool isPartlyWritten(std::string_view now, std::string_view before, std::string_view written) {
    if (now.size() > std::max(before.size(), written.size()))
        return false;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (now[i] != '\0' && (i >= before.size() || now[i] != before[i]) &&
            (i >= written.size() || now[i] != written[i]))
            return false;
    }
    return true;
}

// Puts back what the journal holds; false while that could not be done.
bool finishSave(const Journal& journal) {
    const Descriptor folder{::open(journal.folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)};
    const Descriptor file = folder ? openExisting(folder.get(), journal.name) : Descriptor{};
    if (!file) // gone, or a link now: there is nothing to put back
        return errno == ENOENT || errno == ENOTDIR || errno == ELOOP;
    if (identityOf(file.get()) != journal.target)
        return true;
    std::string now;
    const std::error_code unread = readAll(file.get(), kMaxSmallFileSize, now);
    if (!unread && now == journal.newBytes)
        return true;
    if (!journal.oldBytes)
        return !overwrite(file.get(), journal.newBytes);
    // Anything else, one larger than both included, was written by someone else since.
    if (unread == std::errc::file_too_large ||
        (!unread && !isPartlyWritten(now, *journal.oldBytes, journal.newBytes)))
        return true;
    return !overwrite(file.get(), *journal.oldBytes);
}

// Finishes the in-place saves that were cut short, by a kill or a power cut, and removes
// what such saves left; a save still running holds its journal locked and is passed by.
void finishInterruptedSaves() {
    const fs::path where = journalFolder();
    const Descriptor folder{
        where.empty() ? -1 : ::open(where.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)};
    if (!folder)
        return;
    removeStaleTemporaries(folder.get());
    for (const std::string& name : namesIn(folder.get())) {
        if (!name.ends_with(kJournalSuffix))
            continue;
        const Descriptor file{
            ::openat(folder.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)};
        struct stat status {};
        std::string text;
        // Only this user's own journals count. One unlinked by the save that just finished
        // has no links left.
        if (!file || ::flock(file.get(), LOCK_EX | LOCK_NB) != 0 ||
            ::fstat(file.get(), &status) != 0 || status.st_uid != ::geteuid() ||
            status.st_nlink == 0)
            continue;
        const bool read = !readAll(file.get(), kMaxJournalSize, text);
        const std::optional<Journal> journal = read ? parsedJournal(text) : std::nullopt;
        if (!journal || finishSave(*journal))
            ::unlinkat(folder.get(), name.c_str(), 0);
    }
}

// Writes the journal of an in-place save of `name` in `folder`, and keeps it locked.
std::error_code startJournal(int folder, const std::string& name, Journal journal,
                             const std::optional<Identity>& target, NewFile& made,
                             std::string& journalName, Descriptor& journals) {
    const fs::path where = journalFolder();
    if (where.empty() || !target)
        return errorOf(std::errc::no_such_file_or_directory);
    std::error_code error;
    fs::create_directories(where, error);
    if (error)
        return error;
    journals = Descriptor{::open(where.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    std::array<char, PATH_MAX> folderPath{};
    const std::string self = "/proc/self/fd/" + std::to_string(folder);
    const ssize_t length = ::readlink(self.c_str(), folderPath.data(), folderPath.size());
    if (!journals || length < 0)
        return lastError();
    if (std::size_t(length) == folderPath.size())
        return errorOf(std::errc::filename_too_long);
    journal.target = *target;
    journal.folder.assign(folderPath.data(), std::size_t(length));
    journal.name = name;
    journalName = std::to_string(target->device) + '-' + std::to_string(target->inode) +
                  std::string(kJournalSuffix);
    if ((error = createNewFile(journals.get(), S_IRUSR | S_IWUSR, made)) ||
        (error = overwrite(made.file.get(), serialized(journal))) ||
        (error = linkNewFile(journals.get(), made, journalName))) {
        discardNewFile(journals.get(), made);
        // Another save of the same file is running.
        return error == std::errc::file_exists ? errorOf(std::errc::device_or_resource_busy)
                                               : error;
    }
    return ::fsync(journals.get()) == 0 ? std::error_code{} : lastError();
}

// What a save does when the file cannot be replaced by a new one. Space is reserved and
// the size limit checked before the file is touched, so that a full disk, a quota or a
// limit is a failure that leaves it whole; the journal covers a kill or a power cut.
std::error_code writeInPlace(int folder, const std::string& name, Descriptor& file,
                             std::string_view bytes) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        bytes.size() > limit.rlim_cur)
        return errorOf(std::errc::file_too_large);
    // Only a file that may not be read is journalled without its old contents; one that is
    // too large to keep them, or fails to read, is refused.
    Journal journal;
    if ((::fcntl(file.get(), F_GETFL) & O_ACCMODE) != O_WRONLY) {
        std::string old;
        if (const std::error_code error = readAll(file.get(), kMaxSmallFileSize, old))
            return error;
        journal.oldBytes = std::move(old);
    }
    journal.newBytes = bytes;
    if (!bytes.empty() &&
        ::fallocate(file.get(), FALLOC_FL_KEEP_SIZE, 0, off_t(bytes.size())) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS)
        return lastError();
    NewFile made;
    std::string journalName;
    Descriptor journals;
    if (const std::error_code error = startJournal(folder, name, journal, identityOf(file.get()),
                                                   made, journalName, journals))
        return error;
    std::error_code error = overwrite(file.get(), bytes);
    // Where the old contents cannot be put back now, the journal stays for the next attempt.
    if (error && (!journal.oldBytes || overwrite(file.get(), *journal.oldBytes)))
        return error;
    // The file is on the disk already: a journal that a power cut brings back finds it so.
    ::unlinkat(journals.get(), journalName.c_str(), 0);
    ::fsync(journals.get());
    const std::error_code closed = file.close();
    return error ? error : closed;
}

// The kernel's rule for symbolic links in sticky folders that everyone may write to, such
// as /tmp (fs.protected_symlinks): one is followed only when it belongs to whoever follows
// it or to the folder's owner, so that nobody can lay a link there for another to write to.
bool mayFollow(int folder, const struct stat& link) {
    struct stat status {};
    if (::fstat(folder, &status) != 0)
        return false;
    const bool shared = (status.st_mode & S_ISVTX) && (status.st_mode & S_IWOTH);
    return !shared || link.st_uid == ::geteuid() || link.st_uid == status.st_uid;
}

std::error_code openFolderOf(int at, const std::string& path, Descriptor& folder,
                             std::string& name) {
    if (path.empty())
        return errorOf(std::errc::no_such_file_or_directory);
    const std::size_t slash = path.rfind('/');
    name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..")
        return errorOf(std::errc::is_a_directory);
    const std::string where = slash == std::string::npos ? "."
                              : slash == 0               ? "/"
                                                         : path.substr(0, slash);
    folder = Descriptor{::openat(at, where.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)};
    return folder ? std::error_code{} : lastError();
}

// Where a save writes: the folder and name of `path`, or of the file its symbolic links
// lead to, with that file open when it exists. A link that leads nowhere is replaced, not
// followed. Every name is looked up in its folder's descriptor, so no path grows longer.
struct Target {
    Descriptor folder;
    std::string name;
    Descriptor file;
};

std::error_code findTarget(const std::string& path, Target& target) {
    if (const std::error_code error = openFolderOf(AT_FDCWD, path, target.folder, target.name))
        return error;
    Descriptor folder; // where the links lead, once one is followed
    std::string name;
    for (int links = 0;; ++links) {
        const int at = folder ? folder.get() : target.folder.get();
        const std::string& what = folder ? name : target.name;
        if (Descriptor file = openExisting(at, what)) {
            if (folder)
                target.folder = std::move(folder), target.name = std::move(name);
            target.file = std::move(file);
            return {};
        }
        if (errno == ENOENT)
            return {};
        if (errno != ELOOP || links == kMaxLinks)
            return lastError();
        struct stat link {};
        std::array<char, PATH_MAX> to{};
        if (::fstatat(at, what.c_str(), &link, AT_SYMLINK_NOFOLLOW) != 0)
            return lastError();
        if (!S_ISLNK(link.st_mode))
            return errorOf(std::errc::too_many_symbolic_link_levels);
        if (!mayFollow(at, link))
            return errorOf(std::errc::permission_denied);
        const ssize_t length = ::readlinkat(at, what.c_str(), to.data(), to.size());
        if (length < 0)
            return lastError();
        Descriptor next;
        std::string nextName;
        if (const std::error_code error =
                openFolderOf(at, std::string(to.data(), std::size_t(length)), next, nextName))
            return error == std::errc::no_such_file_or_directory ? std::error_code{} : error;
        folder = std::move(next);
        name = std::move(nextName);
    }
}

} // namespace

std::error_code saveFileContents(const fs::path& path, std::string_view bytes) {
    // No more than a journal holds, nor than is read back.
    if (bytes.size() > kMaxSmallFileSize)
        return errorOf(std::errc::file_too_large);
    finishInterruptedSaves();
    Target target;
    if (const std::error_code error = findTarget(path.native(), target))
        return error;
    const int folder = target.folder.get();
    removeStaleTemporaries(folder);
    struct stat old {};
    if (target.file) {
        if (::fstat(target.file.get(), &old) != 0)
            return lastError();
        if (!S_ISREG(old.st_mode))
            return errorOf(std::errc::invalid_argument);
        // A new file in its place would split the other links from it, or belong to whoever
        // saves rather than to the file's owner.
        if (old.st_nlink > 1 || old.st_uid != ::geteuid())
            return writeInPlace(folder, target.name, target.file, bytes);
    }

    NewFile made;
    std::error_code error = createNewFile(folder, target.file ? S_IRUSR | S_IWUSR : 0666, made);
    // A folder that takes no new files may still let the file in it be written.
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted)
        return target.file ? writeInPlace(folder, target.name, target.file, bytes) : error;
    if (error)
        return error;
    // The new file takes the old one's group and mode; where it cannot, the old file is
    // written in place instead.
    if (target.file && (::fchown(made.file.get(), static_cast<uid_t>(-1), old.st_gid) != 0 ||
                        ::fchmod(made.file.get(), old.st_mode & 07777) != 0)) {
        discardNewFile(folder, made);
        return writeInPlace(folder, target.name, target.file, bytes);
    }
    error = overwrite(made.file.get(), bytes);
    if (!error)
        error = renameNewFileOver(folder, made, target.name);
    discardNewFile(folder, made);
    return error;
}

std::error_code readSmallFile(const fs::path& path, std::size_t limit, std::string& bytes) {
    finishInterruptedSaves();
    // O_NONBLOCK: a named pipe put in the file's place is refused below, not waited on.
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    struct stat status {};
    if (!file || ::fstat(file.get(), &status) != 0)
        return lastError();
    if (!S_ISREG(status.st_mode))
        return errorOf(std::errc::invalid_argument);
    if (std::size_t(status.st_size) > limit)
        return errorOf(std::errc::file_too_large);
    return readAll(file.get(), limit, bytes);
}

fs::path userFolder(const char* variable, const char* underHome) {
    if (const char* set = std::getenv(variable); set && set[0] == '/')
        return set;
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd* user = ::getpwuid(::geteuid());
        home = user ? user->pw_dir : nullptr;
    }
    return home && home[0] == '/' ? fs::path(home) / underHome : fs::path();
}
