#include "Accessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace velkaro {

namespace {

const char* const ReportedAsWindow = "velkaroReportedAsWindow";

QAccessibleInterface* WindowFactory(const QString&, QObject* object)
{
    if (!object || !object->isWidgetType() || !object->property(ReportedAsWindow).toBool())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

} // namespace

void ReportAsWindow(QWidget* window)
{
    static const bool installed = (QAccessible::installFactory(WindowFactory), true);
    Q_UNUSED(installed);
    window->setProperty(ReportedAsWindow, true);
}

} // namespace velkaro
