/* iconv for libisofs's Windows build (iconv.c): Debian has none for mingw.
 * It knows the character sets that libisofs converts between: UTF-8,
 * ASCII, UCS-2BE, UTF-16BE, UTF-16LE, WCHAR_T (UTF-16 on Windows) and the
 * Windows code pages as "CP1252" and the like. */
#ifndef VELKARO_ISOFS_ICONV_H
#define VELKARO_ISOFS_ICONV_H

#include <stddef.h>

typedef struct velkaro_iconv* iconv_t;

iconv_t iconv_open(const char* tocode, const char* fromcode);
size_t iconv(iconv_t cd, char** inbuf, size_t* inbytesleft, char** outbuf, size_t* outbytesleft);
int iconv_close(iconv_t cd);

#endif
