#include "IsoImage.h"

#include "ContentCopy.h"
#include "DiscVocabulary.h"
#include "FolderSerials.h"
#include "ImageTree.h"
#include "IsoLibrary.h"
#include "LocalSystem.h"
#include "MessageText.h"

#include <QDateTime>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace velkaro::image {

namespace {

// The layout comes out of libisofs' buffer in pieces of this size.
constexpr int PieceSize = 1024 * 1024;
constexpr int FifoBlocks = 2048;

// "YYYYMMDDhhmmsscc" in UTC, the form libisofs writes as the volume's times.
QByteArray VolumeTimestamp(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC)
               .toString(QStringLiteral("yyyyMMddHHmmss"))
               .toLatin1() +
           "00";
}

bool AllZero(const unsigned char* data, qsizetype size)
{
    return size == 0 || (data[0] == 0 && std::memcmp(data, data + 1, size_t(size - 1)) == 0);
}

// The image with the tree of the CD root in it; the German reason in
// `*error` when there is none.
bool BuildTree(const ImageSettings& settings, ImageHandle* image, Notes* notes, QString* error)
{
    const QByteArray label = settings.label.toLatin1();
    if (iso_image_new(label.constData(), &image->image) < 0) {
        *error = QStringLiteral("Nicht genug Speicher für das Abbild.");
        return false;
    }
    iso_image_set_application_id(image->image, "VELKARO-IMAGE");
    iso_image_set_ignore_aclea(image->image, 3);
    iso_tree_set_follow_symlinks(image->image, 1);

    const QByteArray rootPath = LocalPath(settings.cdRoot);
    LocalInfo rootInfo;
    if (const int failed = ReadLocalInfo(rootPath, &rootInfo)) {
        *error = QStringLiteral("Das CD-Hauptverzeichnis %1 lässt sich nicht lesen: %2.")
                     .arg(Quoted(settings.cdRoot), SystemErrorText(failed, settings.cdRoot));
        return false;
    }
    ImageTree tree(image->image, settings.sourceDateEpoch, notes);
    if (!tree.AddRoot(rootPath, rootInfo)) {
        *error = tree.error();
        return false;
    }
    return true;
}

// ISO 9660 level 3 with Rock Ridge and Joliet, as Windows reads it best.
// `uuid` keeps the volume's time text alive while the options use it.
void SetWriteOptions(IsoWriteOpts* opts, const ImageSettings& settings, QByteArray* uuid)
{
    iso_write_opts_set_iso_level(opts, 3); // files beyond 4 GiB
    iso_write_opts_set_rockridge(opts, 1);
    iso_write_opts_set_joliet(opts, 1);
    // A deep path would otherwise be left out of the Joliet tree altogether;
    // Windows itself allows paths up to its own limit (checked for entries).
    iso_write_opts_set_joliet_longer_paths(opts, 1);
    // Joliet keeps a name without a dot as it is ("README", not "README.").
    iso_write_opts_set_no_force_dots(opts, 2);
    // Folders deeper than eight levels stay where they are in the ISO 9660
    // tree too. Moved for Rock Ridge into the root, libarchive refuses the
    // whole image; moved into a folder "rr_moved", that folder would show up
    // in Windows' Joliet view. Joliet and Rock Ridge are read at any depth.
    iso_write_opts_set_allow_deep_paths(opts, 1);
    iso_write_opts_set_always_gmt(opts, 1);
    iso_write_opts_set_replace_mode(opts, 1, 1, 1, 1);
    iso_write_opts_set_dir_rec_mtime(opts, 1 | 2);
    iso_write_opts_set_output_charset(opts, "UTF-8");
    iso_write_opts_set_aaip(opts, 0);
    iso_write_opts_set_hardlinks(opts, 0);
    iso_write_opts_set_fifo_size(opts, FifoBlocks);
    // The files' bytes lie in the order of the tree. Sorted by their weight,
    // all equal, the order would be that of the C library's qsort, which
    // keeps it on Linux but not on Windows: other bytes for the same tree.
    iso_write_opts_set_sort_files(opts, 0);
    if (settings.sourceDateEpoch) {
        const time_t t = static_cast<time_t>(*settings.sourceDateEpoch);
        *uuid = VolumeTimestamp(*settings.sourceDateEpoch);
        iso_write_opts_set_pvd_times(opts, t, t, 0, 0, uuid->data());
    }
}

// Starts libisofs' thread that lays the image out; a negative code when it
// cannot.
int CreateBurnSource(IsoImage* image, IsoWriteOpts* opts, burn_source** source)
{
    // Ctrl+C belongs to the thread that writes the file, not to the one of
    // libisofs that the burn source starts.
    return WithoutStopSignals([&] { return iso_image_create_burn_source(image, opts, source); });
}

// Writes what the burn source gives into `fd`, leaving holes where it gives
// zeros, and ends the source.
WriteOutcome WriteLayout(burn_source* source, int fd, const QString& target,
                         const volatile std::sig_atomic_t* stop)
{
    WriteOutcome outcome;
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
            !WriteAll(fd, piece.data(), n, outcome.bytes, &savedErrno)) {
            source->cancel(source);
            outcome.kind = WriteOutcome::Kind::Failed;
            outcome.error = NotWrittenText(target, savedErrno);
            break;
        }
        outcome.bytes += n;
    }
    source->free_data(source);
    free(source);

    // Only now has the thread of libisofs ended and said everything.
    bool severe = false;
    const QStringList messages = TakeLibraryMessages(&severe);
    if (outcome.kind == WriteOutcome::Kind::Written && (severe || outcome.bytes != total)) {
        outcome.kind = WriteOutcome::Kind::Failed;
        outcome.error = QStringLiteral("Das Abbild ließ sich nicht fehlerfrei erzeugen "
                                       "(libisofs: %1).")
                            .arg(messages.join(QStringLiteral("; ")));
    }
    return outcome;
}

} // namespace

