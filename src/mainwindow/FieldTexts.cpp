#include "FieldTexts.h"

#include "Project.h"

namespace velkaro {

namespace {

QString PleaseChooseText()
{
    return QStringLiteral("(Bitte wählen ...)");
}

QString NoMenuText()
{
    return QStringLiteral("(kein)");
}

} // namespace

QString PathFieldText(const Project& project, int n)
{
    if (n == Project::IconSlot) {
        switch (project.iconSource()) {
        case IconSource::None:
            break;
        case IconSource::Launcher:
            return QStringLiteral("(Standardeinstellung)");
        case IconSource::Library:
            return QStringLiteral("(Bibliothek)");
        case IconSource::OwnFile:
            return project.slot(n);
        }
        return PleaseChooseText();
    }
    const QString path = project.slot(n);
    return path.isEmpty() ? PleaseChooseText() : path;
}

QString MenuFieldText(const std::optional<QString>& menuText)
{
    return menuText.value_or(NoMenuText());
}

std::optional<QString> MenuTextOfField(const QString& typed)
{
    // Judged as the file would carry it, as every menu text is.
    if (MenuTextForFile(typed) == NoMenuText())
        return std::nullopt;
    return typed;
}

} // namespace velkaro
