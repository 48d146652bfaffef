/* Force-included into every file of libisofs's Windows build, with
 * velkaro-win32.h first: the few POSIX names the library uses that Windows
 * lacks. They hold for the library only and are not installed.
 */
#ifndef VELKARO_ISOFS_POSIX_H
#define VELKARO_ISOFS_POSIX_H

#include "velkaro-win32.h"

/* localtime_r() and gmtime_r() in mingw's time.h */
#define _POSIX_THREAD_SAFE_FUNCTIONS 200112L

#include <stddef.h>
#include <sys/stat.h>
#include <sys/types.h>

/* The link count of the image's nodes (ecma119_tree.h). */
typedef unsigned int nlink_t;

/* Windows' file system shows no symbolic links through stat(): lstat() is
 * stat(), S_ISLNK() never holds and readlink() says "not a link" (EINVAL).
 * The POSIX values keep the modes that libisofs writes into Rock Ridge
 * those of a Linux build. */
#define S_IFLNK 0xA000
#define S_IFSOCK 0xC000
#define S_ISLNK(m) (((m)&0xF000) == S_IFLNK)
#define S_ISSOCK(m) (((m)&0xF000) == S_IFSOCK)
int lstat(const char* path, struct stat* info);
ssize_t readlink(const char* path, char* buf, size_t size);

#endif
