#include "IsoImage.h"

#include "DiscVocabulary.h"
#include "Failure.h"
#include "MessageText.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// The burn source is read here directly; libburn is not used.
#define LIBISOFS_WITHOUT_LIBBURN 1
extern "C" {
#include <libisofs/libisofs.h>
}

namespace velkaro::image {

namespace {

// libisofs moves a file's bytes 2 KiB at a time: a read of the file, a copy
// into its buffer, a wake-up of the reading thread, a copy out. For 1 GiB
// that took three times as long as copying the files. So it only lays the
// image out: each file stands in it as a placeholder of its size that gives
// zeros, which are not written (the image file keeps a hole there), and the
// files' bytes are copied into their places afterwards, by the kernel, in
// large pieces. Where each file lies is read from the written image itself.
constexpr int PieceSize = 1024 * 1024;
constexpr int FifoBlocks = 2048;
constexpr qint64 CopyPiece = 16 * 1024 * 1024; // between looks at progress and Ctrl+C
constexpr qint64 BlockSize = 2048;

// libisofs' stream object, named here as it is laid out: its C header calls
// a member "class", which C++ cannot name.
struct StreamObject
{
    IsoStreamIface* iface;
    int refcount;
    void* data;
};

struct Placeholder
{
    off_t size = 0;
    off_t position = 0;
    ino_t serial = 0; // one per file of the tree, in the order the tree is walked
};

Placeholder* PlaceholderOf(IsoStream* stream)
{
    return static_cast<Placeholder*>(reinterpret_cast<StreamObject*>(stream)->data);
}

// Not one of libisofs' own: its streams never compare equal to ours.
constexpr unsigned int PlaceholderFsId = 0x56454c4b;

IsoStreamIface PlaceholderClass = {
    1,
    {'u', 's', 'e', 'r'},
    [](IsoStream* stream) {
        PlaceholderOf(stream)->position = 0;
        return 1;
    },
    [](IsoStream*) { return 1; },
    [](IsoStream* stream) { return PlaceholderOf(stream)->size; },
    [](IsoStream* stream, void* buffer, size_t count) {
        Placeholder* data = PlaceholderOf(stream);
        const off_t n = qMin<off_t>(off_t(count), data->size - data->position);
        if (n <= 0)
            return 0;
        std::memset(buffer, 0, size_t(n));
        data->position += n;
        return int(n);
    },
    [](IsoStream*) { return 1; },
    [](IsoStream* stream, unsigned int* fsId, dev_t* devId, ino_t* inoId) {
        *fsId = PlaceholderFsId;
        *devId = 0;
        *inoId = PlaceholderOf(stream)->serial;
    },
    [](IsoStream* stream) { delete PlaceholderOf(stream); },
    [](IsoStream*) { return 1; },
    nullptr,
    nullptr,
    nullptr,
};

IsoStream* NewPlaceholder(off_t size, ino_t serial)
{
    // libisofs frees the object itself with free().
    auto* stream = static_cast<StreamObject*>(std::calloc(1, sizeof(StreamObject)));
    if (!stream)
        return nullptr;
    stream->iface = &PlaceholderClass;
    stream->refcount = 1;
    stream->data = new Placeholder{size, 0, serial};
    return reinterpret_cast<IsoStream*>(stream);
}

QString SystemErrorText(int savedErrno, const QString& path)
{
    return ErrorText(FailureFromSystemError(savedErrno, path));
}

QString LibraryText(int code)
{
    return QString::fromUtf8(iso_error_to_msg(code));
}

// What libisofs queued since the last call, worst first in `worst`.
QStringList TakeLibraryMessages(bool* severe)
{
    QStringList messages;
    char text[4096];
    char severity[80];
    int code = 0;
    int imageId = 0;
    while (iso_obtain_msgs(const_cast<char*>("ALL"), &code, &imageId, text, severity) == 1) {
        const QByteArray level(severity);
        if (level == "MISHAP" || level == "FAILURE" || level == "FATAL" || level == "ABORT")
            *severe = true;
        messages.append(QString::fromUtf8(text).trimmed());
    }
    return messages;
}

struct Tree
{
    IsoImage* image = nullptr;
    std::optional<qint64> latest; // no file time after this
    QStringList* notes = nullptr;
    QString error;
    QSet<QPair<dev_t, ino_t>> ancestors; // folders on the way down, against link loops
    // A file reached twice (through a link) is one file: its bytes once.
    QHash<QPair<dev_t, ino_t>, ino_t> serials;

