#include "IconLibrary.h"

#include "IconReader.h"

#include <QFile>
#include <QPixmap>
#include <QResource>
#include <algorithm>
#include <atomic>

namespace velkaro {

namespace {

std::atomic<bool> libraryLoaded{false};

} // namespace

QString IconLibrary::resourcePath(int n)
{
    return QStringLiteral(":/iconlib/%1.ico").arg(n, 3, 10, QLatin1Char('0'));
}

IconLibrary::IconLibrary()
{
    // The icons are numbered without gaps; the first missing number ends the library.
    for (int n = 1;; ++n) {
        const QResource resource(resourcePath(n));
        if (!resource.isValid())
            break;
        Entry entry;
        // Uncompressed resources are read where they lie in the program.
        entry.fileBytes =
            resource.compressionAlgorithm() == QResource::NoCompression
                ? QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()),
                                          static_cast<qsizetype>(resource.size()))
                : resource.uncompressedData();
        entry.picture = ReadIconPicture(entry.fileBytes);
        m_entries.push_back(std::move(entry));
    }
    QFile names(QStringLiteral(":/iconlib/names.txt"));
    if (names.open(QIODevice::ReadOnly)) {
        const QStringList lines = QString::fromUtf8(names.readAll()).split(QLatin1Char('\n'));
        for (size_t i = 0; i < m_entries.size() && i < size_t(lines.size()); ++i)
            m_entries[i].name = lines.at(qsizetype(i));
    }
    libraryLoaded = true;
}

const IconLibrary& IconLibrary::instance()
{
    static const IconLibrary library;
    return library;
}

bool IconLibrary::isLoaded()
{
    return libraryLoaded;
}

const IconLibrary::Entry* IconLibrary::entry(int n) const
{
    if (n < 1 || n > count())
        return nullptr;
    return &m_entries[static_cast<size_t>(n - 1)];
}

QImage IconLibrary::picture(int n) const
{
    const Entry* e = entry(n);
    return e ? e->picture : QImage();
}

QByteArray IconLibrary::fileBytes(int n) const
{
    const Entry* e = entry(n);
    return e ? e->fileBytes : QByteArray();
}

QString IconLibrary::name(int n) const
{
    const Entry* e = entry(n);
    return e ? e->name : QString();
}

int IconLibrary::find(const QString& nameOrNumber) const
{
    if (nameOrNumber.isEmpty())
        return 0;
    if (std::all_of(nameOrNumber.begin(), nameOrNumber.end(),
                    [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); })) {
        const int n = nameOrNumber.size() <= 4 ? nameOrNumber.toInt() : 0;
        return entry(n) ? n : 0;
    }
    for (int i = 1; i <= count(); ++i) {
        if (name(i).compare(nameOrNumber, Qt::CaseInsensitive) == 0)
            return i;
    }
    return 0;
}

QIcon IconLibrary::icon(int n) const
{
    const Entry* e = entry(n);
    if (!e)
        return {};
    if (e->icon.isNull())
        e->icon = QIcon(QPixmap::fromImage(e->picture));
    return e->icon;
}

} // namespace velkaro
