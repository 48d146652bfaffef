#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace velkaro {

// A small reader of the parts of a Windows PE file that the launcher's tests
// check: the headers, the imported DLLs and functions, and the resources.
// Every offset is checked against the file, so a damaged file gives an error
// text instead of a crash.
class PeFile
{
public:
    struct Import
    {
        QString dll;
        QStringList functions;
    };

    struct Resource
    {
        quint32 type = 0;
        // Resources named by number have an id; named ones have a name.
        std::optional<quint32> id;
        QString name;
        QByteArray data;
    };

    // Gives nothing and sets error when the bytes are not a PE file.
    static std::optional<PeFile> Parse(const QByteArray& bytes, QString* error);

    quint16 machine = 0;
    quint16 characteristics = 0;
    quint16 optionalMagic = 0;
    quint16 subsystem = 0;
    quint16 dllCharacteristics = 0;
    QList<Import> imports;
    // In the order of the resource directory: types, then names, then
    // languages, each with the named entries before the numbered ones.
    QList<Resource> resources;

    QList<Resource> ResourcesOfType(quint32 type) const;
    std::optional<Resource> FindResource(quint32 type, quint32 id) const;
};

} // namespace velkaro