WriteOutcome WriteImage(const ImageSettings& settings, int fd, const QString& target,
                        const ProgressFunction& progress, const volatile std::sig_atomic_t* stop,
                        Notes* notes)
{
    StartIsoLibrary();
    bool severe = false;
    TakeLibraryMessages(&severe);
    if (settings.sourceDateEpoch) {
        time_t now = static_cast<time_t>(*settings.sourceDateEpoch);
        iso_nowtime(&now, 1);
    }

    WriteOutcome outcome;
    ImageHandle image;
    if (!BuildTree(settings, &image, notes, &outcome.error))
        return outcome;
    OptionsHandle opts;
    iso_write_opts_new(&opts.opts, 0);
    QByteArray uuid;
    SetWriteOptions(opts.opts, settings, &uuid);
    burn_source* source = nullptr;
    const int created = CreateBurnSource(image.image, opts.opts, &source);
    if (created < 0) {
        outcome.error = QStringLiteral("Das Abbild lässt sich nicht anlegen (libisofs: %1).")
                            .arg(LibraryReason(created));
        return outcome;
    }
    const qint64 total = source->get_size(source);
    outcome = WriteLayout(source, fd, target, stop);
    if (outcome.kind != WriteOutcome::Kind::Written)
        return outcome;
    const int truncated = TruncateFile(fd, total);
    if (const int error = truncated ? truncated : NumberFoldersInOrder(fd)) {
        outcome.kind = WriteOutcome::Kind::Failed;
        outcome.error = NotWrittenText(target, error);
        return outcome;
    }
    return FillContents(settings, fd, target, total, progress, stop);
}

bool NoteTree(const QString& cdRoot, Notes* notes, QString* error)
{
    StartIsoLibrary();
    ImageSettings settings;
    settings.cdRoot = cdRoot;
    ImageHandle image;
    const bool built = BuildTree(settings, &image, notes, error);
    bool severe = false;
    TakeLibraryMessages(&severe);
    return built;
}

std::unique_ptr<ImageView> ImageView::Open(const QString& path, QString* error)
{
    StartIsoLibrary();
    bool severe = false;
    TakeLibraryMessages(&severe);
    int savedErrno = 0;
    const int fd = OpenForReading(LocalPath(path), &savedErrno);
    if (fd < 0) {
        *error = QStringLiteral("Die Datei %1 lässt sich nicht öffnen.").arg(Quoted(path));
        return nullptr;
    }
    int imported = 0;
    IsoReadImageFeatures* features = nullptr;
    IsoImage* image = ImportImage(fd, Names::Joliet, &imported, &features);
    if (!image) {
        CloseFile(fd);
        *error = QStringLiteral("%1 ist kein lesbares CD-Abbild (libisofs: %2).")
                     .arg(Quoted(path), LibraryReason(imported));
        return nullptr;
    }
    const bool joliet = iso_read_image_features_has_joliet(features) == 1;
    iso_read_image_features_destroy(features);
    if (!joliet) {
        iso_image_unref(image);
        CloseFile(fd);
        *error = QStringLiteral("%1 hat keinen Joliet-Baum. Windows sähe nur die kurzen "
                                "ISO-9660-Namen in Großbuchstaben, und die Einträge von "
                                "AutoRun.Inf fänden ihre Dateien nicht.")
                     .arg(Quoted(path));
        return nullptr;
    }
    TakeLibraryMessages(&severe);
    return std::unique_ptr<ImageView>(new ImageView(image, fd));
}

ImageView::~ImageView()
{
    iso_image_unref(m_image);
    CloseFile(m_fd);
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

std::optional<QString> ImageView::RelocationFault() const
{
    // Rock Ridge hides the marked folders: the root holds more folders in
    // the plain ISO 9660 tree than in Rock Ridge by the number of them.
    int folders[2] = {0, 0};
    bool relocationFolder[2] = {false, false}; // "rr_moved" or ".rr_moved"
    const Names trees[2] = {Names::Iso9660, Names::RockRidge};
    for (int t = 0; t < 2; ++t) {
        int imported = 0;
        IsoReadImageFeatures* features = nullptr;
        ImageHandle image;
        image.image = ImportImage(m_fd, trees[t], &imported, &features);
        if (!image.image)
            return std::nullopt;
        iso_read_image_features_destroy(features);
        IsoDirIter* it = nullptr;
        if (iso_dir_get_children(iso_image_get_root(image.image), &it) < 0)
            return std::nullopt;
        IsoNode* child = nullptr;
        while (iso_dir_iter_next(it, &child) == 1) {
            if (!ISO_NODE_IS_DIR(child))
                continue;
            ++folders[t];
            const QByteArray name = QByteArray(iso_node_get_name(child)).toLower();
            if (name == "rr_moved" || name == "_rr_moved" || name == ".rr_moved")
                relocationFolder[t] = true;
        }
        iso_dir_iter_free(it);
    }
    bool severe = false;
    TakeLibraryMessages(&severe);
    // The relocation folder may itself be hidden; the moved folders are in it.
    const int hidden = folders[0] - folders[1];
    if (hidden <= (relocationFolder[0] && !relocationFolder[1] ? 1 : 0))
        return std::nullopt;
    return QStringLiteral("Rock Ridge: Ordner, die tiefer als acht Ebenen liegen, sind ins "
                          "Hauptverzeichnis verschoben statt in einen Ordner „rr_moved“. bsdtar "
                          "(libarchive, auch das tar von Windows) liest deshalb das ganze Abbild "
                          "nicht („Invalid Rockridge RE“).");
}

} // namespace velkaro::image