    void SetTimes(IsoNode* node, const struct stat& info) const
    {
        // Access and change times change when nobody touches the content;
        // the image carries the modification time in all three.
        time_t t = info.st_mtime;
        if (latest && t > *latest)
            t = static_cast<time_t>(*latest);
        iso_node_set_mtime(node, t);
        iso_node_set_atime(node, t);
        iso_node_set_ctime(node, t);
    }

    bool AddFolder(IsoDir* parent, const QByteArray& path, const QString& shown)
    {
        const LocalListing listing = ListLocalFolder(path);
        if (listing.error != 0) {
            error = QStringLiteral("Der Ordner %1 lässt sich nicht lesen: %2.")
                        .arg(Quoted(QFile::decodeName(path)),
                             SystemErrorText(listing.error, QFile::decodeName(path)));
            return false;
        }
        for (const QString& name : listing.leftOut)
            notes->append(QStringLiteral("%1 bleibt draußen: weder eine Datei noch ein Ordner "
                                         "(etwa ein Verweis ohne Ziel).")
                              .arg(Quoted(shown + name)));

        QList<std::pair<QString, bool>> names;
        for (const LocalEntry& entry : listing.entries)
            names.append({QFile::decodeName(entry.name), S_ISDIR(entry.info.st_mode)});
        const QList<DiscEntry> joliet = PredictJolietNames(names);

        for (qsizetype i = 0; i < listing.entries.size(); ++i) {
            const LocalEntry& entry = listing.entries.at(i);
            const QString shownName = shown + joliet.at(i).original;
            const bool folder = S_ISDIR(entry.info.st_mode);
            const QPair<dev_t, ino_t> id(entry.info.st_dev, entry.info.st_ino);
            if (folder && ancestors.contains(id)) {
                notes->append(QStringLiteral("%1 bleibt draußen: ein Verweis auf einen Ordner "
                                             "darüber.")
                                  .arg(Quoted(shownName)));
                continue;
            }
            if (!joliet.at(i).change.isEmpty())
                notes->append(
                    QStringLiteral("%1: %2.").arg(Quoted(shownName), joliet.at(i).change));

            const QByteArray childPath = path + '/' + entry.name;
            IsoNode* node = nullptr;
            int added = 0;
            if (folder) {
                IsoDir* dir = nullptr;
                added = iso_image_add_new_dir(image, parent, entry.name.constData(), &dir);
                node = reinterpret_cast<IsoNode*>(dir);
            } else {
                const ino_t serial = serials.value(id, ino_t(serials.size() + 1));
                serials.insert(id, serial);
                IsoStream* stream = NewPlaceholder(entry.info.st_size, serial);
                IsoFile* file = nullptr;
                added = stream ? iso_image_add_new_file(image, parent, entry.name.constData(),
                                                        stream, &file)
                               : ISO_OUT_OF_MEM;
                node = reinterpret_cast<IsoNode*>(file);
            }
            if (added < 0) {
                error = QStringLiteral("%1 lässt sich nicht ins Abbild aufnehmen (libisofs: "
                                       "%2).")
                            .arg(Quoted(shownName), LibraryText(added));
                return false;
            }
            SetTimes(node, entry.info);
            if (folder) {
                ancestors.insert(id);
                const bool ok = AddFolder(reinterpret_cast<IsoDir*>(node), childPath,
                                          shownName + QLatin1Char('/'));
                ancestors.remove(id);
                if (!ok)
                    return false;
            }
        }
        return true;
    }
};

struct ImageHandle
{
    IsoImage* image = nullptr;
    ~ImageHandle()
    {
        if (image)
            iso_image_unref(image);
    }
};

struct OptionsHandle
{
    IsoWriteOpts* opts = nullptr;
    ~OptionsHandle()
    {
        if (opts)
            iso_write_opts_free(opts);
    }
};

// "YYYYMMDDhhmmsscc" in UTC, the form libisofs writes as the volume's times.
QByteArray VolumeTimestamp(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC)
               .toString(QStringLiteral("yyyyMMddHHmmss"))
               .toLatin1() +
           "00";
}

bool WriteAll(int fd, const unsigned char* data, qsizetype size, off_t offset, int* savedErrno)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, static_cast<size_t>(size), offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *savedErrno = errno;
            return false;
        }
        if (n == 0) {
            *savedErrno = ENOSPC;
            return false;
        }
        data += n;
        size -= n;
        offset += n;
    }
    return true;
}

