#include "view/text_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

// Says aloud that a test took its second-best route, so the run shows it.
void Note(const std::string& text) {
  testing::Test::RecordProperty("note", text);
  std::cout << "[   NOTE   ] " << text << "\n";
}

// A fresh folder under /tmp, removed with everything in it.
class TextFileTest : public testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/tobiuox-file-XXXXXX";
    ASSERT_NE(::mkdtemp(name), nullptr);
    dir_ = name;
  }
  void TearDown() override {
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(dir_, ec)) {
      if (entry.is_directory(ec) && !entry.is_symlink(ec)) {
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
      }
    }
    fs::remove_all(dir_, ec);
  }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  std::string dir_;
};

// A tmpfs mounted on a folder for the time of a test, where the process may mount.
class Tmpfs {
 public:
  Tmpfs(const std::string& folder, const char* options) : folder_(folder), options_(options) {
    mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options) == 0;
    error_ = errno;
  }
  ~Tmpfs() {
    if (mounted_) {
      ::umount2(folder_.c_str(), MNT_DETACH);
    }
  }
  bool mounted() const { return mounted_; }
  std::string why_not() const { return std::strerror(error_); }
  bool MakeReadOnly() {
    return ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, options_) == 0;
  }

 private:
  std::string folder_;
  const char* options_;
  bool mounted_;
  int error_;
};

// The file layer's system calls with one of them made to fail.
enum class Call { kOpenRead, kCreate, kOpenFolder, kRead, kWrite, kFsync, kClose, kRename };

struct Fault {
  Call call;
  int nth;  // the failing call among the calls of its kind, from 1
  int err;
};

Fault g_fault{};
int g_seen = 0;
bool g_trickle = false;  // reads and writes move at most 7 bytes, and every other one is
                         // interrupted before it moves anything

bool Trips(Call call) {
  if (call != g_fault.call || ++g_seen != g_fault.nth) {
    return false;
  }
  errno = g_fault.err;
  return true;
}

bool Interrupted() {
  static int calls = 0;
  if (!g_trickle || ++calls % 2 == 0) {
    return false;
  }
  errno = EINTR;
  return true;
}

const FileSystemCalls kFaultyCalls = {
    [](const char* path, int flags, mode_t mode) {
      const Call call = (flags & O_CREAT)       ? Call::kCreate
                        : (flags & O_DIRECTORY) ? Call::kOpenFolder
                                                : Call::kOpenRead;
      return Trips(call) ? -1 : RealFileSystemCalls().open(path, flags, mode);
    },
    [](int fd, void* buffer, size_t size) -> ssize_t {
      if (Trips(Call::kRead) || Interrupted()) {
        return -1;
      }
      return RealFileSystemCalls().read(fd, buffer, g_trickle ? std::min<size_t>(size, 7) : size);
    },
    [](int fd, const void* buffer, size_t size) -> ssize_t {
      if (Trips(Call::kWrite) || Interrupted()) {
        return -1;
      }
      return RealFileSystemCalls().write(fd, buffer, g_trickle ? std::min<size_t>(size, 7) : size);
    },
    [](int fd) { return Trips(Call::kFsync) ? -1 : RealFileSystemCalls().fsync(fd); },
    [](int fd) {
      const int result = RealFileSystemCalls().close(fd);  // released either way, as Linux does
      return Trips(Call::kClose) ? -1 : result;
    },
    [](const char* from, const char* to) {
      return Trips(Call::kRename) ? -1 : RealFileSystemCalls().rename(from, to);
    },
};

// Puts the faulty calls under the file layer for the time of a scope.
class FaultyCalls {
 public:
  explicit FaultyCalls(Fault fault, bool trickle = false) {
    g_fault = fault;
    g_seen = 0;
    g_trickle = trickle;
    previous_ = SetFileSystemCalls(kFaultyCalls);
  }
  ~FaultyCalls() {
    SetFileSystemCalls(previous_);
    g_trickle = false;
  }

 private:
  FileSystemCalls previous_;
};

constexpr Fault kNoFault{Call::kRead, 0, 0};

// ---------------------------------------------------------------------------------------------
// Messages

