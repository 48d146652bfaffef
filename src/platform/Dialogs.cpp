#include "Dialogs.h"

#include "FileHelpers.h"
#include "Presenter.h"

#include <QDir>

namespace velkaro {

namespace {

QString AllFilesFilter()
{
    return QStringLiteral("Alle Dateien (*.*)|*.*|");
}

// "*.*" means every file to Windows; elsewhere it would hide every name
// without a dot (README, Liesmich), so it becomes "*" there.
QString QtPattern(const QString& windowsPattern)
{
    QStringList patterns = windowsPattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
        pattern = pattern.trimmed();
#ifndef Q_OS_WIN
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
#endif
    }
    return patterns.join(QLatin1Char(' '));
}

QString CleanFolderResult(const QString& raw)
{
    QString folder = QDir::toNativeSeparators(raw);
    const QChar separator = QDir::separator();
    while (folder.size() > 1 && folder.endsWith(separator)) {
        // A drive root keeps its separator: "D:" alone would mean the
        // current folder of drive D.
        if (folder.size() == 3 && folder.at(1) == QLatin1Char(':'))
            break;
        folder.chop(1);
    }
    return folder;
}

} // namespace

QStringList QtNameFilters(const QString& filter)
{
    const QStringList pieces =
        (filter.isEmpty() ? AllFilesFilter() : filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < pieces.size(); i += 2) {
        QString description = pieces.at(i).trimmed();
        const QString pattern = pieces.at(i + 1).trimmed();
        if (pattern.isEmpty())
            continue;
        // "Alle Dateien (*.*)" already shows its pattern; Qt reads the
        // pattern from the last brackets, so they must not appear twice.
        const QString shown = QStringLiteral("(") + pattern + QStringLiteral(")");
        if (description.endsWith(shown))
            description = description.chopped(shown.size()).trimmed();
        entries.append(description + QStringLiteral(" (") + QtPattern(pattern) +
                       QStringLiteral(")"));
    }
    if (entries.isEmpty() && !filter.isEmpty())
        return QtNameFilters(QString());
    return entries;
}

QString BrowseForFolder(Presenter& presenter, QWidget* owner, const QString& title)
{
    const DialogRequest request{DialogKind::Folder, title, QString(), QString(), false};
    return CleanFolderResult(presenter.runDialog(owner, request));
}

QString ShowOpenDocumentDialog(Presenter& presenter, QWidget* owner, const QString& current,
                               const QString& filter, const QString& cdRootPath)
{
    DialogRequest request{DialogKind::OpenFile,
                          QStringLiteral("Bitte wählen Sie das zu öffnende Dokument ..."),
                          QtNameFilters(filter).join(QStringLiteral(";;")), cdRootPath, false};
    if (HoldsAbsolutePath(current)) {
        request.startPath = current;
        request.startIsFile = true;
    }
    return QDir::toNativeSeparators(presenter.runDialog(owner, request));
}

} // namespace velkaro
