// paintwatch URI TITLE
// Plays the file manager: calls ShowFile(URI) on the session bus's previewer, then watches the
// screen for a mapped window whose name contains TITLE and grabs its picture every few
// milliseconds until it stops changing. Prints "mapped_ms painted_ms": from the call to the
// window being mapped, and to the last change of its picture (the settled, painted content).
// PAINTWATCH_IGNORE_RIGHT=PX leaves a strip at the window's right edge out of the picture;
// PAINTWATCH_SETTLE_MS=MS asks for a longer quiet time, for content whose loading blocks the
// previewer's event loop (a frozen spinner looks settled).
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QThread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
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

// `ignoreRight` pixels at the right edge are left out: a text that is still being filled in
// moves its scroll bar long after the page itself is painted.
QByteArray PictureHash(Display* d, Window w, int ignoreRight)
{
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a) || a.map_state != IsViewable)
        return {};
    const int width = qMax(1, a.width - ignoreRight);
    XImage* image = XGetImage(d, w, 0, 0, width, a.height, AllPlanes, ZPixmap);
    if (!image)
        return {};
    const QByteArray hash = QCryptographicHash::hash(
        QByteArray::fromRawData(image->data, image->bytes_per_line * image->height), QCryptographicHash::Md5);
    XDestroyImage(image);
    return hash;
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
    const int ignoreRight = qEnvironmentVariableIntValue("PAINTWATCH_IGNORE_RIGHT");
    const qint64 settle = qMax<qint64>(kSettledMs, qEnvironmentVariableIntValue("PAINTWATCH_SETTLE_MS"));
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
        if (window) {
            const QByteArray hash = PictureHash(d, window, ignoreRight);
            if (hash != last) {
                last = hash;
                lastChange = clock.elapsed();
            } else if (clock.elapsed() - lastChange > settle) {
                std::printf("%lld %lld\n", static_cast<long long>(mapped), static_cast<long long>(lastChange));
                return 0;
            }
        }
        QThread::msleep(window ? 3 : 1);
    }
    std::printf("-1 -1\n");
    return 1;
}
