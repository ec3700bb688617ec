/* A slow or failing disk under one file, for tests: loaded with
 * LD_PRELOAD, it watches the file whose path ends with $DISK_FAULTS_PATH.
 * Every read of it waits $DISK_FAULTS_READ_DELAY_MS milliseconds (a slow
 * share), and once $DISK_FAULTS_FAIL_AFTER bytes of it were read every
 * read fails with EIO (a damaged block, a share gone away). Other files
 * read as usual. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

static int failing_fd = -1;
static long long read_so_far;

static void watch(const char* path, int fd) {
  const char* suffix = getenv("DISK_FAULTS_PATH");
  size_t length = path && suffix ? strlen(path) : 0, end = suffix ? strlen(suffix) : 0;
  if (fd < 0 || !suffix || !*suffix || length < end || strcmp(path + length - end, suffix) != 0)
    return;
  failing_fd = fd;
  read_so_far = 0;
}

#define OPEN_LIKE(name)                                                        \
  int name(const char* path, int flags, ...) {                                 \
    static int (*real)(const char*, int, ...);                                 \
    va_list args;                                                              \
    va_start(args, flags);                                                     \
    mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, mode_t) : 0;  \
    va_end(args);                                                              \
    if (!real) real = (int (*)(const char*, int, ...))dlsym(RTLD_NEXT, #name); \
    int fd = real(path, flags, mode);                                          \
    watch(path, fd);                                                           \
    return fd;                                                                 \
  }
OPEN_LIKE(open)
OPEN_LIKE(open64)

int close(int fd) {
  static int (*real)(int);
  if (!real) real = (int (*)(int))dlsym(RTLD_NEXT, "close");
  if (fd == failing_fd) failing_fd = -1;
  return real(fd);
}

ssize_t read(int fd, void* buffer, size_t count) {
  static ssize_t (*real)(int, void*, size_t);
  if (!real) real = (ssize_t(*)(int, void*, size_t))dlsym(RTLD_NEXT, "read");
  if (fd != failing_fd) return real(fd, buffer, count);
  const char* delay = getenv("DISK_FAULTS_READ_DELAY_MS");
  const char* limit = getenv("DISK_FAULTS_FAIL_AFTER");
  if (delay) usleep((useconds_t)atoi(delay) * 1000);
  long long left = limit ? atoll(limit) - read_so_far : (long long)count;
  if (left <= 0) {
    errno = EIO;
    return -1;
  }
  ssize_t got = real(fd, buffer, count < (size_t)left ? count : (size_t)left);
  if (got > 0) read_so_far += got;
  return got;
}
