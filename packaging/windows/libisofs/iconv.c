/* iconv over the character sets that libisofs converts between (iconv.h),
 * one character at a time, with glibc's errors: EILSEQ leaves the input at
 * the character that cannot be read or written, EINVAL at an incomplete one
 * at the end, E2BIG at the first that does not fit; libisofs puts '_' for
 * such a character and goes on, and so its names come out as on Linux.
 * The Windows code pages go through MultiByteToWideChar and
 * WideCharToMultiByte; the Unicode forms need no system call. */
#include <errno.h>
#include <iconv.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

enum Form
{
    Utf8,
    Ascii,
    Ucs2Be,
    Utf16Be,
    Utf16Le,
    WcharT,
    CodePage
};

struct Charset
{
    enum Form form;
    UINT page;
};

struct velkaro_iconv
{
    struct Charset from;
    struct Charset to;
};

/* Stands for "no character": the second half of a pair that was refused. */
#define NONE 0xFFFFFFFFu

static int ParseCharset(const char* name, struct Charset* set)
{
    static const struct
    {
        const char* name;
        enum Form form;
    } names[] = {{"UTF-8", Utf8},           {"UTF8", Utf8},
                 {"ASCII", Ascii},          {"US-ASCII", Ascii},
                 {"ANSI_X3.4-1968", Ascii}, {"UCS-2BE", Ucs2Be},
                 {"UTF-16BE", Utf16Be},     {"UTF-16LE", Utf16Le},
                 {"WCHAR_T", WcharT}};
    for (size_t i = 0; i < sizeof names / sizeof names[0]; i++) {
        if (_stricmp(name, names[i].name) == 0) {
            set->form = names[i].form;
            return 1;
        }
    }
    if (_strnicmp(name, "CP", 2) == 0 && name[2] >= '0' && name[2] <= '9') {
        char* end = NULL;
        const unsigned long page = strtoul(name + 2, &end, 10);
        if (*end || !IsValidCodePage((UINT)page))
            return 0;
        set->form = page == CP_UTF8 ? Utf8 : CodePage;
        set->page = (UINT)page;
        return 1;
    }
    return 0;
}

static int IsSurrogate(unsigned cp)
{
    return cp >= 0xD800 && cp <= 0xDFFF;
}

static int DecodeUtf8(const unsigned char* in, size_t left, unsigned* cp, size_t* used)
{
    const unsigned char b = in[0];
    size_t n;
    unsigned min;
    if (b < 0x80) {
        *cp = b;
        *used = 1;
        return 0;
    } else if (b >= 0xC2 && b <= 0xDF) {
        n = 2, min = 0x80, *cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3, min = 0x800, *cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4, min = 0x10000, *cp = b & 0x07;
    } else {
        return EILSEQ;
    }
    for (size_t i = 1; i < n; i++) {
        if (i >= left)
            return EINVAL;
        if ((in[i] & 0xC0) != 0x80)
            return EILSEQ;
        *cp = (*cp << 6) | (in[i] & 0x3F);
        /* Refused as early as glibc does: overlong forms, surrogates and
         * beyond U+10FFFF show in the first two bytes. */
        if (i == 1 && ((n == 3 && (*cp << 6) < min) || (n == 3 && IsSurrogate(*cp << 6)) ||
                       (n == 4 && ((*cp << 12) < min || (*cp << 12) > 0x10FFFF))))
            return EILSEQ;
    }
    *used = n;
    return 0;
}

static unsigned Unit(const unsigned char* in, int bigEndian)
{
    return bigEndian ? (unsigned)(in[0] << 8 | in[1]) : (unsigned)(in[1] << 8 | in[0]);
}

static int DecodeUtf16(const unsigned char* in, size_t left, enum Form form, unsigned* cp,
                       size_t* used)
{
    const int bigEndian = form == Ucs2Be || form == Utf16Be;
    if (left < 2)
        return EINVAL;
    const unsigned unit = Unit(in, bigEndian);
    *used = 2;
    if (!IsSurrogate(unit)) {
        *cp = unit;
        return 0;
    }
    if (form == Ucs2Be)
        return EILSEQ;
    if (unit >= 0xDC00) {
        /* libisofs steps over a character it could not convert one wchar_t
         * at a time: on Windows that leaves the second half of a pair,
         * which a Linux build, with one wchar_t per character, never sees.
         * Passing over it keeps one '_' for the character, as there. */
        if (form != WcharT)
            return EILSEQ;
        *cp = NONE;
        return 0;
    }
    if (left < 4)
        return EINVAL;
    const unsigned low = Unit(in + 2, bigEndian);
    if (low < 0xDC00 || low > 0xDFFF)
        return EILSEQ;
    *cp = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    *used = 4;
    return 0;
}

static int DecodeCodePage(const unsigned char* in, size_t left, UINT page, unsigned* cp,
                          size_t* used)
{
    const size_t n = IsDBCSLeadByteEx(page, in[0]) ? 2 : 1;
    if (n > left)
        return EINVAL;
    WCHAR wide[2];
    const int got =
        MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, (const char*)in, (int)n, wide, 2);
    if (got == 1 && !IsSurrogate(wide[0]))
        *cp = wide[0];
    else if (got == 2 && wide[0] >= 0xD800 && wide[0] < 0xDC00 && wide[1] >= 0xDC00 &&
             wide[1] <= 0xDFFF)
        *cp = 0x10000 + ((wide[0] - 0xD800u) << 10) + (wide[1] - 0xDC00u);
    else
        return EILSEQ;
    *used = n;
    return 0;
}

