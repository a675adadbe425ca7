#include "platform/accessiblelookup.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QHash>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>
#include <QXmlStreamReader>

#include <algorithm>
#include <initializer_list>
#include <memory>

#include <atspi/atspi.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "platform/x11display_linux.h" // after Qt: Xlib's macros clash with Qt's names

namespace {

// The lookup runs on the GUI thread, on every trigger and every tracking tick. Each application
// gets a budget of its own that follows how fast it answered last (twice that, within the bounds):
// a busy machine slows every file manager down, and one that stopped answering soon costs only
// the least. One call waits at most half the budget (libatspi may wait up to twice its timeout).
// The first lookups in an application are the slowest (it builds its accessible objects, libatspi
// fetches its cache: measured 60 to 210 ms), so it starts at the most.
constexpr qint64 LeastBudgetMs = 50;
constexpr qint64 MostBudgetMs = 250;
constexpr int ShortestCallMs = 2;
constexpr int LongestCallMs = 100;
constexpr int NodeLimit = 300;
constexpr int ChildLimit = 64;
constexpr int SelectedLimit = 16;
constexpr int StatedItemLimit = 1000;
constexpr int CandidateLimit = 32;

struct Unref {
    void operator()(void* object) const { g_object_unref(object); }
};
using Ref = std::unique_ptr<AtspiAccessible, Unref>;

QString Take(gchar* text)
{
    const QString result = QString::fromUtf8(text ? text : "");
    g_free(text);
    return result;
}

QByteArray WindowProperty(Display* display, unsigned long window, const char* name)
{
    const Atom atom = XInternAtom(display, name, True);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    QByteArray result;
    if (atom != None &&
        XGetWindowProperty(display, window, atom, 0, 4096, False, AnyPropertyType, &type, &format, &count, &after,
                           &data) == Success &&
        data)
        result = QByteArray(reinterpret_cast<char*>(data), int(format == 32 ? count * sizeof(long) : count));
    if (data)
        XFree(data);
    return result;
}

// The window's properties; a window that is gone yields none rather than Xlib's fatal default
// error handler.
QList<QByteArray> WindowProperties(unsigned long window, std::initializer_list<const char*> names)
{
    QList<QByteArray> values;
    Display* display = OwnDisplay();
    if (!display || !window)
        return values;
    XSync(display, False);
    const auto previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    for (const char* name : names)
        values << WindowProperty(display, window, name);
    XSync(display, False);
    XSetErrorHandler(previous);
    return values;
}

bool DescribeWindow(unsigned long window, uint* pid, QString* title)
{
    const QList<QByteArray> values = WindowProperties(window, {"_NET_WM_PID", "_NET_WM_NAME"});
    if (values.size() < 2 || values[0].size() < int(sizeof(long)))
        return false;
    *pid = uint(*reinterpret_cast<const long*>(values[0].constData()));
    *title = QString::fromUtf8(values[1]);
    return true;
}

bool Connected()
{
    static int state = -1;
    // Only once some application has started the accessibility bus: asking for it would start it,
    // slowly. Only once, too: after a failed atspi_init() any other call of libatspi aborts.
    if (state < 0 && QDBusConnection::sessionBus().interface() &&
        QDBusConnection::sessionBus().interface()->isServiceRegistered("org.a11y.Bus").value())
        state = atspi_init() <= 1; // 1: already initialised
    return state == 1;
}

// The local folder of a KDE place (Dolphin's "Home"), by its title in the user's places.
QString PlaceFolder(const QString& title)
{
    QFile file(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/user-places.xbel");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    QString href;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("bookmark"))
            href = xml.attributes().value("href").toString();
        else if (xml.name() == QLatin1String("title") && xml.readElementText() == title && href.startsWith("file:///"))
            return QUrl(href).toLocalFile();
    }
    return {};
}

// A bread-crumb bar (Dolphin's): buttons from "/" or a place down to the current folder.
QString BreadCrumbFolder(const QStringList& buttons)
{
    const QString root = buttons[0] == "/" ? QString("/") : PlaceFolder(buttons[0]);
    return root.isEmpty() ? QString() : QDir::cleanPath(root + '/' + buttons.mid(1).join('/'));
}

// Each name in each folder, in that order. Names only: the file system is not asked.
QStringList Candidates(const QStringList& names, const QStringList& folders)
{
    QStringList paths;
    for (const QString& name : names) {
        if (name.isEmpty() || name == "." || name == ".." || name.contains('/'))
            continue;
        // A relative folder would be read from ours.
        for (const QString& folder : folders)
            if (QDir::isAbsolutePath(folder))
                paths << QDir::cleanPath(folder + '/' + name);
    }
    paths.removeDuplicates();
    // Each is asked on a thread of its own: a big selection in many folders must not start hundreds.
    return paths.mid(0, CandidateLimit);
}

class Lookup
{
public:
    QStringList folders;
    QStringList items[3]; // the names of the focused items, the selected ones, the one in the status bar

