// The stored window position comes from a settings file that anyone can
// edit, and the screen it was stored on may be gone. Whatever the file says,
// the window opens with its corner on the screen or centred, and the next
// close stores a position that brings it back there.
//
// Input: two bytes of mode, then four 16-bit sizes (screen width and height,
// window width and height, in pixels), then the rest: in mode 0 the texts
// for "_Top" and "_Left" cut at byte 0x01, in mode 1 the whole settings file.

#include "AppSettings.h"
#include "FuzzSupport.h"
#include "WindowPlacement.h"

#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>
#include <limits>

using namespace velkaro;
using namespace velkaro::fuzzing;

namespace {

QTemporaryDir& Folder()
{
    static QTemporaryDir dir;
    return dir;
}

// A whole number in ASCII digits with an optional sign, blanks around it
// allowed, read the long way; -1 for anything else or beyond an int.
int ExpectedTwips(const QString& text)
{
    static const QRegularExpression wholeNumber(QStringLiteral("^[+-]?[0-9]+$"));
    const QString core = text.trimmed();
    if (!wholeNumber.match(core).hasMatch())
        return -1;
    const bool negative = core.startsWith(QLatin1Char('-'));
    qint64 value = 0;
    for (const QChar c : core) {
        if (c.isDigit()) {
            value = value * 10 + (c.unicode() - '0');
            if (value > qint64(1) << 32)
                return -1;
        }
    }
    value = negative ? -value : value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return -1;
    return int(value);
}

void CheckParse(const QString& text)
{
    const int parsed = ParseStoredTwips(text);
    FUZZ_CHECK_MSG(parsed == ExpectedTwips(text),
                   Shown(text) + " -> " + QByteArray::number(parsed));
}

quint16 Read16(const uint8_t* data)
{
    return quint16(data[0] | data[1] << 8);
}

QPoint Centred(const QSize& screen, const QWidget& window)
{
    return QPoint((screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2);
}

bool CornerOnScreen(const QPoint& corner, const QSize& screen)
{
    return corner.x() >= 0 && corner.y() >= 0 && corner.x() < screen.width() &&
           corner.y() < screen.height();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr size_t HeaderSize = 10;
    if (size < HeaderSize)
        return 0;
    EnsureApplication();
    const bool rawFile = data[0] & 1;
    const QSize screen(Read16(data + 2), Read16(data + 4));
    const QSize windowSize(1 + Read16(data + 6) % 4000, 1 + Read16(data + 8) % 4000);
    const QByteArray rest(reinterpret_cast<const char*>(data + HeaderSize),
                          qsizetype(size - HeaderSize));

    static const QString file = Folder().filePath(QStringLiteral("settings.ini"));
    FUZZ_CHECK(WriteSettingsFile(file, rawFile ? rest : QByteArray()));
    // At the program's section, as it opens its own store.
    QSettings store(file, QSettings::IniFormat);
    store.beginGroup(QStringLiteral("Velkaro 2005"));
    if (!rawFile) {
        const QList<QString> pieces = Pieces(data + HeaderSize, size - HeaderSize);
        FUZZ_CHECK(SaveAppSetting(store, QStringLiteral("_Top"), PieceAt(pieces, 0)));
        FUZZ_CHECK(SaveAppSetting(store, QStringLiteral("_Left"), PieceAt(pieces, 1)));
        // What was stored is what is read back, however odd.
        FUZZ_CHECK(GetAppSetting(store, QStringLiteral("_Top"), QString()) == PieceAt(pieces, 0));
        CheckParse(PieceAt(pieces, 0));
        CheckParse(PieceAt(pieces, 1));
    }
    const QString storedTop = GetAppSetting(store, QStringLiteral("_Top"), QStringLiteral("-1"));
    const QString storedLeft = GetAppSetting(store, QStringLiteral("_Left"), QStringLiteral("-1"));
    CheckParse(storedTop);
    CheckParse(storedLeft);

    QWidget window;
    window.resize(windowSize);
    window.move(-12345, -12345);
    RestoreFormPosition(&window, store, screen);
    const QPoint opened = window.pos();
    FUZZ_CHECK_MSG(CornerOnScreen(opened, screen) || opened == Centred(screen, window),
                   Shown(storedTop) + " " + Shown(storedLeft));

    // The stored place, when its corner lies on the screen, is used to the
    // pixel; anything else centres.
    const int top = ParseStoredTwips(storedTop);
    const int left = ParseStoredTwips(storedLeft);
    const bool usable = top >= 0 && left >= 0 && qint64(top) < qint64(screen.height()) * 15 &&
                        qint64(left) < qint64(screen.width()) * 15;
    FUZZ_CHECK(opened == (usable ? QPoint(left / 15, top / 15) : Centred(screen, window)));

    // Closing stores the place; the next start puts the window back there.
    SaveFormPosition(&window, store);
    window.move(-12345, -12345);
    RestoreFormPosition(&window, store, screen);
    if (CornerOnScreen(opened, screen))
        FUZZ_CHECK(window.pos() == opened);
    else
        FUZZ_CHECK(window.pos() == Centred(screen, window));
    return 0;
}
