#pragma once

#include "DiscView.h"

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
// size of the files. `notes` receives what the reader should know (names
// that Joliet changes, things left out). `target` names the file in messages.
WriteOutcome WriteImage(const ImageSettings& settings, int fd, const QString& target,
                        const ProgressFunction& progress, const volatile std::sig_atomic_t* stop,
                        QStringList* notes);

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

private:
    explicit ImageView(Iso_Image* image) : m_image(image) {}
    Iso_Image* m_image;
};

} // namespace velkaro::image
