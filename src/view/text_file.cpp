#include "view/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <vector>

namespace {

int RealOpen(const char* path, int flags, mode_t mode) {
  return ::open(path, flags, mode);
}
ssize_t RealRead(int fd, void* buffer, size_t size) {
  return ::read(fd, buffer, size);
}
ssize_t RealWrite(int fd, const void* buffer, size_t size) {
  return ::write(fd, buffer, size);
}
int RealFsync(int fd) {
  return ::fsync(fd);
}
int RealClose(int fd) {
  return ::close(fd);
}
int RealRename(const char* from, const char* to) {
  return ::rename(from, to);
}

constexpr FileSystemCalls kRealCalls = {RealOpen,  RealRead,  RealWrite,
                                        RealFsync, RealClose, RealRename};
FileSystemCalls g_calls = kRealCalls;

// Symbolic links followed before a path counts as a loop, as the kernel counts them.
constexpr int kMaxLinkHops = 40;
// The longest part of the target's name that goes into the temporary file's name, so that
// ".name.XXXXXX" stays within the longest name a folder takes.
constexpr size_t kMaxTempStem = 200;

constexpr std::string_view kMessages[] = {
    "No error occurred.",
    "An unknown error occurred while accessing %1.",
    "%1 was not found.",
    "%1 contains an invalid path.",
    "%1 could not be opened because there are too many open files.",
    "Access to %1 was denied.",
    "An invalid file handle was associated with %1.",
    "%1 could not be removed because it is the current directory.",
    "%1 could not be created because the directory is full.",
    "Seek failed on %1",
    "A hardware I/O error was reported while accessing %1.",
    "A sharing violation occurred while accessing %1.",
    "A locking violation occurred while accessing %1.",
    "Disk full while accessing %1.",
    "An attempt was made to access %1 past its end.",
};

// The folder part of path: "." for a bare name, "/" for a name in the root.
std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    return ".";
  }
  if (slash == 0) {
    return "/";
  }
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The cause of a failed open of path: a missing name in an existing folder is a missing
// file, a missing folder is a bad path.
FileError OpenFailure(int err, const std::string& path) {
  const FileError cause = FileErrorFromErrno(err, FileStep::kOpen);
  if (cause == FileError::kFileNotFound && !IsFolder(FolderOf(path))) {
    return FileError::kBadPath;
  }
  return cause;
}

int OpenRetrying(const char* path, int flags, mode_t mode) {
  int fd;
  do {
    fd = g_calls.open(path, flags, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

int FsyncRetrying(int fd) {
  int result;
  do {
    result = g_calls.fsync(fd);
  } while (result != 0 && errno == EINTR);
  return result;
}

// Closes fd; an interrupted close has still released it on Linux and is not retried.
int CloseOnce(int fd) {
  const int result = g_calls.close(fd);
  return result != 0 && errno == EINTR ? 0 : result;
}

// Appends bytes without their NUL bytes: the editor's text cannot hold a NUL, and the rest
// of the line is kept.
void AppendWithoutNul(std::string& out, std::string_view bytes) {
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t nul = bytes.find('\0', pos);
    if (nul == std::string_view::npos) {
      nul = bytes.size();
    }
    out.append(bytes.substr(pos, nul - pos));
    pos = nul + 1;
  }
}

// Reads fd to its end into bytes; false with errno set on a failure.
bool ReadAll(int fd, size_t size_hint, std::string& bytes) {
  constexpr size_t kChunk = 64 * 1024;
  bytes.clear();
  bytes.reserve(size_hint + 1);
  size_t used = 0;
  for (;;) {
    if (bytes.size() - used < kChunk) {
      bytes.resize(std::max(used + kChunk, bytes.capacity()));
    }
    const ssize_t n = g_calls.read(fd, bytes.data() + used, bytes.size() - used);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    if (n == 0) {
      break;
    }
    used += static_cast<size_t>(n);
  }
  bytes.resize(used);
  return true;
}

// Follows symbolic links from path to the name that finally gets the bytes; the name may
// not exist yet (a link to a file still to be made).
FileError ResolveLinks(const std::string& path, std::string& target) {
  std::string current = path;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    struct stat st;
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      target = current;
      return FileError::kNone;
    }
    std::vector<char> link(static_cast<size_t>(std::max<off_t>(st.st_size, 255)) + 1);
    for (;;) {
      const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
      if (n < 0) {
        return OpenFailure(errno, current);
      }
      if (static_cast<size_t>(n) < link.size()) {
        link.resize(static_cast<size_t>(n));
        break;
      }
      link.resize(link.size() * 2);
    }
    const std::string destination(link.begin(), link.end());
    if (destination.empty()) {
      return FileError::kBadPath;
    }
    current = destination.front() == '/' ? destination : JoinPath(FolderOf(current), destination);
  }
  return FileError::kBadPath;
}

