#include "ContentCopy.h"

#include "DiscVocabulary.h"
#include "IsoLibrary.h"
#include "LocalSystem.h"
#include "MessageText.h"

#include <QList>
#include <QSet>
#include <cerrno>
#include <cstdlib>
#include <vector>

namespace velkaro::image {

namespace {

constexpr qint64 CopyPiece = 16 * 1024 * 1024; // between looks at progress and Ctrl+C
constexpr qint64 BlockSize = 2048;

// One file's bytes and where the image holds them.
struct Placement
{
    QByteArray source;
    QList<std::pair<qint64, qint64>> sections; // offset in the image, length
};

void FindPlacements(IsoDir* dir, const QByteArray& path, QSet<quint32>* seen,
                    QList<Placement>* placements)
{
    IsoDirIter* it = nullptr;
    if (iso_dir_get_children(dir, &it) < 0)
        return;
    IsoNode* child = nullptr;
    while (iso_dir_iter_next(it, &child) == 1) {
        const QByteArray childPath = path + '/' + iso_node_get_name(child);
        if (ISO_NODE_IS_DIR(child)) {
            FindPlacements(reinterpret_cast<IsoDir*>(child), childPath, seen, placements);
            continue;
        }
        if (!ISO_NODE_IS_FILE(child))
            continue;
        int count = 0;
        iso_file_section* sections = nullptr;
        if (iso_file_get_old_image_sections(reinterpret_cast<IsoFile*>(child), &count, &sections,
                                            0) != 1)
            continue;
        Placement placement{childPath, {}};
        for (int i = 0; i < count; ++i) {
            if (sections[i].size > 0)
                placement.sections.append(
                    {qint64(sections[i].block) * BlockSize, qint64(sections[i].size)});
        }
        // A file reached twice has one place; its bytes go there once.
        if (!placement.sections.isEmpty() && !seen->contains(sections[0].block)) {
            seen->insert(sections[0].block);
            placements->append(placement);
        }
        free(sections);
    }
    iso_dir_iter_free(it);
}

qint64 LengthOf(const Placement& placement)
{
    qint64 length = 0;
    for (const auto& section : placement.sections)
        length += section.second;
    return length;
}

// The copy of every file into the image, with the progress of the whole.
class PlacementCopy
{
public:
    PlacementCopy(int fd, const QString& target, qint64 total, qint64 done,
                  const ProgressFunction& progress, const volatile std::sig_atomic_t* stop)
        : m_fd(fd), m_target(target), m_total(total), m_done(done), m_progress(progress),
          m_stop(stop)
    {
    }

    // Written when the file's bytes are in place.
    WriteOutcome Copy(const Placement& placement);

private:
    // One piece of at most `wanted` bytes from `*from` in the file to `*to`
    // in the image. A failed read or a file grown short is put in `*error`,
    // a failed write in `*outcome`; after EINTR, or when the kernel copy
    // gives up, nothing moved and the caller asks again.
    void CopyOnePiece(int in, qint64* from, qint64* to, qint64 wanted, const QString& shown,
                      QString* error, WriteOutcome* outcome);

    WriteOutcome Failed(const QString& error) const
    {
        WriteOutcome outcome;
        outcome.error = error;
        return outcome;
    }