bool AllZero(const unsigned char* data, qsizetype size)
{
    return size == 0 || (data[0] == 0 && std::memcmp(data, data + 1, size_t(size - 1)) == 0);
}

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

IsoNode* NodeAt(IsoImage* image, const QStringList& parts)
{
    IsoNode* node = reinterpret_cast<IsoNode*>(iso_image_get_root(image));
    for (const QString& part : parts) {
        if (!ISO_NODE_IS_DIR(node))
            return nullptr;
        IsoNode* child = nullptr;
        if (iso_dir_get_node(reinterpret_cast<IsoDir*>(node), part.toUtf8().constData(), &child) !=
            1)
            return nullptr;
        node = child;
    }
    return node;
}

enum class Names
{
    Joliet,    // what Windows sees
    RockRidge, // the names the files had
};

// Reads the tree of an image file. Nothing, with `*imported` < 0, when it is
// none; `*opened` says whether the file could be opened at all. The features
// are the caller's to destroy.
IsoImage* ImportImage(const QByteArray& path, Names names, int* imported,
                      IsoReadImageFeatures** features, bool* opened = nullptr)
{
    IsoDataSource* source = nullptr;
    *imported = iso_data_source_new_from_file(path.constData(), &source);
    if (opened)
        *opened = *imported >= 0;
    if (*imported < 0)
        return nullptr;
    IsoReadOpts* opts = nullptr;
    iso_read_opts_new(&opts, 0);
    iso_read_opts_set_no_rockridge(opts, names == Names::Joliet ? 1 : 0);
    iso_read_opts_set_no_joliet(opts, names == Names::Joliet ? 0 : 1);
    iso_read_opts_set_no_iso1999(opts, 1);
    iso_read_opts_set_no_aaip(opts, 1);
    iso_read_opts_set_preferjoliet(opts, names == Names::Joliet ? 1 : 0);
    IsoImage* image = nullptr;
    iso_image_new("", &image);
    *imported = iso_image_import(image, source, opts, features);
    iso_read_opts_free(opts);
    iso_data_source_unref(source);
    if (*imported < 0) {
        iso_image_unref(image);
        return nullptr;
    }
    return image;
}

