#pragma once

#include "IcoFiles.h"
#include "TestFiles.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace velkaro::test {

// One project, as the window's choices and as velkaro-autostart's options:
// the window test makes each through the real main window and compares the
// bytes with what the command line writes.
struct AutostartProject
{
    const char* name;
    QString open; // relative to the CD root; "." is the root itself
    bool folder = false;
    // Per context row: the menu text (empty: the one the document's name
    // gives) and the document; a row without document stays empty.
    std::array<std::pair<QString, QString>, 3> menus;
    QString icon = QStringLiteral("none"); // none, default, library:N or a file below the root
};

inline QList<AutostartProject> AutostartProjects()
{
    using P = std::pair<QString, QString>;
    return {
        {"the example",
         QStringLiteral("start/index.htm"),
         false,
         {P{QStringLiteral("Handbuch"), QStringLiteral("doku/handbuch.pdf")}, P{}, P{}},
         QStringLiteral("library:200")},
        {"three rows",
         QStringLiteral("start/index.htm"),
         false,
         {P{QStringLiteral("Handbuch"), QStringLiteral("doku/handbuch.pdf")},
          P{QStringLiteral("Preise"), QStringLiteral("doku/preise.pdf")},
          P{QString(), QStringLiteral("doku/Liesmich.txt")}},
         QStringLiteral("default")},
        {"a folder", QStringLiteral("Bilder"), true, {}, QStringLiteral("Bilder/Disc.ico")},
        {"the root",
         QStringLiteral("."),
         true,
         {P{}, P{}, P{QStringLiteral("50%t%"), QStringLiteral("doku/preise.pdf")}}},
        {"umlauts and blanks",
         QStringLiteral("Über uns/Preisliste 2026.pdf"),
         false,
         {P{QString(), QStringLiteral("Über uns/Übersicht.neu.pdf")},
          P{QStringLiteral(" (kein) "), QStringLiteral("doku/preise.pdf")}, // no text: the name
          P{QStringLiteral("  Preise & Mehr  "), QStringLiteral("doku/a b.txt")}},
         QStringLiteral("Bilder/Mein Icon.ico")},
    };
}

// The files every project of the table names, below root.
inline void MakeAutostartTree(const QString& root)
{
    for (const char* file :
         {"start/index.htm", "doku/handbuch.pdf", "doku/preise.pdf", "doku/Liesmich.txt",
          "doku/a b.txt", "Über uns/Preisliste 2026.pdf", "Über uns/Übersicht.neu.pdf"})
        MakeFile(root + QLatin1Char('/') + QString::fromUtf8(file));
    const QByteArray ico = testing::IcoBytes({testing::SolidImage(32, qRgb(1, 2, 3))});
    QDir().mkpath(root + QStringLiteral("/Bilder"));
    WriteRaw(root + QStringLiteral("/Bilder/Disc.ico"), ico);
    WriteRaw(root + QStringLiteral("/Bilder/Mein Icon.ico"), ico);
}

// The options of velkaro-autostart for the project.
inline QStringList AutostartArguments(const QString& root, const AutostartProject& project)
{
    QStringList arguments{root, QStringLiteral("--open"), project.open};
    if (project.folder)
        arguments << QStringLiteral("--folder");
    for (size_t row = 0; row < project.menus.size(); ++row) {
        const auto& [text, path] = project.menus.at(row);
        if (!path.isEmpty())
            arguments << QStringLiteral("--menu%1").arg(row) << text + QLatin1Char('=') + path;
    }
    return arguments << QStringLiteral("--icon") << project.icon;
}

} // namespace velkaro::test
