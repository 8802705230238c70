#include "platform/profile/FileReplacement.h"

#ifdef Q_OS_LINUX
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QList>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <optional>
#include <utility>
#else
#include <QFile>
#include <QSaveFile>
#endif

namespace FileReplacement {

QByteArray temporaryPrefix(const QByteArray& fileName) { return '.' + fileName + ".tmp-"; }

#ifdef Q_OS_LINUX
namespace {

constexpr int kRandomLength = 8;
// As many links as the system itself follows before it gives up.
constexpr int kMaxLinks = 40;

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    Descriptor(Descriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

struct TemporaryFile {
    Descriptor file;
    QByteArray name;  // empty while the file is unnamed
};

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray fileNameOf(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

bool fitsSizeLimit(qsizetype size) {
    rlimit limit{};
    return ::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
           static_cast<rlim_t>(size) <= limit.rlim_cur;
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, bytes.size() - done, done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

std::optional<QByteArray> readAll(int fd) {
    QByteArray bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::pread(fd, chunk, sizeof chunk, bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) return bytes;
        bytes.append(chunk, n);
    }
}

bool sameFile(int folder, const QByteArray& name, int fd) {
    struct stat named {};
    struct stat open {};
    return ::fstatat(folder, name.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstat(fd, &open) == 0 && named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

QByteArray randomName(const QByteArray& prefix) {
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name = prefix;
    for (int i = 0; i < kRandomLength; ++i)
        name += kChars[QRandomGenerator::global()->bounded(int(sizeof kChars - 1))];
    return name;
}

// The file that `path` finally names; it need not exist.
std::optional<QByteArray> resolveLinks(QByteArray path) {
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0) {
            return errno == ENOENT ? std::optional<QByteArray>(path) : std::nullopt;
        }
        if (!S_ISLNK(info.st_mode)) return path;
        QByteArray target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.constData(), target.data(), target.size());
        if (length < 0) return std::nullopt;
        target.truncate(length);
        path = target.startsWith('/') ? target : folderOf(path) + '/' + target;
    }
    return std::nullopt;
}

// Temporary files whose writer died: nobody holds their lock any more.
void removeStale(int folder, const QByteArray& prefix) {
    DIR* listing = ::fdopendir(::dup(folder));
    if (!listing) return;
    while (const dirent* entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith(prefix) || name.size() != prefix.size() + kRandomLength) continue;
        const Descriptor file(
            ::openat(folder, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat info {};
        if (file.valid() && ::fstat(file.get(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::flock(file.get(), LOCK_EX | LOCK_NB) == 0 && sameFile(folder, name, file.get())) {
            ::unlinkat(folder, name.constData(), 0);
        }
    }
    ::closedir(listing);
}

std::optional<TemporaryFile> createNamed(int folder, const QByteArray& prefix, mode_t mode) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = randomName(prefix);
        Descriptor file(
            ::openat(folder, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (!file.valid()) {
            if (errno == EEXIST) continue;
            return std::nullopt;
        }
        // Another writer's clean-up may have taken the file before the lock;
        // then it is gone or going, and a new name is needed. Where the file
        // system has no locks, no clean-up can take it either.
        if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) continue;
        if (sameFile(folder, name, file.get())) return TemporaryFile{std::move(file), name};
    }
    return std::nullopt;
}

std::optional<TemporaryFile> createTemporary(int folder, const QByteArray& prefix, mode_t mode,
                                             Temporary temporary) {
#ifdef O_TMPFILE
    if (temporary == Temporary::Unnamed) {
        Descriptor file(::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
        if (file.valid()) {
            ::flock(file.get(), LOCK_EX);
            return TemporaryFile{std::move(file), {}};
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return std::nullopt;
    }
#endif
    return createNamed(folder, prefix, mode);
}

// An unnamed file gets a name only for the rename, while it is locked.
bool giveName(int folder, const QByteArray& prefix, TemporaryFile& temp) {
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(temp.file.get());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = randomName(prefix);
        if (::linkat(AT_FDCWD, self.constData(), folder, name.constData(), AT_SYMLINK_FOLLOW) ==
            0) {
            temp.name = name;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

std::optional<QByteArray> attributeNames(const char* path, int fd) {
    const ssize_t size = path ? ::listxattr(path, nullptr, 0) : ::flistxattr(fd, nullptr, 0);
    if (size < 0) return errno == ENOTSUP ? std::optional<QByteArray>(QByteArray()) : std::nullopt;
    if (size == 0) return QByteArray();
    QByteArray names(size, '\0');
    const ssize_t got =
        path ? ::listxattr(path, names.data(), size) : ::flistxattr(fd, names.data(), size);
    if (got < 0) return std::nullopt;
    names.truncate(got);
    return names;
}

// The copy gets exactly the original's extended attributes (an access control
// list among them), not those the folder's defaults gave it.
bool copyAttributes(const QByteArray& original, int copy) {
    const std::optional<QByteArray> wanted = attributeNames(original.constData(), -1);
    const std::optional<QByteArray> present = attributeNames(nullptr, copy);
    if (!wanted || !present) return false;
    const QList<QByteArray> wantedNames = wanted->split('\0');
    for (const QByteArray& name : present->split('\0')) {
        if (!name.isEmpty() && !wantedNames.contains(name) &&
            ::fremovexattr(copy, name.constData()) != 0)
            return false;
    }
    for (const QByteArray& name : wantedNames) {
        if (name.isEmpty()) continue;
        const ssize_t size = ::getxattr(original.constData(), name.constData(), nullptr, 0);
        if (size < 0) return false;
        QByteArray value(size, '\0');
        if (::getxattr(original.constData(), name.constData(), value.data(), size) != size ||
            ::fsetxattr(copy, name.constData(), value.constData(), size, 0) != 0)
            return false;
    }
    return true;
}

bool takeOver(const QByteArray& original, const struct stat& info, int copy) {
    struct stat now {};
    if (::fstat(copy, &now) != 0) return false;
    if ((now.st_uid != info.st_uid || now.st_gid != info.st_gid) &&
        ::fchown(copy, info.st_uid, info.st_gid) != 0)
        return false;
    // After the owner (which clears set-id bits) and the access list (which
    // sets the group bits from its mask), so the mode ends as it was.
    return copyAttributes(original, copy) && ::fchmod(copy, info.st_mode & 07777) == 0;
}

// `original` is null for a file that does not exist yet.
bool replaceByRename(const QByteArray& target, const QByteArray& bytes, const struct stat* original,
                     Temporary temporary) {
    const Descriptor folder(
        ::open(folderOf(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) return false;
    const QByteArray prefix = temporaryPrefix(fileNameOf(target));
    removeStale(folder.get(), prefix);
    // A new file is created by name, as any other file would be, so that the
    // umask and the folder's default access list apply to it; a replacement
    // gets the original's mode once it is written.
    std::optional<TemporaryFile> temp = original
                                            ? createTemporary(folder.get(), prefix, 0600, temporary)
                                            : createNamed(folder.get(), prefix, 0666);
    if (!temp) return false;
    const bool renamed = writeAll(temp->file.get(), bytes) &&
                         (!original || takeOver(target, *original, temp->file.get())) &&
                         ::fsync(temp->file.get()) == 0 &&
                         (!temp->name.isEmpty() || giveName(folder.get(), prefix, *temp)) &&
                         ::renameat(folder.get(), temp->name.constData(), folder.get(),
                                    fileNameOf(target).constData()) == 0;
    if (!renamed) {
        if (!temp->name.isEmpty()) ::unlinkat(folder.get(), temp->name.constData(), 0);
        return false;
    }
    // The file is in place whatever this says; a folder that cannot be synced
    // only loses the guarantee against a power cut.
    ::fsync(folder.get());
    return true;
}

bool reserveSpace(int fd, qsizetype size) {
#ifdef FALLOC_FL_KEEP_SIZE
    if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) == 0) return true;
    return errno == EOPNOTSUPP || errno == ENOSYS;
#else
    (void)fd;
    (void)size;
    return true;
#endif
}

bool writeInPlace(const QByteArray& target, const QByteArray& bytes, const QByteArray& filler) {
    const Descriptor file(::open(target.constData(), O_RDWR | O_CLOEXEC));
    if (!file.valid()) return false;
    const std::optional<QByteArray> old = readAll(file.get());
    if (!old) return false;
    QByteArray padded = bytes;
    while (!filler.isEmpty() && padded.size() < old->size()) padded += filler;
    padded.truncate(std::max(bytes.size(), old->size()));
    if (!fitsSizeLimit(padded.size())) return false;
    if (bytes.size() > old->size() && !reserveSpace(file.get(), bytes.size())) return false;
    if (!writeAll(file.get(), padded)) {
        // Whatever got through is undone, as far as the disk lets us.
        writeAll(file.get(), *old);
        ::ftruncate(file.get(), old->size());
        return false;
    }
    if (padded.size() != bytes.size() &&
        (::fdatasync(file.get()) != 0 || ::ftruncate(file.get(), bytes.size()) != 0))
        return false;
    return ::fsync(file.get()) == 0;
}

}  // namespace

bool replace(const QByteArray& path, const QByteArray& bytes, const QByteArray& filler,
             Temporary temporary) {
    // Past the size limit the system would stop the program with a signal.
    if (!fitsSizeLimit(bytes.size())) return false;
    const std::optional<QByteArray> target = resolveLinks(path);
    if (!target) return false;
    struct stat info {};
    if (::lstat(target->constData(), &info) != 0)
        return errno == ENOENT && replaceByRename(*target, bytes, nullptr, temporary);
    if (!S_ISREG(info.st_mode) || ::faccessat(AT_FDCWD, target->constData(), W_OK, AT_EACCESS) != 0)
        return false;
    // A rename would leave the file's other names with the old text.
    if (info.st_nlink == 1 && replaceByRename(*target, bytes, &info, temporary)) return true;
    return writeInPlace(*target, bytes, filler);
}

#else

// Elsewhere the toolkit's safe save stands in, writing in place where the
// folder cannot be written.
bool replace(const QByteArray& path, const QByteArray& bytes, const QByteArray&, Temporary) {
    QSaveFile file(QFile::decodeName(path));
    file.setDirectWriteFallback(true);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

#endif

}  // namespace FileReplacement
