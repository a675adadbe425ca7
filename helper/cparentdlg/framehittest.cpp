#include "cparentdlg/framehittest.h"

namespace {

constexpr int kBand = 5;

struct Bands {
    bool left, right, top, bottom;
};

bool InBand(int value, int bandStart) { return bandStart <= value && value < bandStart + kBand; }

// The band is the last pixels of the shadow; a window with less shadow uses its outer edge.
Bands BandsAt(const QRect& window, const QPoint& p, int shadow)
{
    const int lowInset = shadow >= kBand ? shadow - kBand : 0;
    const int highInset = shadow >= kBand ? shadow : kBand;
    const int right = window.left() + window.width(); // exclusive, like a native window rectangle
    const int bottom = window.top() + window.height();
    return {InBand(p.x(), window.left() + lowInset), InBand(p.x(), right - highInset),
            InBand(p.y(), window.top() + lowInset), InBand(p.y(), bottom - highInset)};
}

} // namespace

FrameZone HitTestFrame(const QRect& window, const QPoint& cursor, int shadow, bool resizableWidth, bool resizableHeight)
{
    const Bands b = BandsAt(window, cursor, shadow);
    if (resizableWidth && resizableHeight) {
        if (b.top && b.left)
            return FrameZone::TopLeft;
        if (b.top && b.right)
            return FrameZone::TopRight;
        if (b.bottom && b.left)
            return FrameZone::BottomLeft;
        if (b.bottom && b.right)
            return FrameZone::BottomRight;
    }
    if (resizableWidth) {
        if (b.left)
            return FrameZone::Left;
        if (b.right)
            return FrameZone::Right;
    }
    if (resizableHeight) {
        if (b.top)
            return FrameZone::Top;
        if (b.bottom)
            return FrameZone::Bottom;
    }
    return FrameZone::None;
}

Qt::Edges EdgesOf(FrameZone zone)
{
    switch (zone) {
    case FrameZone::Left:
        return Qt::LeftEdge;
    case FrameZone::Right:
        return Qt::RightEdge;
    case FrameZone::Top:
        return Qt::TopEdge;
    case FrameZone::Bottom:
        return Qt::BottomEdge;
    case FrameZone::TopLeft:
        return Qt::TopEdge | Qt::LeftEdge;
    case FrameZone::TopRight:
        return Qt::TopEdge | Qt::RightEdge;
    case FrameZone::BottomLeft:
        return Qt::BottomEdge | Qt::LeftEdge;
    case FrameZone::BottomRight:
        return Qt::BottomEdge | Qt::RightEdge;
    case FrameZone::None:
        break;
    }
    return {};
}

Qt::CursorShape CursorOf(FrameZone zone)
{
    switch (zone) {
    case FrameZone::Left:
    case FrameZone::Right:
        return Qt::SizeHorCursor;
    case FrameZone::Top:
    case FrameZone::Bottom:
        return Qt::SizeVerCursor;
    case FrameZone::TopLeft:
    case FrameZone::BottomRight:
        return Qt::SizeFDiagCursor;
    case FrameZone::TopRight:
    case FrameZone::BottomLeft:
        return Qt::SizeBDiagCursor;
    case FrameZone::None:
        break;
    }
    return Qt::ArrowCursor;
}
