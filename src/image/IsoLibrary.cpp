#include "IsoLibrary.h"

#include "IsoImage.h"
#include "LocalSystem.h"

#include <cstdlib>

namespace velkaro::image {

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

QString LibraryText(int code)
{
    return QString::fromUtf8(iso_error_to_msg(code));
}

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

QString LibraryReason(int code)
{
    bool severe = false;
    const QStringList messages = TakeLibraryMessages(&severe);
    return messages.isEmpty() ? LibraryText(code) : messages.join(QStringLiteral("; "));
}

namespace {

constexpr qint64 BlockSize = 2048;

// The image file as libisofs reads it: by block, through the descriptor.
IsoDataSource* NewFileSource(int fd)
{
    // libisofs frees the source itself with free().
    auto* source = static_cast<IsoDataSource*>(std::calloc(1, sizeof(IsoDataSource)));
    if (!source)
        return nullptr;
    source->refcount = 1;
    source->data = new int(fd);
    source->open = [](IsoDataSource*) { return 1; };
    source->close = [](IsoDataSource*) { return 1; };
    source->read_block = [](IsoDataSource* self, uint32_t lba, uint8_t* buffer) {
        const int file = *static_cast<int*>(self->data);
        int savedErrno = 0;
        qint64 done = 0;
        while (done < BlockSize) {
            const qint64 n = ReadAt(file, buffer + done, BlockSize - done,
                                    qint64(lba) * BlockSize + done, &savedErrno);
            if (n <= 0)
                return int(ISO_DATA_SOURCE_MISHAP);
            done += n;
        }
        return 1;
    };
    source->free_data = [](IsoDataSource* self) { delete static_cast<int*>(self->data); };
    return source;
}

} // namespace

IsoImage* ImportImage(int fd, Names names, int* imported, IsoReadImageFeatures** features)
{
    IsoDataSource* source = NewFileSource(fd);
    if (!source) {
        *imported = ISO_OUT_OF_MEM;
        return nullptr;
    }
    IsoReadOpts* opts = nullptr;
    iso_read_opts_new(&opts, 0);
    iso_read_opts_set_no_rockridge(opts, names == Names::RockRidge ? 0 : 1);
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

} // namespace velkaro::image