// Whether the process may write path, decided as for an ordinary user also when it runs as
// root: root passes every mode check, so a file or folder with no write bit for anyone
// counts as read-only, as root may only execute a file that has some execute bit.
FileError CheckWritable(const std::string& path, const struct stat& st, int access_mode) {
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    return FileError::kAccessDenied;
  }
  if (::faccessat(AT_FDCWD, path.c_str(), access_mode, AT_EACCESS) != 0) {
    return FileErrorFromErrno(errno, FileStep::kOpen);
  }
  return FileError::kNone;
}

std::string RandomSuffix() {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937_64 engine{std::random_device{}()};
  std::uniform_int_distribution<size_t> pick(0, sizeof(kLetters) - 2);
  std::string suffix(6, ' ');
  for (char& c : suffix) {
    c = kLetters[pick(engine)];
  }
  return suffix;
}

// Gives the new file the old one's owner where the process may set it, then its mode bits;
// the set-ID bits go when the owner could not be kept.
FileError CopyOwnerAndMode(int fd, const struct stat& old) {
  bool owner_kept = old.st_uid == ::geteuid() && old.st_gid == ::getegid();
  if (!owner_kept) {
    owner_kept = ::fchown(fd, old.st_uid, old.st_gid) == 0;
    if (!owner_kept) {
      // Keep at least the group where it is one of ours; if not, the file stays ours.
      [[maybe_unused]] const int group_kept = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
  }
  mode_t mode = old.st_mode & 07777;
  if (!owner_kept) {
    mode &= ~(S_ISUID | S_ISGID);
  }
  if (::fchmod(fd, mode) != 0) {
    return FileErrorFromErrno(errno, FileStep::kOpen);
  }
  return FileError::kNone;
}

// Flushes the folder so that the rename is on disk. A file system that cannot flush a
// folder (EINVAL) has nothing to flush.
FileError FlushFolder(const std::string& folder) {
  const int fd = OpenRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) {
    return FileErrorFromErrno(errno, FileStep::kOpen);
  }
  const bool flushed = FsyncRetrying(fd) == 0 || errno == EINVAL;
  CloseOnce(fd);
  return flushed ? FileError::kNone : FileError::kDiskFull;
}

}  // namespace

std::string FileErrorMessage(FileError cause, const std::string& path) {
  size_t index = static_cast<size_t>(cause);
  if (index >= std::size(kMessages)) {
    index = static_cast<size_t>(FileError::kGeneric);
  }
  const std::string_view message = kMessages[index];
  const size_t mark = message.find("%1");
  if (mark == std::string_view::npos) {
    return std::string(message);
  }
  std::string out(message.substr(0, mark));
  out += path;
  out += message.substr(mark + 2);
  return out;
}

FileError FileErrorFromErrno(int err, FileStep step) {
  if (step == FileStep::kRead) {
    return FileError::kGeneric;
  }
  if (step == FileStep::kWrite) {
    return FileError::kDiskFull;
  }
  switch (err) {
    case ENOENT:
      return FileError::kFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return FileError::kBadPath;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return FileError::kAccessDenied;
    case EMFILE:
    case ENFILE:
      return FileError::kTooManyOpenFiles;
    case EIO:
    case ENXIO:
    case ENODEV:
      return FileError::kHardIO;
    case EBUSY:
    case ETXTBSY:
      return FileError::kSharingViolation;
    case EAGAIN:
    case ENOLCK:
    case EDEADLK:
      return FileError::kLockViolation;
    case ENOSPC:
    case EDQUOT:
      return FileError::kDiskFull;
    case EBADF:
      return FileError::kInvalidFile;
    default:
      return FileError::kGeneric;
  }
}

std::string TextFromFileBytes(std::string_view bytes) {
  const size_t end_of_file = bytes.find('\x1A');
  if (end_of_file != std::string_view::npos) {
    bytes = bytes.substr(0, end_of_file);
  }

  std::string text;
  text.reserve(bytes.size() + static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) +
               2);
  size_t pos = 0;
  while (pos < bytes.size()) {
    const size_t lf = bytes.find('\n', pos);
    size_t line_end = lf == std::string_view::npos ? bytes.size() : lf;
    // Only the CR right before an LF belongs to the line end; any other CR is text.
    if (lf != std::string_view::npos && line_end > pos && bytes[line_end - 1] == '\r') {
      --line_end;
    }
    AppendWithoutNul(text, bytes.substr(pos, line_end - pos));
    text += "\r\n";
    if (lf == std::string_view::npos) {
      break;
    }
    pos = lf + 1;
  }
  return text;
}