TEST(FileErrorMessageTest, EachCauseHasItsMessageWithThePath) {
  const std::string path = "/home/u/My Files/a.txt";
  const struct {
    FileError cause;
    std::string message;
  } cases[] = {
      {FileError::kNone, "No error occurred."},
      {FileError::kGeneric, "An unknown error occurred while accessing " + path + "."},
      {FileError::kFileNotFound, path + " was not found."},
      {FileError::kBadPath, path + " contains an invalid path."},
      {FileError::kTooManyOpenFiles,
       path + " could not be opened because there are too many open files."},
      {FileError::kAccessDenied, "Access to " + path + " was denied."},
      {FileError::kInvalidFile, "An invalid file handle was associated with " + path + "."},
      {FileError::kRemoveCurrentDir,
       path + " could not be removed because it is the current directory."},
      {FileError::kDirectoryFull, path + " could not be created because the directory is full."},
      {FileError::kBadSeek, "Seek failed on " + path},
      {FileError::kHardIO, "A hardware I/O error was reported while accessing " + path + "."},
      {FileError::kSharingViolation, "A sharing violation occurred while accessing " + path + "."},
      {FileError::kLockViolation, "A locking violation occurred while accessing " + path + "."},
      {FileError::kDiskFull, "Disk full while accessing " + path + "."},
      {FileError::kEndOfFile, "An attempt was made to access " + path + " past its end."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileErrorMessage(c.cause, path), c.message);
  }
}

TEST(FileErrorMessageTest, MarkInsideThePathIsNotReplaced) {
  EXPECT_EQ(FileErrorMessage(FileError::kFileNotFound, "/tmp/100%1.txt"),
            "/tmp/100%1.txt was not found.");
}

// ---------------------------------------------------------------------------------------------
// The line reader

