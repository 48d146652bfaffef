/* fnmatch() for libisofs's Windows build (compat.c): the patterns of
 * iso_tree_add_exclude() and of name searches, as POSIX defines them. */
#ifndef VELKARO_ISOFS_FNMATCH_H
#define VELKARO_ISOFS_FNMATCH_H

#define FNM_NOMATCH 1
#define FNM_NOESCAPE 0x01
#define FNM_PATHNAME 0x02
#define FNM_PERIOD 0x04

int fnmatch(const char* pattern, const char* string, int flags);

#endif
