// Text files: the line reader of File > Open, the safe writer of Save, and the messages
// for the causes of a failure.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

// Causes of a file failure, numbered as the messages that describe them.
enum class FileError {
  kNone = 0,
  kGeneric = 1,
  kFileNotFound = 2,
  kBadPath = 3,
  kTooManyOpenFiles = 4,
  kAccessDenied = 5,
  kInvalidFile = 6,
  kRemoveCurrentDir = 7,
  kDirectoryFull = 8,
  kBadSeek = 9,
  kHardIO = 10,
  kSharingViolation = 11,
  kLockViolation = 12,
  kDiskFull = 13,
  kEndOfFile = 14,
};

// The message for a cause, "%1" replaced by path ("%1 was not found." ...).
std::string FileErrorMessage(FileError cause, const std::string& path);

// The editor text that a file's bytes give: lines end at LF or CR LF (a lone CR is an
// ordinary byte), 0x1A ends the file, a NUL byte is dropped (the rest of its line is
// kept), and every line is followed by CR LF; no bytes give no text.
std::string TextFromFileBytes(std::string_view bytes);

// Reads the file at path into text (as TextFromFileBytes). On failure text is untouched.
FileError ReadTextFile(const std::string& path, std::string& text);

// Reads the file's bytes unchanged, without the line reading. On failure bytes is untouched.
FileError ReadFileBytes(const std::string& path, std::string& bytes);

// Writes bytes to path unchanged, so that a failure at any step leaves the old file as it
// was: a temporary file in the same folder, flushed to disk, renamed over the target.
//
// - A symbolic link is written through: its final target gets the bytes, the link stays.
// - An existing target keeps its permission bits and, where the process may set it, its
//   owner and group; a new file gets 0666 less the umask.
// - A target that may not be written fails with kAccessDenied and stays as it was, also
//   for root, whom the mode bits do not stop: a target with no write bit for anyone, a
//   folder with no write bit for anyone, a read-only mount, a folder as the target, and a
//   target that is not a regular file (a device or pipe is never replaced).
// - A missing folder of the path is kBadPath.
// - Once the new content is in place, a failure to flush the folder is still reported
//   (kDiskFull): the rename may not have reached the disk.
// Hard links of the target are not kept: the target's name gets a new file.
FileError WriteTextFile(const std::string& path, std::string_view bytes);

// The step at which a system call failed; with the error code it decides the cause.
enum class FileStep {
  kOpen,     // opening the file to read, creating the temporary file, checking the target
  kRead,     // reading the opened file
  kWrite,    // writing, flushing or closing the temporary file, flushing the folder
  kReplace,  // renaming the temporary file over the target
};

// The cause for the error code err at step:
//
// kOpen and kReplace:
//   ENOENT                          -> kFileNotFound (the callers that know the path turn
//                                      it into kBadPath when a folder of it is missing)
//   ENOTDIR, ENAMETOOLONG, ELOOP    -> kBadPath
//   EACCES, EPERM, EROFS, EISDIR    -> kAccessDenied
//   EMFILE, ENFILE                  -> kTooManyOpenFiles
//   EIO, ENXIO, ENODEV              -> kHardIO
//   EBUSY, ETXTBSY                  -> kSharingViolation
//   EAGAIN, ENOLCK, EDEADLK         -> kLockViolation
//   ENOSPC, EDQUOT                  -> kDiskFull: on Linux a file fails to be created for
//                                      want of blocks, inodes or quota of the file system,
//                                      hardly ever because one folder is full, and the
//                                      remedy is the same as for a full disk
//   EBADF                           -> kInvalidFile
//   anything else                   -> kGeneric
// kRead: always kGeneric.
// kWrite: always kDiskFull, whatever the code.
// kDirectoryFull, kRemoveCurrentDir, kBadSeek and kEndOfFile have no error code here.
FileError FileErrorFromErrno(int err, FileStep step);

// The system calls under the file layer. Tests replace them to make failures that cannot be
// made for real; the program keeps the real ones.
struct FileSystemCalls {
  int (*open)(const char* path, int flags, mode_t mode);
  ssize_t (*read)(int fd, void* buffer, size_t size);
  ssize_t (*write)(int fd, const void* buffer, size_t size);
  int (*fsync)(int fd);
  int (*close)(int fd);
  int (*rename)(const char* from, const char* to);
};

// The calls straight to the system.
const FileSystemCalls& RealFileSystemCalls();

// Makes the file layer use calls from now on; returns the calls it used before.
FileSystemCalls SetFileSystemCalls(const FileSystemCalls& calls);
