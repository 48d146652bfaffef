/* nl_langinfo(CODESET) for libisofs's Windows build: the ANSI code page, as
 * "CP1252" and the like (or "UTF-8"), a name that the iconv of iconv.h knows.
 * libisofs asks for it only when the program has set no charset of its own
 * (iso_set_local_charset). */
#ifndef VELKARO_ISOFS_LANGINFO_H
#define VELKARO_ISOFS_LANGINFO_H

typedef int nl_item;
#define CODESET 14

char* nl_langinfo(nl_item item);

#endif