TEST_F(TextFileTest, ReaderBuildsCrLfLinesFromFileBytes) {
  const std::string long_line(129, 'a');
  const std::string huge_line(100 * 1024, 'b');
  const struct {
    const char* name;
    std::string bytes;
    std::string text;
  } cases[] = {
      {"empty file", "", ""},
      {"LF", "A\nB\n", "A\r\nB\r\n"},
      {"CR LF", "A\r\nB\r\n", "A\r\nB\r\n"},
      {"LF and CR LF mixed", "A\nB\r\nC\n", "A\r\nB\r\nC\r\n"},
      {"last line without line end", "A\r\nB", "A\r\nB\r\n"},
      {"no empty line after the final line end", "A\r\nB\r\n", "A\r\nB\r\n"},
      {"empty line kept", "A\r\n\r\n", "A\r\n\r\n"},
      {"only line ends", "\r\n\n", "\r\n\r\n"},
      {"lone CR is text", "A\rB\rC\r", "A\rB\rC\r\r\n"},
      {"CR before CR LF is text", "A\r\r\nB", "A\r\r\nB\r\n"},
      {"0x1A ends the file", "A\r\nB\x1A C\r\nD\r\n", "A\r\nB\r\n"},
      {"0x1A first",
       "\x1A"
       "A\r\n",
       ""},
      {"CR cut from its LF by 0x1A", "A\r\x1A\n", "A\r\r\n"},
      {"NUL dropped, rest of line kept", "AB\0CD\r\nE"s, "ABCD\r\nE\r\n"},
      {"NUL ending a 128-byte piece", std::string(127, 'x') + '\0' + std::string(200, 'y') + "\n",
       std::string(127, 'x') + std::string(200, 'y') + "\r\n"},
      {"line longer than 128 bytes", long_line, long_line + "\r\n"},
      {"100 KB line", huge_line + "\r\nZ", huge_line + "\r\nZ\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(Path("in.txt"), c.bytes);
    std::string text = "stale";
    ASSERT_EQ(ReadTextFile(Path("in.txt"), text), FileError::kNone);
    EXPECT_EQ(text, c.text);
  }
}

TEST_F(TextFileTest, OpenThenSaveKeepsCrLfFilesByteForByte) {
  const struct {
    const char* name;
    std::string bytes;
  } fixtures[] = {
      // 日本語 / 表示 (trail byte 0x5C) / ソフト (0x5C, 0x74) / half-width kana / ASCII
      {"Shift-JIS",
       "\x93\xfa\x96\x7b\x8c\xea\r\n\x95\x5c\x8e\xa6\r\n\x83\x5c\x83\x74\x83\x67\r\n"
       "\xb1\xb2\xb3 abc\r\n"},
      {"ISO-2022-JP", "\x1b$B$3$s$K$A$O\x1b(B\r\n\x1b$B4A;z\x1b(B ok\r\n\r\n"},
      {"not valid Shift-JIS", "\x80\xa0\xfd\xfe\xff\r\n\x81\r\n\x82\x20\x9f\r\n\xe0\r\n"},
  };
  for (const auto& f : fixtures) {
    SCOPED_TRACE(f.name);
    const std::string path = Path("round.txt");
    WriteBytes(path, f.bytes);
    std::string text;
    ASSERT_EQ(ReadTextFile(path, text), FileError::kNone);
    ASSERT_EQ(WriteTextFile(path, text), FileError::kNone);
    EXPECT_EQ(ReadBytes(path), f.bytes);
  }
}

TEST_F(TextFileTest, ReadsAndWritesWholeThroughShortAndInterruptedCalls) {
  std::string bytes;
  for (int i = 0; i < 2000; ++i) {
    bytes += "line " + std::to_string(i) + " \x82\xa0\r\n";
  }
  const std::string path = Path("big.txt");
  std::string text;
  {
    FaultyCalls trickle(kNoFault, /*trickle=*/true);
    ASSERT_EQ(WriteTextFile(path, bytes), FileError::kNone);
    ASSERT_EQ(ReadTextFile(path, text), FileError::kNone);
  }
  EXPECT_EQ(ReadBytes(path), bytes);
  EXPECT_EQ(text, bytes);
}

// ---------------------------------------------------------------------------------------------
// Reading: failures

TEST_F(TextFileTest, ReadFailuresLeaveTheTextAlone) {
  WriteBytes(Path("file.txt"), "x");
  fs::create_directory(Path("folder"));
  const struct {
    const char* name;
    std::string path;
    FileError cause;
  } cases[] = {
      {"missing file", Path("missing.txt"), FileError::kFileNotFound},
      {"missing folder", Path("nowhere/a.txt"), FileError::kBadPath},
      {"a file as a folder", Path("file.txt/a.txt"), FileError::kBadPath},
      {"a folder as the file", Path("folder"), FileError::kAccessDenied},
      {"dangling link", Path("dangling"), FileError::kFileNotFound},
  };
  fs::create_symlink("gone.txt", Path("dangling"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text = "keep";
    EXPECT_EQ(ReadTextFile(c.path, text), c.cause);
    EXPECT_EQ(text, "keep");
  }
}

TEST_F(TextFileTest, SystemFailuresWhileReadingLeaveTheTextAlone) {
  WriteBytes(Path("file.txt"), "abc\r\n");
  const struct {
    const char* name;
    Fault fault;
    FileError cause;
  } cases[] = {
      {"open: file in use", {Call::kOpenRead, 1, EBUSY}, FileError::kSharingViolation},
      {"open: device error", {Call::kOpenRead, 1, EIO}, FileError::kHardIO},
      {"open: locked", {Call::kOpenRead, 1, EAGAIN}, FileError::kLockViolation},
      {"read: device error", {Call::kRead, 1, EIO}, FileError::kGeneric},
      {"read: out of space", {Call::kRead, 1, ENOSPC}, FileError::kGeneric},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FaultyCalls faulty(c.fault);
    std::string text = "keep";
    EXPECT_EQ(ReadTextFile(Path("file.txt"), text), c.cause);
    EXPECT_EQ(text, "keep");
  }
}

// ---------------------------------------------------------------------------------------------
// Writing

TEST_F(TextFileTest, WritesBytesUnchangedAndLeavesNoTemporaryFile) {
  const std::string bytes = "a\0b\x1a\rc\n\x81"s;
  ASSERT_EQ(WriteTextFile(Path("new.txt"), bytes), FileError::kNone);
  EXPECT_EQ(ReadBytes(Path("new.txt")), bytes);
  ASSERT_EQ(WriteTextFile(Path("new.txt"), ""), FileError::kNone);
  EXPECT_EQ(ReadBytes(Path("new.txt")), "");
  EXPECT_EQ(Entries(dir_), std::set<std::string>{"new.txt"});
}

TEST_F(TextFileTest, NewFileGetsTheUmaskModeAndOldFileKeepsItsMode) {
  const mode_t old_mask = ::umask(027);
  const FileError created = WriteTextFile(Path("new.txt"), "x");
  ::umask(old_mask);
  ASSERT_EQ(created, FileError::kNone);
  EXPECT_EQ(ModeOf(Path("new.txt")), 0640u);

  WriteBytes(Path("old.txt"), "old");
  ASSERT_EQ(::chmod(Path("old.txt").c_str(), 0604), 0);
  ASSERT_EQ(WriteTextFile(Path("old.txt"), "new"), FileError::kNone);
  EXPECT_EQ(ModeOf(Path("old.txt")), 0604u);
  EXPECT_EQ(ReadBytes(Path("old.txt")), "new");
}

TEST_F(TextFileTest, OldFileKeepsItsOwner) {
  if (::geteuid() != 0) {
    GTEST_SKIP() << "giving a file another owner needs root";
  }
  WriteBytes(Path("old.txt"), "old");
  ASSERT_EQ(::chown(Path("old.txt").c_str(), 4321, 4322), 0);
  ASSERT_EQ(WriteTextFile(Path("old.txt"), "new"), FileError::kNone);
  struct stat st {};
  ASSERT_EQ(::stat(Path("old.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 4321u);
  EXPECT_EQ(st.st_gid, 4322u);
}

TEST_F(TextFileTest, WritesThroughSymbolicLinksToTheirFinalTarget) {
  fs::create_directory(Path("sub"));
  WriteBytes(Path("sub/real.txt"), "old");
  ASSERT_EQ(::chmod(Path("sub/real.txt").c_str(), 0640), 0);
  fs::create_symlink("sub/real.txt", Path("link1"));
  fs::create_symlink(Path("link1"), Path("link2"));  // absolute, to a link

  ASSERT_EQ(WriteTextFile(Path("link2"), "new"), FileError::kNone);
  EXPECT_EQ(ReadBytes(Path("sub/real.txt")), "new");
  EXPECT_EQ(ModeOf(Path("sub/real.txt")), 0640u);
  EXPECT_EQ(fs::read_symlink(Path("link1")), "sub/real.txt");
  EXPECT_EQ(fs::read_symlink(Path("link2")), Path("link1"));
  EXPECT_EQ(Entries(Path("sub")), std::set<std::string>{"real.txt"});
  EXPECT_EQ(Entries(dir_), (std::set<std::string>{"link1", "link2", "sub"}));
}

TEST_F(TextFileTest, DanglingLinkCreatesItsTargetAndLinkLoopIsABadPath) {
  fs::create_symlink("made.txt", Path("dangling"));
  ASSERT_EQ(WriteTextFile(Path("dangling"), "new"), FileError::kNone);
  EXPECT_TRUE(fs::is_symlink(Path("dangling")));
  EXPECT_EQ(ReadBytes(Path("made.txt")), "new");

  fs::create_symlink("loop2", Path("loop1"));
  fs::create_symlink("loop1", Path("loop2"));
  EXPECT_EQ(WriteTextFile(Path("loop1"), "new"), FileError::kBadPath);
  EXPECT_EQ(Entries(dir_), (std::set<std::string>{"dangling", "made.txt", "loop1", "loop2"}));
}

// ---------------------------------------------------------------------------------------------
// Writing: failures, each leaving the old file as it was

TEST_F(TextFileTest, PathFailuresChangeNothing) {
  WriteBytes(Path("old.txt"), "old");
  fs::create_directory(Path("folder"));
  ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0666), 0);
  const struct {
    const char* name;
    std::string path;
    FileError cause;
  } cases[] = {
      {"missing folder", Path("nowhere/a.txt"), FileError::kBadPath},
      {"a file as a folder", Path("old.txt/a.txt"), FileError::kBadPath},
      {"a folder as the file", Path("folder"), FileError::kAccessDenied},
      {"a folder named with a slash", Path("folder/"), FileError::kAccessDenied},
      {"empty path", "", FileError::kBadPath},
      {"a pipe as the file", Path("pipe"), FileError::kAccessDenied},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(WriteTextFile(c.path, "new"), c.cause);
    EXPECT_EQ(ReadBytes(Path("old.txt")), "old");
    EXPECT_EQ(Entries(dir_), (std::set<std::string>{"folder", "old.txt", "pipe"}));
    EXPECT_TRUE(Entries(Path("folder")).empty());
    EXPECT_TRUE(fs::is_fifo(Path("pipe")));
  }
}

TEST_F(TextFileTest, ReadOnlyFileIsNotWrittenEvenByRoot) {
  WriteBytes(Path("old.txt"), "old");
  ASSERT_EQ(::chmod(Path("old.txt").c_str(), 0444), 0);
  EXPECT_EQ(WriteTextFile(Path("old.txt"), "new"), FileError::kAccessDenied);
  EXPECT_EQ(ReadBytes(Path("old.txt")), "old");
  EXPECT_EQ(ModeOf(Path("old.txt")), 0444u);
  EXPECT_EQ(Entries(dir_), std::set<std::string>{"old.txt"});
}

TEST_F(TextFileTest, ReadOnlyFolderIsNotWrittenEvenByRoot) {
  fs::create_directory(Path("ro"));
  WriteBytes(Path("ro/old.txt"), "old");
  ASSERT_EQ(::chmod(Path("ro").c_str(), 0555), 0);
  EXPECT_EQ(WriteTextFile(Path("ro/old.txt"), "new"), FileError::kAccessDenied);
  EXPECT_EQ(WriteTextFile(Path("ro/new.txt"), "new"), FileError::kAccessDenied);
  EXPECT_EQ(ReadBytes(Path("ro/old.txt")), "old");
  EXPECT_EQ(Entries(Path("ro")), std::set<std::string>{"old.txt"});
}

TEST_F(TextFileTest, ReadOnlyMountIsNotWritten) {
  const std::string mnt = Path("mnt");
  fs::create_directory(mnt);
  Tmpfs tmpfs(mnt, "size=64k");
  if (!tmpfs.mounted()) {
    Note("tmpfs cannot be mounted here (" + tmpfs.why_not() +
         "); a read-only mount is made through the file-system seam instead");
    WriteBytes(Path("old.txt"), "old");
    FaultyCalls faulty({Call::kCreate, 1, EROFS});
    EXPECT_EQ(WriteTextFile(Path("old.txt"), "new"), FileError::kAccessDenied);
    EXPECT_EQ(ReadBytes(Path("old.txt")), "old");
    EXPECT_EQ(Entries(dir_), (std::set<std::string>{"mnt", "old.txt"}));
    return;
  }
  WriteBytes(mnt + "/old.txt", "old");
  ASSERT_TRUE(tmpfs.MakeReadOnly()) << std::strerror(errno);
  EXPECT_EQ(WriteTextFile(mnt + "/old.txt", "new"), FileError::kAccessDenied);
  EXPECT_EQ(WriteTextFile(mnt + "/new.txt", "new"), FileError::kAccessDenied);
  EXPECT_EQ(ReadBytes(mnt + "/old.txt"), "old");
  EXPECT_EQ(Entries(mnt), std::set<std::string>{"old.txt"});
}

TEST_F(TextFileTest, FullDiskKeepsTheOldFile) {
  const std::string mnt = Path("mnt");
  fs::create_directory(mnt);
  Tmpfs tmpfs(mnt, "size=64k");
  const std::string big(256 * 1024, 'z');
  if (!tmpfs.mounted()) {
    Note("tmpfs cannot be mounted here (" + tmpfs.why_not() +
         "); a full disk is made through the file-system seam instead");
    WriteBytes(Path("old.txt"), "old");
    FaultyCalls faulty({Call::kWrite, 1, ENOSPC});
    EXPECT_EQ(WriteTextFile(Path("old.txt"), big), FileError::kDiskFull);
    EXPECT_EQ(ReadBytes(Path("old.txt")), "old");
    EXPECT_EQ(Entries(dir_), (std::set<std::string>{"mnt", "old.txt"}));
    return;
  }
  WriteBytes(mnt + "/old.txt", "old");
  EXPECT_EQ(WriteTextFile(mnt + "/old.txt", big), FileError::kDiskFull);
  EXPECT_EQ(ReadBytes(mnt + "/old.txt"), "old");
  EXPECT_EQ(Entries(mnt), std::set<std::string>{"old.txt"});
  // The partial temporary file is gone, so its space is free again.
  EXPECT_EQ(WriteTextFile(mnt + "/old.txt", std::string(32 * 1024, 'y')), FileError::kNone);
}

TEST_F(TextFileTest, TooManyOpenFiles) {
  WriteBytes(Path("old.txt"), "old");
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
  rlimit low = saved;
  low.rlim_cur = 64;
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
  std::vector<int> hogs;
  for (int fd; (fd = ::dup(STDIN_FILENO)) >= 0;) {
    hogs.push_back(fd);
  }

  std::string text = "keep";
  const FileError read = ReadTextFile(Path("old.txt"), text);
  const FileError written = WriteTextFile(Path("old.txt"), "new");

  for (const int fd : hogs) {
    ::close(fd);
  }
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &saved), 0);
  EXPECT_EQ(read, FileError::kTooManyOpenFiles);
  EXPECT_EQ(text, "keep");
  EXPECT_EQ(written, FileError::kTooManyOpenFiles);
  EXPECT_EQ(ReadBytes(Path("old.txt")), "old");
  EXPECT_EQ(Entries(dir_), std::set<std::string>{"old.txt"});
}

TEST_F(TextFileTest, SystemFailuresWhileSavingKeepTheOldFile) {
  const struct {
    const char* name;
    Fault fault;
    FileError cause;
  } cases[] = {
      {"create: out of inodes", {Call::kCreate, 1, ENOSPC}, FileError::kDiskFull},
      {"create: device error", {Call::kCreate, 1, EIO}, FileError::kHardIO},
      {"write: device error", {Call::kWrite, 1, EIO}, FileError::kDiskFull},
      {"write: quota", {Call::kWrite, 1, EDQUOT}, FileError::kDiskFull},
      {"fsync: device error", {Call::kFsync, 1, EIO}, FileError::kDiskFull},
      {"close: delayed write failed", {Call::kClose, 1, EIO}, FileError::kDiskFull},
      {"rename: target busy", {Call::kRename, 1, EBUSY}, FileError::kSharingViolation},
      {"rename: denied", {Call::kRename, 1, EPERM}, FileError::kAccessDenied},
      {"rename: other", {Call::kRename, 1, EXDEV}, FileError::kGeneric},
  };
  WriteBytes(Path("old.txt"), "old\r\n");
  ASSERT_EQ(::chmod(Path("old.txt").c_str(), 0600), 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FaultyCalls faulty(c.fault);
    EXPECT_EQ(WriteTextFile(Path("old.txt"), "new\r\n"), c.cause);
    EXPECT_EQ(ReadBytes(Path("old.txt")), "old\r\n");
    EXPECT_EQ(ModeOf(Path("old.txt")), 0600u);
    EXPECT_EQ(Entries(dir_), std::set<std::string>{"old.txt"});
  }
}

TEST_F(TextFileTest, FailedFolderFlushIsReportedAfterTheFileIsReplaced) {
  WriteBytes(Path("old.txt"), "old");
  FaultyCalls faulty({Call::kFsync, 2, EIO});  // the first flush is the file's, the second the
                                               // folder's
  EXPECT_EQ(WriteTextFile(Path("old.txt"), "new"), FileError::kDiskFull);
  EXPECT_EQ(ReadBytes(Path("old.txt")), "new");
  EXPECT_EQ(Entries(dir_), std::set<std::string>{"old.txt"});
}

}  // namespace
