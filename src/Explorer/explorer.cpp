#include "Explorer/explorer.h"

#include "platform/foregroundwindow.h"
#include "platform/previewerservice.h"

#include <QApplication>
#include <QWidget>

namespace {

bool IsOwnWindow(quint64 window)
{
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (static_cast<quint64>(w->internalWinId()) == window)
            return true;
    return false;
}

} // namespace

QString GetThePath(const PreviewerService* service)
{
    const quint64 window = ForegroundWindow();
    if (!window || IsOwnWindow(window))
        return QString();
    return service ? service->ReportedItem(window) : QString();
}
