#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QString>
#include <vector>

namespace velkaro {

// The icons that the program carries (resources/iconlib, numbered from 1).
// Read and decoded once, on first use, and shared by every opening of the
// library dialog and by the icon slot.
class IconLibrary
{
public:
    static const IconLibrary& instance();
    // True once instance() has read the library; tests check that nothing
    // reads it before it is needed.
    static bool isLoaded();

    int count() const { return static_cast<int>(m_entries.size()); }
    // The picture of icon n as ReadIconPicture takes it (its 32 x 32 image in
    // 32 bits); null outside 1..count().
    QImage picture(int n) const;
    // The icon file of number n, byte for byte; empty outside 1..count().
    QByteArray fileBytes(int n) const;
    // The picture as an icon for item views, made on first request.
    QIcon icon(int n) const;
    // The stable name of icon n, such as "media-eject"; empty outside 1..count().
    QString name(int n) const;
    // The icon that a script names: its number (also with leading zeros) or
    // its name, letter case ignored. 0 when there is none.
    int find(const QString& nameOrNumber) const;

    // Resource path of icon n, e.g. ":/iconlib/007.ico".
    static QString resourcePath(int n);

private:
    IconLibrary();

    struct Entry
    {
        QByteArray fileBytes;
        QImage picture;
        QString name;
        mutable QIcon icon;
    };
    const Entry* entry(int n) const;

    std::vector<Entry> m_entries;
};

} // namespace velkaro