static int Decode(const struct Charset* set, const unsigned char* in, size_t left, unsigned* cp,
                  size_t* used)
{
    switch (set->form) {
    case Utf8:
        return DecodeUtf8(in, left, cp, used);
    case Ascii:
        if (in[0] >= 0x80)
            return EILSEQ;
        *cp = in[0];
        *used = 1;
        return 0;
    case CodePage:
        return DecodeCodePage(in, left, set->page, cp, used);
    default:
        return DecodeUtf16(in, left, set->form, cp, used);
    }
}

static void PutUnit(unsigned char* out, unsigned unit, int bigEndian)
{
    out[bigEndian ? 0 : 1] = (unsigned char)(unit >> 8);
    out[bigEndian ? 1 : 0] = (unsigned char)unit;
}

/* Writes cp into out (room for 8 bytes); returns its length, 0 if the
 * character set has no such character. */
static size_t Encode(const struct Charset* set, unsigned cp, unsigned char* out)
{
    switch (set->form) {
    case Utf8:
        if (cp < 0x80) {
            out[0] = (unsigned char)cp;
            return 1;
        } else if (cp < 0x800) {
            out[0] = (unsigned char)(0xC0 | cp >> 6);
            out[1] = (unsigned char)(0x80 | (cp & 0x3F));
            return 2;
        } else if (cp < 0x10000) {
            out[0] = (unsigned char)(0xE0 | cp >> 12);
            out[1] = (unsigned char)(0x80 | (cp >> 6 & 0x3F));
            out[2] = (unsigned char)(0x80 | (cp & 0x3F));
            return 3;
        }
        out[0] = (unsigned char)(0xF0 | cp >> 18);
        out[1] = (unsigned char)(0x80 | (cp >> 12 & 0x3F));
        out[2] = (unsigned char)(0x80 | (cp >> 6 & 0x3F));
        out[3] = (unsigned char)(0x80 | (cp & 0x3F));
        return 4;
    case Ascii:
        if (cp >= 0x80)
            return 0;
        out[0] = (unsigned char)cp;
        return 1;
    case CodePage: {
        WCHAR wide[2];
        int n = 1;
        if (cp >= 0x10000) {
            wide[0] = (WCHAR)(0xD800 + ((cp - 0x10000) >> 10));
            wide[1] = (WCHAR)(0xDC00 + ((cp - 0x10000) & 0x3FF));
            n = 2;
        } else {
            wide[0] = (WCHAR)cp;
        }
        BOOL substituted = FALSE;
        const int got = WideCharToMultiByte(set->page, WC_NO_BEST_FIT_CHARS, wide, n, (char*)out, 8,
                                            NULL, &substituted);
        return got > 0 && !substituted ? (size_t)got : 0;
    }
    default: {
        const int bigEndian = set->form == Ucs2Be || set->form == Utf16Be;
        if (cp < 0x10000) {
            PutUnit(out, cp, bigEndian);
            return 2;
        }
        if (set->form == Ucs2Be)
            return 0;
        PutUnit(out, 0xD800 + ((cp - 0x10000) >> 10), bigEndian);
        PutUnit(out + 2, 0xDC00 + ((cp - 0x10000) & 0x3FF), bigEndian);
        return 4;
    }
    }
}

iconv_t iconv_open(const char* tocode, const char* fromcode)
{
    struct velkaro_iconv* cd = calloc(1, sizeof *cd);
    if (!cd) {
        errno = ENOMEM;
        return (iconv_t)-1;
    }
    if (!ParseCharset(tocode, &cd->to) || !ParseCharset(fromcode, &cd->from)) {
        free(cd);
        errno = EINVAL;
        return (iconv_t)-1;
    }
    return cd;
}

size_t iconv(iconv_t cd, char** inbuf, size_t* inbytesleft, char** outbuf, size_t* outbytesleft)
{
    if (!inbuf || !*inbuf)
        return 0; /* no shift state to reset */
    while (*inbytesleft > 0) {
        unsigned cp = 0;
        size_t used = 0;
        const int error = Decode(&cd->from, (const unsigned char*)*inbuf, *inbytesleft, &cp, &used);
        if (error) {
            errno = error;
            return (size_t)-1;
        }
        if (cp != NONE) {
            unsigned char piece[8];
            const size_t n = Encode(&cd->to, cp, piece);
            if (n == 0) {
                errno = EILSEQ;
                return (size_t)-1;
            }
            if (n > *outbytesleft) {
                errno = E2BIG;
                return (size_t)-1;
            }
            memcpy(*outbuf, piece, n);
            *outbuf += n;
            *outbytesleft -= n;
        }
        *inbuf += used;
        *inbytesleft -= used;
    }
    return 0;
}

int iconv_close(iconv_t cd)
{
    free(cd);
    return 0;
}
