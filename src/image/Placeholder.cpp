#include "Placeholder.h"

#include <QtGlobal>
#include <cstdlib>
#include <cstring>

namespace velkaro::image {

namespace {

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

} // namespace

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

} // namespace velkaro::image