    bool typing = false; // the focus is in an editable text: a Space there is typed, not a trigger

    explicit Lookup(qint64 budget) : budget(budget) { clock.start(); }
    bool Live() const { return !failed && !typing && clock.elapsed() < budget; }
    bool Failed() const { return failed || clock.elapsed() >= budget; }
    qint64 Elapsed() const { return clock.elapsed(); }

    // What ends the lookup: a call's error (a timeout, mostly), or for the calls that report no
    // error, an answer as slow as a timeout.
    enum class Ends { OnError, OnSlowAnswer, Never };

    // After a call that ended the lookup nothing more is asked, and each call may wait only for
    // what is left of the budget: an application that does not answer costs one timeout, and the
    // whole lookup about the budget.
    template <typename T, typename Call>
    T Ask(T fallback, Call call, Ends ends = Ends::OnError)
    {
        if (failed)
            return fallback;
        const qint64 start = clock.elapsed();
        const int wait = int(std::clamp<qint64>((budget - start) / 2, ShortestCallMs, LongestCallMs));
        atspi_set_timeout(wait, -1);
        GError* error = nullptr;
        T result = call(&error);
        failed = (ends == Ends::OnError && error) || (ends == Ends::OnSlowAnswer && clock.elapsed() - start >= wait);
        if (!error)
            return result;
        g_error_free(error);
        return fallback;
    }
    AtspiRole Role(AtspiAccessible* a)
    {
        return Ask(ATSPI_ROLE_INVALID, [&](GError** e) { return atspi_accessible_get_role(a, e); });
    }
    int Count(AtspiAccessible* a)
    {
        return Ask(0, [&](GError** e) { return atspi_accessible_get_child_count(a, e); });
    }
    Ref Child(AtspiAccessible* a, int i)
    {
        return Ask(Ref(), [&](GError** e) { return Ref(atspi_accessible_get_child_at_index(a, i, e)); });
    }
    QString Name(AtspiAccessible* a)
    {
        return Ask(QString(), [&](GError** e) { return Take(atspi_accessible_get_name(a, e)); });
    }
    // Asking for an interface may ask the application which interfaces the object has.
    template <typename Iface, typename Get>
    std::unique_ptr<Iface, Unref> Interface(Get get)
    {
        using Held = std::unique_ptr<Iface, Unref>;
        return Ask(
            Held(), [&](GError**) { return Held(get()); }, Ends::OnSlowAnswer);
    }
    QString Text(AtspiAccessible* a)
    {
        const auto text = Interface<AtspiText>([&] { return atspi_accessible_get_text_iface(a); });
        return text ? Ask(QString(), [&](GError** e) { return Take(atspi_text_get_text(text.get(), 0, 4096, e)); })
                    : QString();
    }
    bool Has(AtspiAccessible* a, AtspiStateType state)
    {
        const auto states = Interface<AtspiStateSet>([&] { return atspi_accessible_get_state_set(a); });
        return states && atspi_state_set_contains(states.get(), state);
    }

    // An item is named by its name, its text (PCManFM's icons) or a child cell (a list row).
    QString ItemName(AtspiAccessible* a, bool cells = true)
    {
        QString name = Name(a);
        if (name.isEmpty())
            name = Text(a);
        for (int i = 0, n = cells ? std::min(Count(a), 3) : 0; name.isEmpty() && i < n && Live(); ++i)
            if (Ref cell = Child(a, i))
                name = ItemName(cell.get(), false);
        return name;
    }