    int m_fd;
    QString m_target;
    qint64 m_total;
    qint64 m_done;
    const ProgressFunction& m_progress;
    const volatile std::sig_atomic_t* m_stop;
    bool m_kernelCopies = true;
    std::vector<char> m_buffer;
};

QString ChangedText(const QString& shown)
{
    return QStringLiteral("%1 hat sich geändert, während das Abbild entstand.").arg(Quoted(shown));
}

QString UnreadableText(const QString& shown, int savedErrno)
{
    return QStringLiteral("%1 lässt sich nicht lesen: %2.")
        .arg(Quoted(shown), SystemErrorText(savedErrno, shown));
}

WriteOutcome PlacementCopy::Copy(const Placement& placement)
{
    const QString shown = LocalPathText(placement.source);
    int savedErrno = 0;
    const int in = OpenForReading(placement.source, &savedErrno);
    qint64 size = 0;
    if (in >= 0)
        savedErrno = FileSizeOf(in, &size);
    if (in < 0 || savedErrno != 0) {
        if (in >= 0)
            CloseFile(in);
        return Failed(UnreadableText(shown, savedErrno));
    }
    QString error;
    if (size != LengthOf(placement))
        error = ChangedText(shown);
    WriteOutcome outcome;
    outcome.kind = WriteOutcome::Kind::Written;
    qint64 from = 0;
    for (const auto& [offset, length] : placement.sections) {
        qint64 to = offset;
        const qint64 end = offset + length;
        while (error.isEmpty() && outcome.kind == WriteOutcome::Kind::Written && to < end) {
            if (*m_stop) {
                outcome.kind = WriteOutcome::Kind::Stopped;
                break;
            }
            const qint64 wanted = qMin<qint64>(CopyPiece, end - to);
            CopyOnePiece(in, &from, &to, wanted, shown, &error, &outcome);
        }
    }
    CloseFile(in);
    if (!error.isEmpty())
        return Failed(error);
    return outcome;
}

void PlacementCopy::CopyOnePiece(int in, qint64* from, qint64* to, qint64 wanted,
                                 const QString& shown, QString* error, WriteOutcome* outcome)
{
    qint64 n = -1;
    int savedErrno = 0;
    bool writing = false;
    if (m_kernelCopies) {
        n = CopyByKernel(in, from, m_fd, to, wanted, &savedErrno);
        // Not every pair of file systems lets the kernel copy, and some give
        // nothing rather than say so: plain reads decide.
        if (n == 0 || (n < 0 && (savedErrno == EXDEV || savedErrno == EINVAL ||
                                 savedErrno == ENOSYS || savedErrno == EOPNOTSUPP))) {
            m_kernelCopies = false;
            return;
        }
        writing = savedErrno == ENOSPC || savedErrno == EFBIG || savedErrno == EIO;
#ifdef EDQUOT
        writing = writing || savedErrno == EDQUOT;
#endif
    } else {
        m_buffer.resize(size_t(qMin<qint64>(CopyPiece, 1024 * 1024)));
        n = ReadAt(in, m_buffer.data(), qMin<qint64>(wanted, qint64(m_buffer.size())), *from,
                   &savedErrno);
        if (n > 0) {
            if (!WriteAll(m_fd, reinterpret_cast<const unsigned char*>(m_buffer.data()), n, *to,
                          &savedErrno)) {
                n = -1;
                writing = true;
            } else {
                *from += n;
                *to += n;
            }
        }
    }
    if (n < 0 && savedErrno == EINTR)
        return;
    if (n < 0 && writing) {
        *outcome = Failed(NotWrittenText(m_target, savedErrno));
        return;
    }
    if (n < 0)
        *error = UnreadableText(shown, savedErrno);
    else if (n == 0)
        *error = ChangedText(shown);
    if (n <= 0)
        return;
    m_done += n;
    if (m_progress)
        m_progress(m_done, m_total);
}

} // namespace

WriteOutcome FillContents(const ImageSettings& settings, int fd, const QString& target,
                          qint64 total, const ProgressFunction& progress,
                          const volatile std::sig_atomic_t* stop)
{
    int imported = 0;
    IsoReadImageFeatures* features = nullptr;
    IsoImage* image = ImportImage(fd, Names::RockRidge, &imported, &features);
    if (!image) {
        WriteOutcome outcome;
        outcome.error = QStringLiteral("Das Abbild lässt sich nicht anlegen (libisofs: %1).")
                            .arg(LibraryText(imported));
        return outcome;
    }
    iso_read_image_features_destroy(features);
    QList<Placement> placements;
    QSet<quint32> seen;
    FindPlacements(iso_image_get_root(image), LocalPath(settings.cdRoot), &seen, &placements);
    iso_image_unref(image);

    qint64 contents = 0;
    for (const Placement& placement : placements)
        contents += LengthOf(placement);
    PlacementCopy copy(fd, target, total, total - contents, progress, stop);
    for (const Placement& placement : placements) {
        const WriteOutcome copied = copy.Copy(placement);
        if (copied.kind != WriteOutcome::Kind::Written)
            return copied;
    }
    WriteOutcome outcome;
    outcome.kind = WriteOutcome::Kind::Written;
    outcome.bytes = total;
    return outcome;
}

} // namespace velkaro::image
