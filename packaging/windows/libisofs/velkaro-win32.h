/* The types that libisofs's Windows build and every program including
 * libisofs.h on Windows must agree on. build-libisofs.sh compiles the
 * library with this file force-included (-include) before any system
 * header, and the CMake file beside the installed library hands the same to
 * its users; libisofs.h refuses to compile without it (header-check.patch).
 *
 * - off_t of 64 bits (_FILE_OFFSET_BITS): files beyond 2 GiB, and struct
 *   stat as mingw's struct _stat64 with its 64-bit st_size.
 * - ino_t of 64 bits: mingw's is 16 bits, so libisofs's serial numbers of
 *   streams, and the Rock Ridge inode numbers of an image, wrapped after
 *   65,536 files and two files shared one content. struct stat keeps
 *   mingw's 16-bit _ino_t, so its layout stays the C library's.
 * - uid_t and gid_t, which libisofs.h's functions take; Windows has none.
 */
#ifndef VELKARO_ISOFS_WIN32_H
#define VELKARO_ISOFS_WIN32_H

#ifdef _INO_T_DEFINED
#error "velkaro-win32.h must come before any system header (-include)"
#endif

#define _FILE_OFFSET_BITS 64

#define _INO_T_DEFINED
typedef unsigned short _ino_t;
typedef unsigned long long ino_t;

typedef unsigned int uid_t;
typedef unsigned int gid_t;

#endif
