#include "FolderSerials.h"

#include "LocalSystem.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <algorithm>
#include <cerrno>

namespace velkaro::image {

namespace {

constexpr qint64 BlockSize = 2048;

quint32 Little32(QByteArrayView bytes, qsizetype at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

// What a directory record's system use area says (SUSP entries, with the
// continuation areas that CE points to).
struct SystemUse
{
    qint64 serialAt = -1; // where PX's serial number lies in the file
    quint32 serial = 0;
    QByteArray name; // NM
};

class FolderWalk
{
public:
    explicit FolderWalk(int fd) : m_fd(fd) {}
    bool Walk(quint32 extent, quint32 size, int depth);
    int error() const { return m_error; }
    bool complete() const { return m_complete; }
    // Serial numbers of the folders in the order they were added.
    const QList<quint32>& order() const { return m_order; }
    // Where each folder's serial number is written (its record, ".", "..").
    const QHash<quint32, QList<qint64>>& places() const { return m_places; }

private:
    bool Read(qint64 offset, qint64 size, QByteArray* bytes);
    void ReadSystemUse(QByteArrayView area, qint64 offset, int depth, SystemUse* use);

    int m_fd;
    int m_error = 0;
    bool m_complete = true;
    QList<quint32> m_order;
    QHash<quint32, QList<qint64>> m_places;
    QSet<quint32> m_seen; // extents, against loops in a damaged image
};

bool FolderWalk::Read(qint64 offset, qint64 size, QByteArray* bytes)
{
    bytes->resize(size);
    qint64 done = 0;
    while (done < size) {
        int savedErrno = 0;
        const qint64 n =
            ReadAt(m_fd, bytes->data() + done, size - done, offset + done, &savedErrno);
        if (n <= 0) {
            m_error = n < 0 ? savedErrno : EIO;
            return false;
        }
        done += n;
    }
    return true;
}

void FolderWalk::ReadSystemUse(QByteArrayView area, qint64 offset, int depth, SystemUse* use)
{
    qint64 next = -1;
    qint64 nextLength = 0;
    for (qsizetype i = 0; i + 4 <= area.size();) {
        const QByteArrayView signature = area.sliced(i, 2);
        const int length = static_cast<unsigned char>(area.at(i + 2));
        if (length < 4 || i + length > area.size() || signature == "ST")
            break;
        if (signature == "PX" && length >= 44) {
            use->serialAt = offset + i + 36;
            use->serial = Little32(area, i + 36);
        } else if (signature == "NM" && length > 5) {
            use->name += area.sliced(i + 5, length - 5);
        } else if (signature == "CE" && length >= 28) {
            next = qint64(Little32(area, i + 4)) * BlockSize + Little32(area, i + 12);
            nextLength = Little32(area, i + 20);
        }
        i += length;
    }
    QByteArray more;
    if (next >= 0 && depth < 8 && nextLength <= BlockSize && Read(next, nextLength, &more))
        ReadSystemUse(more, next, depth + 1, use);
}

bool FolderWalk::Walk(quint32 extent, quint32 size, int depth)
{
    QByteArray records;
    if (depth > 1000 || m_seen.contains(extent) || size > 64 * 1024 * 1024 ||
        !Read(qint64(extent) * BlockSize, size, &records))
        return false;
    m_seen.insert(extent);
    struct Child
    {
        QByteArray name;
        quint32 extent;
        quint32 size;
    };
    QList<Child> children;
    bool own = false;
    for (qsizetype at = 0; at < records.size();) {
        const int length = static_cast<unsigned char>(records.at(at));
        if (length == 0) { // the rest of the block is empty
            at = (at / BlockSize + 1) * BlockSize;
            continue;
        }
        if (length < 34 || at + length > records.size())
            return false;
        const QByteArrayView record = QByteArrayView(records).sliced(at, length);
        const int idLength = static_cast<unsigned char>(record.at(32));
        const qsizetype use = 33 + idLength + (idLength % 2 == 0 ? 1 : 0);
        SystemUse system;
        if (use <= length)
            ReadSystemUse(record.sliced(use), qint64(extent) * BlockSize + at + use, 0, &system);
        const bool folder = (record.at(25) & 2) != 0;
        if (folder && system.serialAt >= 0)
            m_places[system.serial].append(system.serialAt);
        const QByteArrayView id = record.sliced(33, qMin<qsizetype>(idLength, length - 33));
        if (id == QByteArrayView("\0", 1)) {
            if (system.serialAt < 0)
                m_complete = false;
            m_order.append(system.serial);
            own = true;
        } else if (folder && id != QByteArrayView("\1", 1)) {
            children.append({system.name.isEmpty() ? id.toByteArray() : system.name,
                             Little32(record, 2), Little32(record, 10)});
        }
        at += length;
    }
    // The tree was built with each folder's entries in the order of their names.
    std::sort(children.begin(), children.end(),
              [](const Child& a, const Child& b) { return a.name < b.name; });
    for (const Child& child : children) {
        if (!Walk(child.extent, child.size, depth + 1))
            return false;
    }
    return own;
}

} // namespace

int NumberFoldersInOrder(int fd)
{
    FolderWalk walk(fd);
    QByteArray volume(BlockSize, '\0');
    int savedErrno = 0;
    if (ReadAt(fd, volume.data(), BlockSize, 16 * BlockSize, &savedErrno) != BlockSize)
        return savedErrno ? savedErrno : EIO;
    const QByteArray root = volume.mid(156, 34);
    if (!walk.Walk(Little32(root, 2), Little32(root, 10), 0) || !walk.complete())
        return walk.error();
    QList<quint32> numbers = walk.order();
    if (QSet<quint32>(numbers.begin(), numbers.end()).size() != numbers.size())
        return 0; // no numbers of their own (Rock Ridge 1.10): nothing to do
    std::sort(numbers.begin(), numbers.end());
    for (qsizetype k = 0; k < numbers.size(); ++k) {
        const quint32 old = walk.order().at(k);
        if (old == numbers.at(k))
            continue;
        // Both-endian: four bytes little-endian, then four big-endian.
        const quint32 n = numbers.at(k);
        const unsigned char bytes[8] = {
            static_cast<unsigned char>(n),       static_cast<unsigned char>(n >> 8),
            static_cast<unsigned char>(n >> 16), static_cast<unsigned char>(n >> 24),
            static_cast<unsigned char>(n >> 24), static_cast<unsigned char>(n >> 16),
            static_cast<unsigned char>(n >> 8),  static_cast<unsigned char>(n)};
        int savedErrno = 0;
        for (const qint64 place : walk.places().value(old)) {
            if (!WriteAll(fd, bytes, 8, place, &savedErrno))
                return savedErrno;
        }
    }
    return 0;
}

} // namespace velkaro::image
