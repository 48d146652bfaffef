#include "HelpFile.h"

#include "FileHelpers.h"

#include <QStringList>

namespace velkaro {

QString FindLocalHelpFile(const QString& programFolder)
{
    const QString folder = AddBackslash(programFolder);
    const QStringList folders{folder, folder + QStringLiteral("hilfe") + PathSeparator()};
    const QStringList names{QStringLiteral("index"), QStringLiteral("hilfe")};
    const QStringList extensions{QStringLiteral(".htm"), QStringLiteral(".html")};
    for (const QString& f : folders) {
        for (const QString& name : names) {
            for (const QString& extension : extensions) {
                const QString candidate = f + name + extension;
                if (FileExists(candidate))
                    return candidate;
            }
        }
    }
    return QString();
}

} // namespace velkaro