// Copies each file's bytes into its place in the image.
WriteOutcome FillContents(const ImageSettings& settings, int fd, const QString& target,
                          qint64 total, const ProgressFunction& progress,
                          const volatile std::sig_atomic_t* stop)
{
    WriteOutcome outcome;
    const auto failed = [&](const QString& error) {
        outcome.kind = WriteOutcome::Kind::Failed;
        outcome.error = error;
        return outcome;
    };
    const auto notWritten = [&](int savedErrno) {
        return failed(QStringLiteral("%1 ließ sich nicht schreiben: %2.")
                          .arg(Quoted(target), SystemErrorText(savedErrno, target)));
    };
    int imported = 0;
    IsoReadImageFeatures* features = nullptr;
    IsoImage* image = ImportImage("/proc/self/fd/" + QByteArray::number(fd), Names::RockRidge,
                                  &imported, &features);
    if (!image)
        return failed(QStringLiteral("Das Abbild lässt sich nicht anlegen (libisofs: %1).")
                          .arg(LibraryText(imported)));
    iso_read_image_features_destroy(features);
    QList<Placement> placements;
    QSet<quint32> seen;
    FindPlacements(iso_image_get_root(image), QFile::encodeName(settings.cdRoot), &seen,
                   &placements);
    iso_image_unref(image);

    qint64 contents = 0;
    for (const Placement& placement : placements) {
        for (const auto& [offset, length] : placement.sections)
            contents += length;
    }
    qint64 done = total - contents;
    bool kernelCopies = true;
    std::vector<char> buffer;
    for (const Placement& placement : placements) {
        const QString shown = QFile::decodeName(placement.source);
        const int in = open(placement.source.constData(), O_RDONLY | O_CLOEXEC);
        struct stat info;
        if (in < 0 || fstat(in, &info) != 0) {
            const int savedErrno = errno;
            if (in >= 0)
                close(in);
            return failed(QStringLiteral("%1 lässt sich nicht lesen: %2.")
                              .arg(Quoted(shown), SystemErrorText(savedErrno, shown)));
        }
        qint64 expected = 0;
        for (const auto& [offset, length] : placement.sections)
            expected += length;
        off_t from = 0;
        QString error;
        if (info.st_size != expected)
            error = QStringLiteral("%1 hat sich geändert, während das Abbild entstand.")
                        .arg(Quoted(shown));
        for (const auto& [offset, length] : placement.sections) {
            off_t to = offset;
            const off_t end = offset + length;
            while (error.isEmpty() && to < end) {
                if (*stop) {
                    close(in);
                    outcome.kind = WriteOutcome::Kind::Stopped;
                    return outcome;
                }
                const size_t wanted = size_t(qMin<qint64>(CopyPiece, end - to));
                ssize_t n = -1;
                int savedErrno = 0;
                bool writing = false;
                if (kernelCopies) {
                    n = copy_file_range(in, &from, fd, &to, wanted, 0);
                    savedErrno = errno;
                    // Not every pair of file systems lets the kernel copy, and
                    // some give nothing rather than say so: plain reads decide.
                    if (n == 0 || (n < 0 && (savedErrno == EXDEV || savedErrno == EINVAL ||
                                             savedErrno == ENOSYS || savedErrno == EOPNOTSUPP))) {
                        kernelCopies = false;
                        continue;
                    }
                    writing = savedErrno == ENOSPC || savedErrno == EFBIG || savedErrno == EDQUOT ||
                              savedErrno == EIO;
                } else {
                    buffer.resize(size_t(qMin<qint64>(CopyPiece, 1024 * 1024)));
                    n = pread(in, buffer.data(), qMin(wanted, buffer.size()), from);
                    savedErrno = errno;
                    if (n > 0) {
                        if (!WriteAll(fd, reinterpret_cast<unsigned char*>(buffer.data()), n, to,
                                      &savedErrno)) {
                            n = -1;
                            writing = true;
                        } else {
                            from += n;
                            to += n;
                        }
                    }
                }
                if (n < 0 && savedErrno == EINTR)
                    continue;
                if (n < 0 && writing) {
                    close(in);
                    return notWritten(savedErrno);
                }
                if (n < 0)
                    error = QStringLiteral("%1 lässt sich nicht lesen: %2.")
                                .arg(Quoted(shown), SystemErrorText(savedErrno, shown));
                else if (n == 0)
                    error = QStringLiteral("%1 hat sich geändert, während das Abbild entstand.")
                                .arg(Quoted(shown));
                else {
                    done += n;
                    if (progress)
                        progress(done, total);
                }
            }
        }
        close(in);
        if (!error.isEmpty())
            return failed(error);
    }
    outcome.kind = WriteOutcome::Kind::Written;
    outcome.bytes = total;
    return outcome;
}

} // namespace

void StartIsoLibrary()
{
    static const bool started = [] {
        // bit0: the locale of the environment stays out; names are UTF-8.
        if (iso_init_with_flag(1) < 0)
            return false;
        iso_set_local_charset(const_cast<char*>("UTF-8"), 0);
        iso_set_msgs_severities(const_cast<char*>("NOTE"), const_cast<char*>("NEVER"),
                                const_cast<char*>("velkaro-image: "));
        // A file that cannot be read must end the image, not leave zeros in it.
        iso_set_abort_severity(const_cast<char*>("MISHAP"));
        return true;
    }();
    (void)started;
}

