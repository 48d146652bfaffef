#include "PeFile.h"

#include <QtEndian>
#include <stdexcept>

namespace velkaro {

namespace {

// Thrown inside the reader only, turned into the error text by Parse.
struct Damaged : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

class Reader
{
public:
    explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}

    void Need(qint64 offset, qint64 size) const
    {
        if (offset < 0 || size < 0 || offset + size > bytes_.size()) {
            throw Damaged("reads past the end of the file at offset " + std::to_string(offset));
        }
    }

    quint16 U16(qint64 offset) const { return quint16(Little(offset, 2)); }

    quint32 U32(qint64 offset) const { return quint32(Little(offset, 4)); }

    QByteArray Bytes(qint64 offset, qint64 size) const
    {
        Need(offset, size);
        return bytes_.mid(offset, size);
    }

    QString AsciiZ(qint64 offset) const
    {
        Need(offset, 1);
        const qint64 end = bytes_.indexOf('\0', offset);
        if (end < 0) {
            throw Damaged("unterminated name");
        }
        return QString::fromLatin1(bytes_.constData() + offset, end - offset);
    }

private:
    quint64 Little(qint64 offset, int size) const
    {
        Need(offset, size);
        quint64 value = 0;
        for (int i = size - 1; i >= 0; --i) {
            value = (value << 8) | quint8(bytes_.at(offset + i));
        }
        return value;
    }

    const QByteArray& bytes_;
};

struct Section
{
    quint32 virtualAddress = 0;
    quint32 virtualSize = 0;
    quint32 rawOffset = 0;
    quint32 rawSize = 0;
};

qint64 FileOffset(const QList<Section>& sections, quint32 rva)
{
    for (const Section& s : sections) {
        const quint32 size = qMax(s.virtualSize, s.rawSize);
        if (rva >= s.virtualAddress && rva < s.virtualAddress + size) {
            return qint64(s.rawOffset) + (rva - s.virtualAddress);
        }
    }
    throw Damaged("address " + std::to_string(rva) + " lies in no section");
}

void ReadImports(const Reader& in, const QList<Section>& sections, quint32 rva, PeFile& pe)
{
    qint64 descriptor = FileOffset(sections, rva);
    for (int n = 0;; ++n, descriptor += 20) {
        if (n > 1000) {
            throw Damaged("import table without end");
        }
        const quint32 lookup = in.U32(descriptor);
        const quint32 nameRva = in.U32(descriptor + 12);
        const quint32 thunks = in.U32(descriptor + 16);
        if (lookup == 0 && nameRva == 0 && thunks == 0) {
            return;
        }
        PeFile::Import import;
        import.dll = in.AsciiZ(FileOffset(sections, nameRva));
        qint64 entry = FileOffset(sections, lookup != 0 ? lookup : thunks);
        for (;; entry += 4) {
            const quint32 value = in.U32(entry);
            if (value == 0) {
                break;
            }
            if (value & 0x80000000u) {
                import.functions << QStringLiteral("#%1").arg(value & 0xFFFFu);
            } else {
                import.functions << in.AsciiZ(FileOffset(sections, value) + 2);
            }
        }
        pe.imports << import;
    }
}

void ReadResources(const Reader& in, const QList<Section>& sections, quint32 rootRva, PeFile& pe)
{
    const qint64 root = FileOffset(sections, rootRva);

    // Calls visit(name entry value, offset of the entry's target) for every
    // entry of the directory at dirOffset (relative to the root).
    auto entries = [&](quint32 dirOffset, auto&& visit) {
        const qint64 dir = root + dirOffset;
        const int count = in.U16(dir + 12) + in.U16(dir + 14);
        for (int i = 0; i < count; ++i) {
            visit(in.U32(dir + 16 + 8 * i), in.U32(dir + 16 + 8 * i + 4));
        }
    };
    auto subdirectory = [](quint32 target) {
        if (!(target & 0x80000000u)) {
            throw Damaged("resource directory entry without subdirectory");
        }
        return target & 0x7FFFFFFFu;
    };

    entries(0, [&](quint32 typeName, quint32 typeTarget) {
        entries(subdirectory(typeTarget), [&](quint32 name, quint32 nameTarget) {
            entries(subdirectory(nameTarget), [&](quint32, quint32 dataTarget) {
                if (dataTarget & 0x80000000u) {
                    throw Damaged("resource tree deeper than three levels");
                }
                const qint64 dataEntry = root + dataTarget;
                PeFile::Resource resource;
                resource.type = typeName;
                if (name & 0x80000000u) {
                    const qint64 text = root + (name & 0x7FFFFFFFu);
                    const int length = in.U16(text);
                    const QByteArray utf16 = in.Bytes(text + 2, 2 * qint64(length));
                    resource.name = QString::fromUtf16(
                        reinterpret_cast<const char16_t*>(utf16.constData()), length);
                } else {
                    resource.id = name;
                }
                resource.data =
                    in.Bytes(FileOffset(sections, in.U32(dataEntry)), in.U32(dataEntry + 4));
                pe.resources << resource;
            });
        });
    });
}

} // namespace

std::optional<PeFile> PeFile::Parse(const QByteArray& bytes, QString* error)
{
    const Reader in(bytes);
    PeFile pe;
    try {
        if (in.U16(0) != 0x5A4D) {
            throw Damaged("no MZ header");
        }
        const qint64 header = in.U32(0x3C);
        if (in.U32(header) != 0x00004550) {
            throw Damaged("no PE signature");
        }
        const qint64 coff = header + 4;
        pe.machine = in.U16(coff);
        const int sectionCount = in.U16(coff + 2);
        const int optionalSize = in.U16(coff + 16);
        pe.characteristics = in.U16(coff + 18);

        const qint64 optional = coff + 20;
        pe.optionalMagic = in.U16(optional);
        if (pe.optionalMagic != 0x10B && pe.optionalMagic != 0x20B) {
            throw Damaged("unknown optional header");
        }
        const bool pe32 = pe.optionalMagic == 0x10B;
        pe.subsystem = in.U16(optional + 68);
        pe.dllCharacteristics = in.U16(optional + 70);
        const qint64 directoryCountAt = optional + (pe32 ? 92 : 108);
        const quint32 directoryCount = in.U32(directoryCountAt);
        auto directory = [&](quint32 index) -> quint32 {
            return index < directoryCount ? in.U32(directoryCountAt + 4 + 8 * index) : 0;
        };

        QList<Section> sections;
        const qint64 table = optional + optionalSize;
        for (int i = 0; i < sectionCount; ++i) {
            const qint64 s = table + 40 * i;
            sections << Section{in.U32(s + 12), in.U32(s + 8), in.U32(s + 20), in.U32(s + 16)};
        }

        if (const quint32 imports = directory(1)) {
            ReadImports(in, sections, imports, pe);
        }
        if (const quint32 resources = directory(2)) {
            ReadResources(in, sections, resources, pe);
        }
    } catch (const Damaged& damage) {
        if (error) {
            *error = QString::fromStdString(damage.what());
        }
        return std::nullopt;
    }
    return pe;
}

QList<PeFile::Resource> PeFile::ResourcesOfType(quint32 type) const
{
    QList<Resource> found;
    for (const Resource& r : resources) {
        if (r.type == type) {
            found << r;
        }
    }
    return found;
}

std::optional<PeFile::Resource> PeFile::FindResource(quint32 type, quint32 id) const
{
    for (const Resource& r : resources) {
        if (r.type == type && r.id == id) {
            return r;
        }
    }
    return std::nullopt;
}

} // namespace velkaro
