#include "platform/keyhook.h"

#include <QSocketNotifier>
#include <QTimer>

#include <bitset>
#include <optional>
#include <vector>

// Xlib last: its macros (None, KeyPress, Status...) clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/record.h>
#include <X11/keysym.h>

namespace {

struct RecordedKey {
    bool release;
    unsigned keycode;
    unsigned state;
    unsigned long time;
};

// X RECORD: the server copies every key event to our data connection; the focused program
// still gets it, as nothing is grabbed.
class X11KeyHook final : public KeyHook
{
public:
    X11KeyHook();
    ~X11KeyHook() override;
    bool Install(Callback onKey) override;

private:
    static void OnRecorded(XPointer self, XRecordInterceptData* data);
    bool EnableRecording();
    void ReadRecorded();
    void Handle(const RecordedKey& key);
    void FlushPendingRelease();
    void Report(const RecordedKey& key, bool autoRepeat);

    Callback m_onKey;
    Display* m_control = nullptr;
    Display* m_data = nullptr;
    XRecordContext m_context = 0;
    KeyCode m_space = 0;
    KeyCode m_escape = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::vector<RecordedKey> m_received;
    std::bitset<256> m_held;
    // Autorepeat arrives as a release and a press at the same server time: a release is only
    // reported once the next event (or a short wait) shows it was not the first half of one.
    std::optional<RecordedKey> m_pendingRelease;
    QTimer m_releaseTimer;
};

X11KeyHook::X11KeyHook()
{
    m_releaseTimer.setSingleShot(true);
    m_releaseTimer.setInterval(30);
    QObject::connect(&m_releaseTimer, &QTimer::timeout, [this] { FlushPendingRelease(); });
}

X11KeyHook::~X11KeyHook()
{
    m_notifier.reset();
    if (m_context) {
        XRecordDisableContext(m_control, m_context);
        XRecordFreeContext(m_control, m_context);
        XSync(m_control, False);
    }
    if (m_data)
        XCloseDisplay(m_data);
    if (m_control)
        XCloseDisplay(m_control);
}

bool X11KeyHook::Install(Callback onKey)
{
    if (m_context)
        return false;
    m_onKey = std::move(onKey);
    m_control = XOpenDisplay(nullptr);
    m_data = XOpenDisplay(nullptr);
    if (!m_control || !m_data)
        return false;
    int major = 0;
    int minor = 0;
    if (!XRecordQueryVersion(m_control, &major, &minor))
        return false;
    m_space = XKeysymToKeycode(m_control, XK_space);
    m_escape = XKeysymToKeycode(m_control, XK_Escape);
    return EnableRecording();
}

bool X11KeyHook::EnableRecording()
{
    XRecordRange* range = XRecordAllocRange();
    if (!range)
        return false;
    range->device_events.first = KeyPress;
    range->device_events.last = KeyRelease;
    XID clients = XRecordAllClients;
    m_context = XRecordCreateContext(m_control, 0, &clients, 1, &range, 1);
    XFree(range);
    XSync(m_control, False);
    if (!m_context ||
        !XRecordEnableContextAsync(m_data, m_context, &X11KeyHook::OnRecorded, reinterpret_cast<XPointer>(this)))
        return false;
    m_notifier = std::make_unique<QSocketNotifier>(ConnectionNumber(m_data), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { ReadRecorded(); });
    return true;
}

// Runs inside Xlib with the data connection locked: only collect here.
void X11KeyHook::OnRecorded(XPointer self, XRecordInterceptData* data)
{
    if (data->category == XRecordFromServer && data->data) {
        const auto* event = reinterpret_cast<const xEvent*>(data->data);
        const int type = event->u.u.type & 0x7f;
        if (type == KeyPress || type == KeyRelease)
            reinterpret_cast<X11KeyHook*>(self)->m_received.push_back({type == KeyRelease, event->u.u.detail,
                                                                       event->u.keyButtonPointer.state,
                                                                       event->u.keyButtonPointer.time});
    }
    XRecordFreeData(data);
}

void X11KeyHook::ReadRecorded()
{
    XRecordProcessReplies(m_data);
    std::vector<RecordedKey> keys;
    keys.swap(m_received);
    for (const RecordedKey& key : keys)
        Handle(key);
}

void X11KeyHook::Handle(const RecordedKey& key)
{
    if (m_pendingRelease) {
        const bool repeats =
            !key.release && key.keycode == m_pendingRelease->keycode && key.time == m_pendingRelease->time;
        if (repeats) {
            m_pendingRelease.reset();
            m_releaseTimer.stop();
            Report(key, true);
            return;
        }
        FlushPendingRelease();
    }
    if (key.release) {
        m_pendingRelease = key;
        m_releaseTimer.start();
        return;
    }
    Report(key, m_held.test(key.keycode & 0xff));
}

void X11KeyHook::FlushPendingRelease()
{
    m_releaseTimer.stop();
    if (!m_pendingRelease)
        return;
    const RecordedKey release = *m_pendingRelease;
    m_pendingRelease.reset();
    Report(release, false);
}

void X11KeyHook::Report(const RecordedKey& key, bool autoRepeat)
{
    m_held.set(key.keycode & 0xff, !key.release);
    KeyEventInfo info;
    info.release = key.release;
    info.isSpace = key.keycode == m_space;
    info.isEscape = key.keycode == m_escape;
    info.autoRepeat = autoRepeat;
    info.super = key.state & Mod4Mask;
    info.alt = key.state & Mod1Mask;
    info.ctrl = key.state & ControlMask;
    info.shift = key.state & ShiftMask;
    m_onKey(info);
}

} // namespace

std::unique_ptr<KeyHook> KeyHook::Create() { return std::make_unique<X11KeyHook>(); }
