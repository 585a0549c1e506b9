// Text files: the line reader of File > Open, the safe writer of Save, and the messages
// for the causes of a failure.
#pragma once

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
// ordinary byte), 0x1A ends the file, a NUL byte is dropped, and every line is followed
// by CR LF.
std::string TextFromFileBytes(std::string_view bytes);

// Reads the file at path into text (as TextFromFileBytes). On failure text is untouched.
FileError ReadTextFile(const std::string& path, std::string& text);

// Writes bytes to path unchanged, so that a failure at any step leaves the old file as it
// was: a temporary file in the same folder, flushed to disk, renamed over the target.
FileError WriteTextFile(const std::string& path, std::string_view bytes);