WriteOutcome WriteImage(const ImageSettings& settings, int fd, const QString& target,
                        const ProgressFunction& progress, const volatile std::sig_atomic_t* stop,
                        QStringList* notes)
{
    StartIsoLibrary();
    WriteOutcome outcome;
    bool severe = false;
    TakeLibraryMessages(&severe);
    severe = false;

    if (settings.sourceDateEpoch) {
        time_t now = static_cast<time_t>(*settings.sourceDateEpoch);
        iso_nowtime(&now, 1);
    }

    ImageHandle image;
    const QByteArray label = settings.label.toLatin1();
    if (iso_image_new(label.constData(), &image.image) < 0) {
        outcome.error = QStringLiteral("Nicht genug Speicher für das Abbild.");
        return outcome;
    }
    iso_image_set_application_id(image.image, "VELKARO-IMAGE");
    iso_image_set_ignore_aclea(image.image, 3);
    iso_tree_set_follow_symlinks(image.image, 1);

    const QByteArray rootPath = QFile::encodeName(settings.cdRoot);
    struct stat rootInfo;
    if (stat(rootPath.constData(), &rootInfo) != 0) {
        outcome.error = QStringLiteral("Das CD-Hauptverzeichnis %1 lässt sich nicht lesen: %2.")
                            .arg(Quoted(settings.cdRoot), SystemErrorText(errno, settings.cdRoot));
        return outcome;
    }
    Tree tree;
    tree.image = image.image;
    tree.latest = settings.sourceDateEpoch;
    tree.notes = notes;
    IsoDir* root = iso_image_get_root(image.image);
    tree.SetTimes(reinterpret_cast<IsoNode*>(root), rootInfo);
    tree.ancestors.insert({rootInfo.st_dev, rootInfo.st_ino});
    if (!tree.AddFolder(root, rootPath, QString())) {
        outcome.error = tree.error;
        return outcome;
    }

    OptionsHandle opts;
    iso_write_opts_new(&opts.opts, 0);
    iso_write_opts_set_iso_level(opts.opts, 3); // files beyond 4 GiB
    iso_write_opts_set_rockridge(opts.opts, 1);
    iso_write_opts_set_joliet(opts.opts, 1);
    // A deep path would otherwise be left out of the Joliet tree altogether;
    // Windows itself allows paths up to its own limit (checked for entries).
    iso_write_opts_set_joliet_longer_paths(opts.opts, 1);
    // Joliet keeps a name without a dot as it is ("README", not "README.").
    iso_write_opts_set_no_force_dots(opts.opts, 2);
    iso_write_opts_set_always_gmt(opts.opts, 1);
    iso_write_opts_set_replace_mode(opts.opts, 1, 1, 1, 1);
    iso_write_opts_set_dir_rec_mtime(opts.opts, 1 | 2);
    iso_write_opts_set_output_charset(opts.opts, "UTF-8");
    iso_write_opts_set_aaip(opts.opts, 0);
    iso_write_opts_set_hardlinks(opts.opts, 0);
    iso_write_opts_set_fifo_size(opts.opts, FifoBlocks);
    QByteArray uuid;
    if (settings.sourceDateEpoch) {
        const time_t t = static_cast<time_t>(*settings.sourceDateEpoch);
        uuid = VolumeTimestamp(*settings.sourceDateEpoch);
        iso_write_opts_set_pvd_times(opts.opts, t, t, 0, 0, uuid.data());
    }

    // Signals belong to the thread that writes the file, not to the one of
    // libisofs that the burn source starts.
    sigset_t blocked;
    sigset_t previous;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &blocked, &previous);
    burn_source* source = nullptr;
    const int created = iso_image_create_burn_source(image.image, opts.opts, &source);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (created < 0) {
        const QStringList messages = TakeLibraryMessages(&severe);
        outcome.error = QStringLiteral("Das Abbild lässt sich nicht anlegen (libisofs: %1).")
                            .arg(messages.isEmpty() ? LibraryText(created)
                                                    : messages.join(QStringLiteral("; ")));
        return outcome;
    }

    const qint64 total = source->get_size(source);
    std::vector<unsigned char> piece(PieceSize);
    outcome.kind = WriteOutcome::Kind::Written;
    while (true) {
        if (*stop) {
            source->cancel(source);
            outcome.kind = WriteOutcome::Kind::Stopped;
            break;
        }
        // The buffer gives a piece only whole: the last one is asked for
        // with its own size, or its bytes would be lost.
        const int wanted = int(qMin<qint64>(PieceSize, total - outcome.bytes));
        if (wanted == 0)
            break;
        const int n = source->read_xt ? source->read_xt(source, piece.data(), wanted)
                                      : source->read(source, piece.data(), wanted);
        if (n <= 0)
            break; // the reason is in the messages, read once libisofs has ended
        int savedErrno = 0;
        // Zeros are the placeholders' (and padding): the hole reads as zeros.
        if (!AllZero(piece.data(), n) &&
            !WriteAll(fd, piece.data(), n, off_t(outcome.bytes), &savedErrno)) {
            source->cancel(source);
            outcome.kind = WriteOutcome::Kind::Failed;
            outcome.error = QStringLiteral("%1 ließ sich nicht schreiben: %2.")
                                .arg(Quoted(target), SystemErrorText(savedErrno, target));
            break;
        }
        outcome.bytes += n;
    }
    source->free_data(source);
    free(source);

    // Only now has the thread of libisofs ended and said everything.
    const QStringList messages = TakeLibraryMessages(&severe);
    if (outcome.kind == WriteOutcome::Kind::Written && (severe || outcome.bytes != total)) {
        outcome.kind = WriteOutcome::Kind::Failed;
        outcome.error = QStringLiteral("Das Abbild ließ sich nicht fehlerfrei erzeugen "
                                       "(libisofs: %1).")
                            .arg(messages.join(QStringLiteral("; ")));
    }
    if (outcome.kind != WriteOutcome::Kind::Written)
        return outcome;
    if (ftruncate(fd, off_t(total)) != 0) {
        const int savedErrno = errno;
        outcome.kind = WriteOutcome::Kind::Failed;
        outcome.error = QStringLiteral("%1 ließ sich nicht schreiben: %2.")
                            .arg(Quoted(target), SystemErrorText(savedErrno, target));
        return outcome;
    }
    return FillContents(settings, fd, target, total, progress, stop);
}

