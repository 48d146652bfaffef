/* Groups' names for libisofs's Windows build: as pwd.h, none is found. */
#ifndef VELKARO_ISOFS_GRP_H
#define VELKARO_ISOFS_GRP_H

#include <stddef.h>

struct group
{
    char* gr_name;
    gid_t gr_gid;
};

static inline struct group* getgrgid(gid_t gid)
{
    (void)gid;
    return NULL;
}

static inline struct group* getgrnam(const char* name)
{
    (void)name;
    return NULL;
}

#endif
