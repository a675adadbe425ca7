#include "cglobaldata/screenarea.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

QRect& ScreenAreaSlot()
{
    static QRect area;
    return area;
}

} // namespace

QRect AvailableScreenArea()
{
    const QRect& area = ScreenAreaSlot();
    if (!area.isNull())
        return area;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void OverrideScreenArea(const QRect& area) { ScreenAreaSlot() = area; }

QSize MaxWndSize()
{
    static const QSize size = [] {
        const QRect area = AvailableScreenArea();
        return QSize(static_cast<int>(area.width() * 0.9), static_cast<int>(area.height() * 0.9));
    }();
    return size;
}

QSize MaxContentSize() { return MaxWndSize() - QSize(60, 132); }