std::unique_ptr<ImageView> ImageView::Open(const QString& path, QString* error)
{
    StartIsoLibrary();
    bool severe = false;
    TakeLibraryMessages(&severe);

    int imported = 0;
    IsoReadImageFeatures* features = nullptr;
    bool opened = false;
    IsoImage* image =
        ImportImage(QFile::encodeName(path), Names::Joliet, &imported, &features, &opened);
    if (!opened) {
        *error = QStringLiteral("Die Datei %1 lässt sich nicht öffnen.").arg(Quoted(path));
        return nullptr;
    }
    if (!image) {
        const QStringList messages = TakeLibraryMessages(&severe);
        *error = QStringLiteral("%1 ist kein lesbares CD-Abbild (libisofs: %2).")
                     .arg(Quoted(path), messages.isEmpty() ? LibraryText(imported)
                                                           : messages.join(QStringLiteral("; ")));
        return nullptr;
    }
    const bool joliet = iso_read_image_features_has_joliet(features) == 1;
    iso_read_image_features_destroy(features);
    if (!joliet) {
        iso_image_unref(image);
        *error = QStringLiteral("%1 hat keinen Joliet-Baum. Windows sähe nur die kurzen "
                                "ISO-9660-Namen in Großbuchstaben, und die Einträge von "
                                "AutoRun.Inf fänden ihre Dateien nicht.")
                     .arg(Quoted(path));
        return nullptr;
    }
    TakeLibraryMessages(&severe);
    return std::unique_ptr<ImageView>(new ImageView(image));
}

ImageView::~ImageView()
{
    iso_image_unref(m_image);
}

std::optional<QList<DiscEntry>> ImageView::List(const QStringList& folder) const
{
    IsoNode* node = NodeAt(m_image, folder);
    if (!node || !ISO_NODE_IS_DIR(node))
        return std::nullopt;
    IsoDirIter* it = nullptr;
    if (iso_dir_get_children(reinterpret_cast<IsoDir*>(node), &it) < 0)
        return std::nullopt;
    QList<DiscEntry> entries;
    IsoNode* child = nullptr;
    while (iso_dir_iter_next(it, &child) == 1) {
        const QString name = QString::fromUtf8(iso_node_get_name(child));
        entries.append({name, name, ISO_NODE_IS_DIR(child) != 0, {}});
    }
    iso_dir_iter_free(it);
    return entries;
}

std::optional<QByteArray> ImageView::Read(const QStringList& file) const
{
    IsoNode* node = NodeAt(m_image, file);
    if (!node || !ISO_NODE_IS_FILE(node))
        return std::nullopt;
    IsoStream* stream = iso_file_get_stream(reinterpret_cast<IsoFile*>(node));
    if (iso_stream_open(stream) < 0)
        return std::nullopt;
    QByteArray bytes;
    char piece[65536];
    int n = 0;
    while ((n = iso_stream_read(stream, piece, sizeof piece)) > 0)
        bytes.append(piece, n);
    iso_stream_close(stream);
    if (n < 0)
        return std::nullopt;
    return bytes;
}

QString ImageView::VolumeId() const
{
    return QString::fromUtf8(iso_image_get_volume_id(m_image));
}

} // namespace velkaro::image