    // Reads the file views and finds the folder and the status bar, never inside a view, a menu or a hidden part.
    void Walk(AtspiAccessible* a, AtspiRole role, int* nodes)
    {
        if (!Live() || ++*nodes > NodeLimit)
            return;
        switch (role) {
        case ATSPI_ROLE_LAYERED_PANE:
        case ATSPI_ROLE_TABLE:
        case ATSPI_ROLE_TREE_TABLE:
        case ATSPI_ROLE_TREE:
        case ATSPI_ROLE_LIST: {
            const auto selection = Interface<AtspiSelection>([&] { return atspi_accessible_get_selection_iface(a); });
            // A Qt window lays its widgets out in a layered pane, which holds no files.
            if (role == ATSPI_ROLE_LAYERED_PANE && !selection)
                break;
            // Without a selection interface (Qt's views) a table's or a tree's items are asked one by
            // one; Qt's lists without one are combo boxes' and side panels'.
            if (selection && Has(a, ATSPI_STATE_SHOWING))
                ViewItems(selection.get());
            else if (role != ATSPI_ROLE_LIST && Has(a, ATSPI_STATE_SHOWING))
                StatedItems(a);
            return;
        }
        // A location bar (PCManFM, Thunar), or the text field the user is typing into.
        case ATSPI_ROLE_TEXT:
        case ATSPI_ROLE_ENTRY:
        case ATSPI_ROLE_PASSWORD_TEXT: {
            const auto states = Interface<AtspiStateSet>([&] { return atspi_accessible_get_state_set(a); });
            if (states && atspi_state_set_contains(states.get(), ATSPI_STATE_FOCUSED) &&
                atspi_state_set_contains(states.get(), ATSPI_STATE_EDITABLE)) {
                typing = true;
                return;
            }
            // A location field put away (Dolphin's, behind its bread-crumb bar) may name a folder left since.
            if (!states || !atspi_state_set_contains(states.get(), ATSPI_STATE_SHOWING))
                return;
            const QString text = Text(a);
            if (text.startsWith('/') || text.startsWith("file:///"))
                folders << (text.startsWith('/') ? text : QUrl(text).toLocalFile());
            return;
        }
        case ATSPI_ROLE_STATUS_BAR: {
            const QString status = Name(a);
            // "name" (2 bytes) …: every closing quote may end the name, which may hold quotes.
            if (status.startsWith('"') || status.startsWith(QChar(0x201c)))
                for (int end = 1; end < status.size(); ++end)
                    if (status[end] == '"' || status[end] == QChar(0x201d))
                        items[2] << status.mid(1, end - 1);
            return;
        }
        case ATSPI_ROLE_MENU_BAR:
        case ATSPI_ROLE_MENU:
        case ATSPI_ROLE_POPUP_MENU:
        case ATSPI_ROLE_TOOL_TIP:
        case ATSPI_ROLE_PUSH_BUTTON:
        case ATSPI_ROLE_LABEL:
        case ATSPI_ROLE_ICON:
        case ATSPI_ROLE_IMAGE:
        case ATSPI_ROLE_SEPARATOR:
        case ATSPI_ROLE_SCROLL_BAR:
        case ATSPI_ROLE_CHECK_BOX:
        case ATSPI_ROLE_ANIMATION:
        case ATSPI_ROLE_RADIO_BUTTON:
        case ATSPI_ROLE_SLIDER:
        case ATSPI_ROLE_SPIN_BUTTON:
        case ATSPI_ROLE_MENU_ITEM:
            return;
        default:
            break;
        }
        // Of the containers only a tab is asked whether it shows (a view asks for itself): asking
        // every one would cost a call each.
        const int n = Count(a);
        if (n <= 0 || n > ChildLimit || (role == ATSPI_ROLE_PAGE_TAB && !Has(a, ATSPI_STATE_SHOWING)))
            return;
        // A path bar (Caja, Nemo): toggle buttons from the current folder's to the root's ("/" or
        // unnamed); the ones scrolled out of sight are there too. A bread-crumb bar (Dolphin): the
        // named buttons that end the container, after its edit-mode check box.
        QStringList bar, crumbs;
        int current = -1;
        bool afterCheckBox = false;
        for (int i = 0; i < n && Live(); ++i) {
            Ref child = Child(a, i);
            const AtspiRole childRole = child ? Role(child.get()) : ATSPI_ROLE_INVALID;
            afterCheckBox = afterCheckBox || childRole == ATSPI_ROLE_CHECK_BOX;
            const QString crumb = afterCheckBox && childRole == ATSPI_ROLE_PUSH_BUTTON ? Name(child.get()) : QString();
            crumbs = crumb.isEmpty() ? QStringList() : crumbs << crumb;
            if (childRole == ATSPI_ROLE_TOGGLE_BUTTON) {
                if (current < 0 && Has(child.get(), ATSPI_STATE_CHECKED))
                    current = bar.size();
                bar << Name(child.get());
            } else if (child) {
                Walk(child.get(), childRole, nodes);
            }
        }
        if (!crumbs.isEmpty())
            folders << BreadCrumbFolder(crumbs);
        if (current >= 0 && bar.size() >= 2 && (bar.last().isEmpty() || bar.last() == "/")) {
            QStringList names = bar.mid(current, bar.size() - current - 1);
            std::reverse(names.begin(), names.end());
            if (!names.contains(""))
                folders << '/' + names.join('/');
        }
    }

