#include "Explorer/explorer.h"

#include "platform/accessiblelookup.h"
#include "platform/foregroundwindow.h"
#include "platform/previewerservice.h"

#include <QApplication>
#include <QStringList>
#include <QWidget>

namespace {

bool IsOwnWindow(quint64 window)
{
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (static_cast<quint64>(w->internalWinId()) == window)
            return true;
    return false;
}

// File managers whose windows are read over the accessibility bus. Any other window is not
// asked: a walk through a browser or an editor on every Space typed would cost it and us.
bool IsFileManager(quint64 window)
{
    static const QStringList classes = {QStringLiteral("Pcmanfm"),
                                        QStringLiteral("Thunar"),
                                        QStringLiteral("Caja"),
                                        QStringLiteral("Nemo"),
                                        QStringLiteral("org.gnome.Nautilus"),
                                        QStringLiteral("dolphin")};
    return classes.contains(WindowClass(window), Qt::CaseInsensitive);
}

} // namespace

FocusedItem GetThePath(const PreviewerService* service, Patience patience)
{
    const quint64 window = ForegroundWindow();
    if (!window || IsOwnWindow(window))
        return {};
    const QString reported = service ? service->ReportedItem(window) : QString();
    if (!reported.isEmpty())
        return {{reported}, false};
    return IsFileManager(window) ? FocusedItemPath(window, patience) : FocusedItem();
}
