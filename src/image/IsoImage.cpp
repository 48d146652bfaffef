#include "IsoImage.h"

#include "DiscVocabulary.h"
#include "Failure.h"
#include "MessageText.h"

#include <QDateTime>
#include <QFile>
#include <QSet>
#include <cerrno>
#include <cstring>
#include <pthread.h>
#include <unistd.h>
#include <vector>

// The burn source is read here directly; libburn is not used.
#define LIBISOFS_WITHOUT_LIBBURN 1
extern "C" {
#include <libisofs/libisofs.h>
}

namespace velkaro::image {

namespace {

// Pieces of this size go from libisofs to the file; its own buffer between
// the thread that reads the files and this one holds 4 MiB. Its thread fills
// the buffer 2 KiB at a time and wakes the reader each time, so a large
// piece costs many wake-ups: 256 KiB took four times as long as 64 KiB.
constexpr int PieceSize = 64 * 1024;
constexpr int FifoBlocks = 2048;

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
            const int added = iso_tree_add_new_node(image, parent, entry.name.constData(),
                                                    childPath.constData(), &node);
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

bool WriteAll(int fd, const unsigned char* data, qsizetype size, int* savedErrno)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
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
    }
    return true;
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
        if (!WriteAll(fd, piece.data(), n, &savedErrno)) {
            source->cancel(source);
            outcome.kind = WriteOutcome::Kind::Failed;
            outcome.error = QStringLiteral("%1 ließ sich nicht schreiben: %2.")
                                .arg(Quoted(target), SystemErrorText(savedErrno, target));
            break;
        }
        outcome.bytes += n;
        if (progress)
            progress(outcome.bytes, total);
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
    return outcome;
}

std::unique_ptr<ImageView> ImageView::Open(const QString& path, QString* error)
{
    StartIsoLibrary();
    bool severe = false;
    TakeLibraryMessages(&severe);

    IsoDataSource* source = nullptr;
    if (iso_data_source_new_from_file(QFile::encodeName(path).constData(), &source) < 0) {
        *error = QStringLiteral("Die Datei %1 lässt sich nicht öffnen.").arg(Quoted(path));
        return nullptr;
    }
    IsoReadOpts* opts = nullptr;
    iso_read_opts_new(&opts, 0);
    // Only the Joliet tree: the names that Windows sees.
    iso_read_opts_set_no_rockridge(opts, 1);
    iso_read_opts_set_no_iso1999(opts, 1);
    iso_read_opts_set_no_aaip(opts, 1);
    iso_read_opts_set_preferjoliet(opts, 1);
    IsoImage* image = nullptr;
    iso_image_new("", &image);
    IsoReadImageFeatures* features = nullptr;
    const int imported = iso_image_import(image, source, opts, &features);
    iso_read_opts_free(opts);
    iso_data_source_unref(source);
    if (imported < 0) {
        iso_image_unref(image);
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
