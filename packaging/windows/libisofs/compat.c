/* The POSIX functions that libisofs's Windows build calls and Windows lacks
 * (declared in posix.h, langinfo.h and fnmatch.h). */
#include <errno.h>
#include <fnmatch.h>
#include <langinfo.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <windows.h>

int lstat(const char* path, struct stat* info)
{
    return stat(path, info);
}

ssize_t readlink(const char* path, char* buf, size_t size)
{
    (void)path;
    (void)buf;
    (void)size;
    errno = EINVAL;
    return -1;
}

char* nl_langinfo(nl_item item)
{
    static char codeset[16];
    if (item != CODESET)
        return (char*)"";
    const UINT page = GetACP();
    if (page == CP_UTF8)
        return (char*)"UTF-8";
    snprintf(codeset, sizeof codeset, "CP%u", page);
    return codeset;
}

/* A wildcard or bracket does not match a leading period with FNM_PERIOD:
 * one at the start, or after a slash with FNM_PATHNAME. */
static int LeadingPeriod(const char* s, const char* start, int flags)
{
    return (flags & FNM_PERIOD) && *s == '.' &&
           (s == start || ((flags & FNM_PATHNAME) && s[-1] == '/'));
}

/* Matches c against the bracket expression after '['; *p is left after its
 * ']'. Returns 1 or 0, or -1 for an unclosed bracket (a literal '['). */
static int MatchBracket(const char** p, unsigned char c)
{
    const char* q = *p;
    const int negate = *q == '!' || *q == '^';
    int found = 0;
    if (negate)
        q++;
    const char* first = q;
    while (*q && (*q != ']' || q == first)) {
        unsigned char low = (unsigned char)*q++;
        unsigned char high = low;
        if (*q == '-' && q[1] && q[1] != ']') {
            high = (unsigned char)q[1];
            q += 2;
        }
        if (low <= c && c <= high)
            found = 1;
    }
    if (*q != ']')
        return -1;
    *p = q + 1;
    return found != negate;
}

static int Match(const char* p, const char* s, const char* start, int flags)
{
    for (;;) {
        char c = *p++;
        switch (c) {
        case '\0':
            return *s ? FNM_NOMATCH : 0;
        case '?':
            if (!*s || (*s == '/' && (flags & FNM_PATHNAME)) || LeadingPeriod(s, start, flags))
                return FNM_NOMATCH;
            s++;
            break;
        case '*':
            while (*p == '*')
                p++;
            if (LeadingPeriod(s, start, flags))
                return FNM_NOMATCH;
            for (;;) {
                if (Match(p, s, start, flags) == 0)
                    return 0;
                if (!*s || (*s == '/' && (flags & FNM_PATHNAME)))
                    return FNM_NOMATCH;
                s++;
            }
        case '[': {
            if (!*s || (*s == '/' && (flags & FNM_PATHNAME)) || LeadingPeriod(s, start, flags))
                return FNM_NOMATCH;
            const int found = MatchBracket(&p, (unsigned char)*s);
            if (found < 0) {
                if (*s != '[')
                    return FNM_NOMATCH;
            } else if (!found) {
                return FNM_NOMATCH;
            }
            s++;
            break;
        }
        case '\\':
            if (!(flags & FNM_NOESCAPE) && *p)
                c = *p++;
            /* fall through */
        default:
            if (c != *s)
                return FNM_NOMATCH;
            s++;
        }
    }
}

int fnmatch(const char* pattern, const char* string, int flags)
{
    return Match(pattern, string, string, flags);
}
