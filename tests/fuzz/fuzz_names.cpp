// Names on the disk come from whoever made the files of the CD project. The
// choosers refuse a name the disc cannot carry, and AutoRun.Inf is written
// in Windows-1252; a name that passes the check must come through whole.
//
// Input: a name below the CD root, as UTF-8 (or, with a first byte 0xFF, as
// raw UTF-16 so that lone surrogates occur too).

#include "FuzzSupport.h"
#include "UnusableCharacters.h"
#include "Windows1252.h"

using namespace velkaro;
using namespace velkaro::fuzzing;

namespace {

QString NameFrom(const uint8_t* data, size_t size)
{
    if (size > 0 && data[0] == 0xFF) {
        QString name;
        for (size_t i = 1; i + 1 < size; i += 2)
            name += QChar(char16_t(data[i] | data[i + 1] << 8));
        return name;
    }
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString name = NameFrom(data, size);
    const std::optional<char32_t> unusable = FindUnusableCharacter(name);
    const QByteArray encoded = ToWindows1252(name);

    if (!unusable) {
        // Accepted: every character has its byte and reads back the same.
        FUZZ_CHECK_MSG(FromWindows1252(encoded) == name, Shown(name));
        for (const char c : encoded)
            FUZZ_CHECK_MSG(uchar(c) >= 0x20 && !QByteArray("\"<>|?*:").contains(c), Shown(name));
    } else {
        // What it names is in the name, and the message can name it.
        const QList<uint> points = name.toUcs4();
        FUZZ_CHECK_MSG(points.contains(uint(*unusable)) ||
                           (*unusable >= 0xD800 && *unusable <= 0xDFFF),
                       Shown(name));
        const QString described = DescribeCharacter(*unusable);
        FUZZ_CHECK(described.contains(QStringLiteral("U+")));
    }

    // One byte for every character, a surrogate pair counting as one.
    qsizetype characters = 0;
    for (qsizetype i = 0; i < name.size(); ++i, ++characters) {
        if (name.at(i).isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate())
            ++i;
    }
    FUZZ_CHECK_MSG(encoded.size() == characters, Shown(name));

    // Every byte reads as a character of its own and writes back as itself.
    const QByteArray raw(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString read = FromWindows1252(raw);
    FUZZ_CHECK(read.size() == raw.size());
    FUZZ_CHECK(ToWindows1252(read) == raw);
    return 0;
}
