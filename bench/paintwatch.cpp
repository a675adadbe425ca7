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
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QImage>
#include <QThread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/shm.h>

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

// Grabs through shared memory: a picture of a big window sent over the socket every few
// milliseconds keeps the X server busy enough to slow the very previewer being timed.
class Grabber
{
public:
    explicit Grabber(Display* d) : m_display(d) {}
    ~Grabber() { Release(); }

    // The window's picture, or a null image while it is not viewable. Valid until the next call.
    QImage Grab(Window w, Margins ignore = {})
    {
        XWindowAttributes a;
        if (!XGetWindowAttributes(m_display, w, &a) || a.map_state != IsViewable)
            return {};
        const QSize size(qMax(1, a.width - ignore.right), qMax(1, a.height - ignore.bottom));
        if (!m_image || size != QSize(m_image->width, m_image->height))
            Allocate(a.visual, a.depth, size);
        if (!m_image || !XShmGetImage(m_display, w, m_image, 0, 0, AllPlanes) || m_image->bits_per_pixel != 32)
            return {};
        return QImage(reinterpret_cast<const uchar*>(m_image->data), m_image->width, m_image->height,
                      m_image->bytes_per_line, QImage::Format_RGB32);
    }

private:
    void Allocate(Visual* visual, int depth, QSize size)
    {
        Release();
        m_image = XShmCreateImage(m_display, visual, unsigned(depth), ZPixmap, nullptr, &m_shm, unsigned(size.width()),
                                  unsigned(size.height()));
        if (!m_image)
            return;
        m_shm.shmid = shmget(IPC_PRIVATE, size_t(m_image->bytes_per_line) * size_t(m_image->height), IPC_CREAT | 0600);
        m_shm.shmaddr = m_image->data = static_cast<char*>(shmat(m_shm.shmid, nullptr, 0));
        m_shm.readOnly = False;
        XShmAttach(m_display, &m_shm);
        XSync(m_display, False);
        shmctl(m_shm.shmid, IPC_RMID, nullptr); // gone once both sides detach
    }

    void Release()
    {
        if (!m_image)
            return;
        XShmDetach(m_display, &m_shm);
        XDestroyImage(m_image);
        shmdt(m_shm.shmaddr);
        m_image = nullptr;
    }

    Display* m_display;
    XShmSegmentInfo m_shm{};
    XImage* m_image = nullptr;
};

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
bool ShowsColour(const QImage& picture, const ColourTarget& target)
{
    int count = 0;
    for (int y = 0; y < picture.height(); y += 4) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); x += 4)
            count += Near(line[x] & 0xffffff, target.rgb) ? 16 : 0;
    }
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
    Grabber grabber(d);
    QImage last;
    while (clock.elapsed() < kGiveUpMs) {
        if (!window && (window = FindViewable(d, DefaultRootWindow(d), title.constData())))
            mapped = clock.elapsed();
        if (window && colour.pixels > 0) {
            if (ShowsColour(grabber.Grab(window), colour)) {
                std::printf("%lld %lld\n", static_cast<long long>(mapped), static_cast<long long>(clock.elapsed()));
                return 0;
            }
        } else if (window) {
            const QImage picture = grabber.Grab(window, ignore);
            if (picture != last) {
                last = picture.copy();
                lastChange = clock.elapsed();
                if (!frames.isEmpty())
                    picture.save(QStringLiteral("%1/%2.png").arg(frames).arg(lastChange, 5, 10, QLatin1Char('0')));
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
