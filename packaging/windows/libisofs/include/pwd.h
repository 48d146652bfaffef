/* Users' names for libisofs's Windows build: Windows has no user database
 * of numbers, so every lookup finds none and libisofs keeps the number. */
#ifndef VELKARO_ISOFS_PWD_H
#define VELKARO_ISOFS_PWD_H

#include <stddef.h>

struct passwd
{
    char* pw_name;
    uid_t pw_uid;
    gid_t pw_gid;
};

static inline struct passwd* getpwuid(uid_t uid)
{
    (void)uid;
    return NULL;
}

static inline struct passwd* getpwnam(const char* name)
{
    (void)name;
    return NULL;
}

#endif
