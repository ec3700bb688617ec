// The last error of each thread, and the texts FormatMessageA gives for the
// errors these platforms set.
#include <errno.h>
#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>

#include <cstring>

#include "common.h"

namespace {

constexpr DWORD kInsufficientBuffer = 122;
constexpr DWORD kFilenameExcedRange = 206;  // ERROR_FILENAME_EXCED_RANGE
constexpr DWORD kReadFault = 30;            // ERROR_READ_FAULT
constexpr DWORD kMessageNotFound = 317;     // ERROR_MR_MID_NOT_FOUND

thread_local DWORD t_lastError = ERROR_SUCCESS;
// The text that goes with t_lastError, when a back end gave one.
thread_local std::string t_lastErrorText;

const char* TableMessage(DWORD code) {
  switch (code) {
    case ERROR_SUCCESS:
      return "The operation completed successfully.\r\n";
    case ERROR_FILE_NOT_FOUND:
      return "File not found.\r\n";
    case ERROR_PATH_NOT_FOUND:
      return "Path not found.\r\n";
    case ERROR_ACCESS_DENIED:
      return "Access denied.\r\n";
    case ERROR_INVALID_HANDLE:
      return "Invalid handle.\r\n";
    case ERROR_GEN_FAILURE:
      return "A device attached to the system is not functioning.\r\n";
    case kReadFault:
      return "The system cannot read from the specified device.\r\n";
    case ERROR_NOT_ENOUGH_MEMORY:
      return "Not enough memory.\r\n";
    case ERROR_INVALID_PARAMETER:
      return "Invalid parameter.\r\n";
    case ERROR_DISK_FULL:
      return "There is not enough space on the disk.\r\n";
    case ERROR_ALREADY_EXISTS:
      return "Cannot create a file when that file already exists.\r\n";
    case kFilenameExcedRange:
      return "File name too long.\r\n";
    case ERROR_INVALID_PRINTER_NAME:
      return "Invalid printer name.\r\n";
    default:
      return nullptr;
  }
}

// The thread's own text for its last error, or the table's.
std::string MessageOf(DWORD code, bool& found) {
  if (code == t_lastError && !t_lastErrorText.empty()) {
    found = true;
    return t_lastErrorText + "\r\n";
  }
  const char* text = TableMessage(code);
  found = text != nullptr;
  return text ? text : "";
}

}  // namespace

DWORD GetLastError() { return t_lastError; }

void SetLastError(DWORD code) {
  t_lastError = code;
  t_lastErrorText.clear();
}

namespace winapi {

void SetLastErrorText(DWORD code, const std::string& text) {
  t_lastError = code;
  t_lastErrorText = text;
}

DWORD ErrorFromErrno(int error) {
  switch (error) {
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      return ERROR_ACCESS_DENIED;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EIO:
      return kReadFault;  // what Windows says of a disk that fails a read
    case ENAMETOOLONG:
      return kFilenameExcedRange;
    case ENOSPC:
    case EDQUOT:
      return ERROR_DISK_FULL;
    default:
      return ERROR_INVALID_PARAMETER;
  }
}

int LowLevelOpen(const char* path, int mode) {
  if (!path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  int flags = (mode & 3) == OF_WRITE ? O_WRONLY : (mode & 3) == OF_READWRITE ? O_RDWR : O_RDONLY;
  // Never waiting in the open itself: a FIFO would wait there for a
  // writer. What is opened is then told by GetFileType, and the library
  // reads regular files only.
  int fd = open(path, flags | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    SetLastError(OpenFileError(path, errno));
    return -1;
  }
  // A folder opens for reading here, but it is no file: Windows refuses
  // it, and a report that is a folder must not count as printed.
  struct stat info {};
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    close(fd);
    SetLastError(ERROR_ACCESS_DENIED);
    return -1;
  }
  return fd;
}

DWORD OpenFileError(const char* path, int error) {
  if (error != ENOENT) return ErrorFromErrno(error);
  // A name in a folder that does not exist: Windows says the path is
  // wrong, not the file.
  const char* slash = strrchr(path, '/');
  if (!slash || slash == path) return ERROR_FILE_NOT_FOUND;
  std::string folder(path, static_cast<size_t>(slash - path));
  struct stat info {};
  bool folderThere = stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  return folderThere ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

DWORD FormatSystemMessage(DWORD flags, DWORD messageId, LPSTR buffer, DWORD size,
                          LPSTR (*keep)(const std::string& text)) {
  bool found = false;
  std::string text = (flags & FORMAT_MESSAGE_FROM_SYSTEM) ? MessageOf(messageId, found) : "";
  if (!found) {
    SetLastError(kMessageNotFound);
    return 0;
  }
  DWORD length = static_cast<DWORD>(text.size());
  if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
    LPSTR copy = keep(text);
    if (!copy) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return 0;
    }
    *reinterpret_cast<LPSTR*>(buffer) = copy;
    return length;
  }
  if (!buffer || size <= length) {
    SetLastError(kInsufficientBuffer);
    return 0;
  }
  memcpy(buffer, text.c_str(), length + 1);
  return length;
}

}  // namespace winapi
