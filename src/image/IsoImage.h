#pragma once

#include "DiscView.h"
#include "Notes.h"

#include <QString>
#include <QStringList>
#include <csignal>
#include <functional>
#include <memory>
#include <optional>

struct Iso_Image;

namespace velkaro::image {

// Sets libisofs up once for this process: names in UTF-8 whatever the
// locale, its messages queued for us instead of printed in English.
void StartIsoLibrary();

struct ImageSettings
{
    QString cdRoot;
    QString label; // already legal, see MakeVolumeLabel
    // SOURCE_DATE_EPOCH: the volume's times, and no file time later than it.
    std::optional<qint64> sourceDateEpoch;
};

struct WriteOutcome
{
    enum class Kind
    {
        Written,
        Stopped, // the stop flag was raised
        Failed
    } kind = Kind::Failed;
    QString error; // German, for Failed
    qint64 bytes = 0;
};

using ProgressFunction = std::function<void(qint64 written, qint64 total)>;

// Streams the ISO 9660 image (Joliet and Rock Ridge) of the CD root into
// the open file descriptor, piece by piece: memory does not grow with the
// size of the files. `notes` receives what the reader should know (Notes.h).
// `target` names the file in messages.
WriteOutcome WriteImage(const ImageSettings& settings, int fd, const QString& target,
                        const ProgressFunction& progress, const volatile std::sig_atomic_t* stop,
                        Notes* notes);

// What WriteImage would note for the CD root (links resolved), without
// writing anything; false, with the German reason in `error`, when the tree
// cannot be read.
bool NoteTree(const QString& cdRoot, Notes* notes, QString* error);

// An existing image, read through its Joliet tree as Windows reads it.
class ImageView final : public DiscView
{
public:
    // Nothing, with a German message in `error`, when the file is no image
    // or has no Joliet tree.
    static std::unique_ptr<ImageView> Open(const QString& path, QString* error);
    ~ImageView() override;

    std::optional<QList<DiscEntry>> List(const QStringList& folder) const override;
    std::optional<QByteArray> Read(const QStringList& file) const override;
    QString VolumeId() const;

    // Folders deeper than ISO 9660's eight levels are moved for Rock Ridge
    // and marked (RE) to be read at their old place. libarchive's readers
    // (bsdtar, and the tar of Windows) refuse the whole image unless the
    // moved folders lie in a folder "rr_moved": then the German reason.
    std::optional<QString> RelocationFault() const;

private:
    ImageView(Iso_Image* image, int fd) : m_image(image), m_fd(fd) {}
    Iso_Image* m_image;
    int m_fd; // the image file, read through as long as the view lives
};

} // namespace velkaro::image