    // The selected items, the focused ones apart. The focused item is not looked for among all
    // the items: the application would build an object for every file of a large folder.
    void ViewItems(AtspiSelection* selection)
    {
        const int selected = Ask(0, [&](GError** e) { return atspi_selection_get_n_selected_children(selection, e); });
        for (int i = 0; i < std::min(selected, SelectedLimit) && Live(); ++i) {
            const Ref child =
                Ask(Ref(), [&](GError** e) { return Ref(atspi_selection_get_selected_child(selection, i, e)); });
            if (child)
                items[Has(child.get(), ATSPI_STATE_FOCUSED) ? 0 : 1] << ItemName(child.get());
        }
    }

    // A Qt view (Dolphin's) has no selection interface: its items tell their own states, the
    // first ones in the lookup's time; a large folder's later items go unread.
    void StatedItems(AtspiAccessible* view)
    {
        for (int i = 0, n = std::min(Count(view), StatedItemLimit); i < n && Live() && items[0].isEmpty(); ++i) {
            const Ref child = Child(view, i);
            const auto states =
                child ? Interface<AtspiStateSet>([&] { return atspi_accessible_get_state_set(child.get()); }) : nullptr;
            if (states && atspi_state_set_contains(states.get(), ATSPI_STATE_FOCUSED))
                items[0] << ItemName(child.get());
            else if (states && atspi_state_set_contains(states.get(), ATSPI_STATE_SELECTED) &&
                     items[1].size() < SelectedLimit)
                items[1] << ItemName(child.get());
        }
    }

    // The application's frame that shows this title and is active, else one that shows the
    // title, else its active one.
    Ref Frame(uint pid, const QString& title)
    {
        Ref desktop(atspi_get_desktop(0));
        Ref titled, active;
        for (int i = 0, apps = Count(desktop.get()); i < apps && Live(); ++i) {
            Ref app = Child(desktop.get(), i);
            // The bus answers this one; an application that has just gone is no failure.
            const auto appPid = [&](GError** e) { return atspi_accessible_get_process_id(app.get(), e); };
            if (!app || Ask(0u, appPid, Ends::Never) != pid)
                continue;
            for (int j = 0, n = std::min(Count(app.get()), ChildLimit); j < n && Live(); ++j) {
                Ref frame = Child(app.get(), j);
                // A dialog too: a rename box is one (PCManFM, Thunar).
                const AtspiRole role = frame ? Role(frame.get()) : ATSPI_ROLE_INVALID;
                if (role != ATSPI_ROLE_FRAME && role != ATSPI_ROLE_DIALOG)
                    continue;
                const bool named = Name(frame.get()) == title;
                if ((named || !active) && Has(frame.get(), ATSPI_STATE_ACTIVE)) {
                    if (named)
                        return frame;
                    active = std::move(frame);
                } else if (named && !titled) {
                    titled = std::move(frame);
                }
            }
        }
        return titled ? std::move(titled) : std::move(active);
    }

private:
    const qint64 budget;
    QElapsedTimer clock;
    bool failed = false;
};

} // namespace

QString WindowClass(unsigned long x11Window)
{
    // WM_CLASS holds the instance name and then the class name, each ended by a zero byte.
    const QList<QByteArray> values = WindowProperties(x11Window, {"WM_CLASS"});
    const QList<QByteArray> names = values.value(0).split('\0');
    return names.size() >= 2 ? QString::fromLocal8Bit(names[1]) : QString();
}

FocusedItem FocusedItemPath(unsigned long x11Window, Patience patience)
{
    uint pid = 0;
    QString title;
    if (!DescribeWindow(x11Window, &pid, &title) || !Connected())
        return {};
    // Keyed by process id: a reused one costs no more than one slow lookup.
    static QHash<uint, qint64> budgets;
    qint64& budget = budgets.insert(pid, budgets.value(pid, MostBudgetMs)).value();
    Lookup lookup(patience == Patience::Most ? MostBudgetMs : budget);
    Ref frame = lookup.Frame(pid, title);
    int nodes = 0;
    if (frame)
        lookup.Walk(frame.get(), ATSPI_ROLE_FRAME, &nodes);
    budget = lookup.Failed() ? std::max(LeastBudgetMs, budget / 2)
                             : std::clamp(2 * lookup.Elapsed(), LeastBudgetMs, MostBudgetMs);
    if (lookup.typing) {
        qDebug() << "lookup: the focus is in a text field";
        return {};
    }
    // Titles that show the full path: "/a/b - Thunar", "~/b".
    const QString titlePath = title.startsWith("~/") ? QDir::homePath() + title.mid(1) : title;
    if (titlePath.startsWith('/'))
        lookup.folders << titlePath << titlePath.left(titlePath.lastIndexOf(" - "))
                       << titlePath.left(titlePath.lastIndexOf(QString::fromUtf8(" \u2014 ")));
    const QStringList paths = Candidates(lookup.items[0] + lookup.items[1] + lookup.items[2], lookup.folders);
    return {paths, paths.isEmpty() && lookup.Failed()};
}