FileError ReadFileBytes(const std::string& path, std::string& out) {
  // Non-blocking, so that a pipe with no writer reads as empty instead of hanging.
  const int fd = OpenRetrying(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0);
  if (fd < 0) {
    return OpenFailure(errno, path);
  }

  FileError cause = FileError::kNone;
  std::string bytes;
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    cause = FileErrorFromErrno(errno, FileStep::kOpen);
  } else if (S_ISDIR(st.st_mode)) {
    cause = FileError::kAccessDenied;
  } else {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1) {
      ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    const size_t size_hint = S_ISREG(st.st_mode) ? static_cast<size_t>(st.st_size) : 0;
    if (!ReadAll(fd, size_hint, bytes)) {
      cause = FileErrorFromErrno(errno, FileStep::kRead);
    }
  }
  CloseOnce(fd);  // nothing was written: a failing close loses nothing
  if (cause == FileError::kNone) {
    out = std::move(bytes);
  }
  return cause;
}

FileError ReadTextFile(const std::string& path, std::string& text) {
  std::string bytes;
  const FileError cause = ReadFileBytes(path, bytes);
  if (cause == FileError::kNone) {
    text = TextFromFileBytes(bytes);
  }
  return cause;
}

FileError WriteTextFile(const std::string& path, std::string_view bytes) {
  if (path.empty()) {
    return FileError::kBadPath;
  }
  std::string target;
  if (const FileError cause = ResolveLinks(path, target); cause != FileError::kNone) {
    return cause;
  }
  const std::string folder = FolderOf(target);
  const std::string name = NameOf(target);

  struct stat folder_st;
  if (::stat(folder.c_str(), &folder_st) != 0) {
    const FileError cause = FileErrorFromErrno(errno, FileStep::kOpen);
    return cause == FileError::kFileNotFound ? FileError::kBadPath : cause;
  }
  if (!S_ISDIR(folder_st.st_mode)) {
    return FileError::kBadPath;
  }
  if (name.empty()) {
    return IsFolder(target) ? FileError::kAccessDenied : FileError::kBadPath;
  }

  struct stat old;
  const bool exists = ::lstat(target.c_str(), &old) == 0;
  if (exists) {
    if (!S_ISREG(old.st_mode)) {
      return FileError::kAccessDenied;
    }
    if (const FileError cause = CheckWritable(target, old, W_OK); cause != FileError::kNone) {
      return cause;
    }
  } else if (errno != ENOENT) {
    return OpenFailure(errno, target);
  }
  if (const FileError cause = CheckWritable(folder, folder_st, W_OK | X_OK);
      cause != FileError::kNone) {
    return cause;
  }

  // The temporary file: a new file gets 0666 less the umask from the kernel; over an old
  // file it starts private and takes the old file's owner and mode below.
  std::string stem(1, '.');
  stem.append(name, 0, kMaxTempStem);
  stem += '.';
  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0; ++attempt) {
    temp = JoinPath(folder, stem + RandomSuffix());
    fd = OpenRetrying(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                      exists ? 0600 : 0666);
    if (fd < 0 && (errno != EEXIST || attempt == 100)) {
      return OpenFailure(errno, temp);
    }
  }

  auto fail = [&](FileError cause) {
    if (fd >= 0) {
      CloseOnce(fd);
    }
    ::unlink(temp.c_str());
    return cause;
  };

  if (exists) {
    if (const FileError cause = CopyOwnerAndMode(fd, old); cause != FileError::kNone) {
      return fail(cause);
    }
  }
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = g_calls.write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      return fail(FileErrorFromErrno(errno, FileStep::kWrite));
    }
    done += static_cast<size_t>(n);
  }
  if (FsyncRetrying(fd) != 0) {
    return fail(FileErrorFromErrno(errno, FileStep::kWrite));
  }
  const int closed = CloseOnce(fd);
  fd = -1;
  if (closed != 0) {
    return fail(FileErrorFromErrno(errno, FileStep::kWrite));
  }
  if (g_calls.rename(temp.c_str(), target.c_str()) != 0) {
    return fail(OpenFailure(errno, target));
  }
  return FlushFolder(folder);
}

const FileSystemCalls& RealFileSystemCalls() {
  return kRealCalls;
}

FileSystemCalls SetFileSystemCalls(const FileSystemCalls& calls) {
  const FileSystemCalls previous = g_calls;
  g_calls = calls;
  return previous;
}
