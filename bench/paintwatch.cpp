// paintwatch URI TITLE
// Plays the file manager: calls ShowFile(URI) on the session bus's previewer, then watches the
// screen for a mapped window whose name contains TITLE and grabs its picture every few
// milliseconds until it stops changing. Prints "mapped_ms painted_ms": from the call to the
// window being mapped, and to the last change of its picture (the settled, painted content).
// PAINTWATCH_IGNORE_RIGHT=PX and PAINTWATCH_IGNORE_BOTTOM=PX leave a strip at the window's
// right or bottom edge out of the picture (a scroll bar, a player's moving controls);
// PAINTWATCH_SETTLE_MS=MS asks for a longer quiet time, for content whose loading blocks the
// previewer's event loop (a frozen spinner looks settled).
// PAINTWATCH_COLOUR=RRGGBB:PIXELS makes "painted" the first picture with at least PIXELS
// pixels of that colour instead: a playing video never settles, so its sample carries a
// patch of a colour no previewer's own chrome uses.
// PAINTWATCH_FRAMES=DIR saves each new picture there as MS.png, to see what kept it changing.
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QImage>
#include <QThread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr qint64 kSettledMs = 400; // no change for this long: the content is painted
constexpr qint64 kGiveUpMs = 15000;

bool NameContains(Display* d, Window w, const char* title)
{
    char* name = nullptr;
    bool found = false;
    if (XFetchName(d, w, &name) && name) {
        found = std::strstr(name, title) != nullptr;
        XFree(name);
    }
    return found;
}

Window FindViewable(Display* d, Window w, const char* title, int depth = 0)
{
    XWindowAttributes attributes;
    if (XGetWindowAttributes(d, w, &attributes) && attributes.map_state == IsViewable && NameContains(d, w, title))
        return w;
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (depth < 3 && XQueryTree(d, w, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !found; ++i)
            found = FindViewable(d, children[i], title, depth + 1);
        if (children)
            XFree(children);
    }
    return found;
}

struct Margins {
    int right = 0;
    int bottom = 0;
};

// A text that is still being filled in moves its scroll bar, and a player its position,
// long after the content itself is painted: `ignore` leaves those strips out.
QByteArray PictureHash(Display* d, Window w, Margins ignore)
{
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a) || a.map_state != IsViewable)
        return {};
    const int width = qMax(1, a.width - ignore.right);
    const int height = qMax(1, a.height - ignore.bottom);
    XImage* image = XGetImage(d, w, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image)
        return {};
    const QByteArray hash = QCryptographicHash::hash(
        QByteArray::fromRawData(image->data, image->bytes_per_line * image->height), QCryptographicHash::Md5);
    XDestroyImage(image);
    return hash;
}

void SaveFrame(Display* d, Window w, const QString& path)
{
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a) || a.map_state != IsViewable)
        return;
    XImage* image = XGetImage(d, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
    if (!image)
        return;
    if (image->bits_per_pixel == 32)
        QImage(reinterpret_cast<const uchar*>(image->data), image->width, image->height, image->bytes_per_line,
               QImage::Format_RGB32)
            .save(path);
    XDestroyImage(image);
}

struct ColourTarget {
    quint32 rgb = 0;
    int pixels = 0; // 0: wait for the settled picture instead
};

ColourTarget ParseColourTarget(const QByteArray& value)
{
    ColourTarget target;
    const QList<QByteArray> parts = value.split(':');
    if (parts.size() == 2) {
        target.rgb = parts.at(0).toUInt(nullptr, 16);
        target.pixels = parts.at(1).toInt();
    }
    return target;
}

bool Near(quint32 a, quint32 b)
{
    constexpr int kTolerance = 80; // video colours pass through YUV and a scaler, and back
    for (int shift = 0; shift <= 16; shift += 8) {
        if (std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff)) > kTolerance)
            return false;
    }
    return true;
}

// Counts every 4th pixel of every 4th row, scaled back up.
bool ShowsColour(Display* d, Window w, const ColourTarget& target)
{
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a) || a.map_state != IsViewable)
        return false;
    XImage* image = XGetImage(d, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
    if (!image)
        return false;
    int count = 0;
    for (int y = 0; y < a.height; y += 4) {
        for (int x = 0; x < a.width; x += 4)
            count += Near(XGetPixel(image, x, y) & 0xffffff, target.rgb) ? 16 : 0;
    }
    XDestroyImage(image);
    return count >= target.pixels;
}

int IgnoreXErrors(Display*, XErrorEvent*) { return 0; } // a window may vanish between calls

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: paintwatch URI TITLE\n");
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return 2;
    XSetErrorHandler(IgnoreXErrors);
    const QByteArray title = args.at(1).toUtf8();
    const Margins ignore{qEnvironmentVariableIntValue("PAINTWATCH_IGNORE_RIGHT"),
                         qEnvironmentVariableIntValue("PAINTWATCH_IGNORE_BOTTOM")};
    const qint64 settle = qMax<qint64>(kSettledMs, qEnvironmentVariableIntValue("PAINTWATCH_SETTLE_MS"));
    const ColourTarget colour = ParseColourTarget(qgetenv("PAINTWATCH_COLOUR"));
    const QString frames = qEnvironmentVariable("PAINTWATCH_FRAMES");
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.gnome.NautilusPreviewer"), QStringLiteral("/org/gnome/NautilusPreviewer"),
        QStringLiteral("org.gnome.NautilusPreviewer2"), QStringLiteral("ShowFile"));
    call << args.at(0) << QString() << true; // as for Space

    QElapsedTimer clock;
    clock.start();
    QDBusConnection::sessionBus().call(call, QDBus::NoBlock);
    Window window = 0;
    qint64 mapped = -1, lastChange = -1;
    QByteArray last;
    while (clock.elapsed() < kGiveUpMs) {
        if (!window && (window = FindViewable(d, DefaultRootWindow(d), title.constData())))
            mapped = clock.elapsed();
        if (window && colour.pixels > 0) {
            if (ShowsColour(d, window, colour)) {
                std::printf("%lld %lld\n", static_cast<long long>(mapped), static_cast<long long>(clock.elapsed()));
                return 0;
            }
        } else if (window) {
            const QByteArray hash = PictureHash(d, window, ignore);
            if (hash != last) {
                last = hash;
                lastChange = clock.elapsed();
                if (!frames.isEmpty())
                    SaveFrame(d, window, QStringLiteral("%1/%2.png").arg(frames).arg(lastChange, 5, 10, QLatin1Char('0')));
            } else if (clock.elapsed() - lastChange > settle) {
                std::printf("%lld %lld\n", static_cast<long long>(mapped), static_cast<long long>(lastChange));
                return 0;
            }
        }
        QThread::msleep(window ? 3 : 1);
    }
    std::printf("%lld -1\n", static_cast<long long>(mapped));
    return 1;
}
