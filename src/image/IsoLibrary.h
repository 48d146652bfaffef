#pragma once

// The one header that includes libisofs: the rest of the image writer and
// reader reach it through here.

#include <QByteArray>
#include <QString>
#include <QStringList>

// The burn source is read here directly; libburn is not used.
#define LIBISOFS_WITHOUT_LIBBURN 1
extern "C" {
#include <libisofs/libisofs.h>
}

namespace velkaro::image {

// libisofs' own words for an error code.
QString LibraryText(int code);

// What libisofs queued since the last call; `*severe` becomes true when one
// of them is bad enough to spoil the image.
QStringList TakeLibraryMessages(bool* severe);

// The reason for a failed call: what libisofs queued, or else its words for
// the code.
QString LibraryReason(int code);

struct ImageHandle
{
    IsoImage* image = nullptr;
    ImageHandle() = default;
    ImageHandle(const ImageHandle&) = delete;
    ImageHandle& operator=(const ImageHandle&) = delete;
    ~ImageHandle()
    {
        if (image)
            iso_image_unref(image);
    }
};

struct OptionsHandle
{
    IsoWriteOpts* opts = nullptr;
    OptionsHandle() = default;
    OptionsHandle(const OptionsHandle&) = delete;
    OptionsHandle& operator=(const OptionsHandle&) = delete;
    ~OptionsHandle()
    {
        if (opts)
            iso_write_opts_free(opts);
    }
};

enum class Names
{
    Joliet,    // what Windows sees
    RockRidge, // the names the files had
    Iso9660,   // the plain tree, without either
};

// Reads the tree of the image in the open file `fd`, which must stay open
// as long as the tree is read. Nothing, with `*imported` < 0, when it is
// none. The features are the caller's to destroy.
IsoImage* ImportImage(int fd, Names names, int* imported, IsoReadImageFeatures** features);

// The node at the path of names below the root, or nullptr.
IsoNode* NodeAt(IsoImage* image, const QStringList& parts);

} // namespace velkaro::image
