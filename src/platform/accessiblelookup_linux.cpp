#include "platform/accessiblelookup.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>

#include <cstdio>
#include <memory>
#include <vector>

#include <atspi/atspi.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

constexpr int CallTimeoutMs = 25;
constexpr qint64 BudgetMs = 45;
constexpr int NodeLimit = 300;
constexpr int ChildLimit = 64;
constexpr int SelectedLimit = 16;

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
    if (atom == None)
        return {};
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    QByteArray result;
    if (XGetWindowProperty(display, window, atom, 0, 4096, False, AnyPropertyType, &type, &format, &count, &after,
                           &data) == Success && data)
        result = QByteArray(reinterpret_cast<char*>(data), int(format == 32 ? count * sizeof(long) : count));
    if (data)
        XFree(data);
    return result;
}

// The window's process and title; a window that is gone yields nothing rather than Xlib's fatal default.
bool DescribeWindow(unsigned long window, uint* pid, QString* title)
{
    static Display* display = XOpenDisplay(nullptr);
    if (!display || !window)
        return false;
    XSync(display, False);
    const auto previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    const QByteArray pidData = WindowProperty(display, window, "_NET_WM_PID");
    QByteArray name = WindowProperty(display, window, "_NET_WM_NAME");
    if (name.isEmpty())
        name = WindowProperty(display, window, "WM_NAME");
    XSync(display, False);
    XSetErrorHandler(previous);
    if (pidData.size() < int(sizeof(long)))
        return false;
    *pid = uint(*reinterpret_cast<const long*>(pidData.constData()));
    *title = QString::fromUtf8(name);
    return true;
}

bool Connected()
{
    static bool connected = false;
    // Only when some application has started the accessibility bus: asking for it would start it, slowly.
    if (!connected && QDBusConnection::sessionBus().interface() &&
        QDBusConnection::sessionBus().interface()->isServiceRegistered("org.a11y.Bus").value()) {
        connected = atspi_init() <= 1;
        atspi_set_timeout(CallTimeoutMs, -1);
    }
    return connected;
}

struct Item {
    QString name;
    int rank; // 0 focused, 1 selected, 2 named by the status bar
};

class Lookup {
public:
    std::vector<Ref> views;
    QStringList folders;
    std::vector<Item> items;

    Lookup() { clock.start(); }
    bool Live() const { return !failed && clock.elapsed() < BudgetMs; }

    // After an error, most likely a timeout, nothing more is asked of the application.
    bool Ok(GError* error)
    {
        if (error) {
            fprintf(stderr, "DBG error at %lld: %s\n", (long long)clock.elapsed(), error->message);
            failed = true;
            g_error_free(error);
        }
        return !failed;
    }
    AtspiRole Role(AtspiAccessible* a)
    {
        GError* e = nullptr;
        const AtspiRole role = atspi_accessible_get_role(a, &e);
        return Ok(e) ? role : ATSPI_ROLE_INVALID;
    }
    int Count(AtspiAccessible* a)
    {
        GError* e = nullptr;
        const int count = atspi_accessible_get_child_count(a, &e);
        return Ok(e) ? count : 0;
    }
    Ref Child(AtspiAccessible* a, int i)
    {
        GError* e = nullptr;
        Ref child(atspi_accessible_get_child_at_index(a, i, &e));
        return Ok(e) ? std::move(child) : nullptr;
    }
    QString Name(AtspiAccessible* a)
    {
        GError* e = nullptr;
        const QString name = Take(atspi_accessible_get_name(a, &e));
        return Ok(e) ? name : QString();
    }
    QString Text(AtspiAccessible* a)
    {
        AtspiText* text = atspi_accessible_get_text_iface(a);
        if (!text)
            return {};
        GError* e = nullptr;
        const QString result = Take(atspi_text_get_text(text, 0, 4096, &e));
        g_object_unref(text);
        return Ok(e) ? result : QString();
    }
    bool Has(AtspiAccessible* a, AtspiStateType state)
    {
        const qint64 start = clock.elapsed();
        AtspiStateSet* states = atspi_accessible_get_state_set(a);
        failed = failed || clock.elapsed() - start >= CallTimeoutMs; // this call reports no timeout
        if (clock.elapsed() - start >= CallTimeoutMs) fprintf(stderr, "DBG states timeout\n");
        const bool has = states && atspi_state_set_contains(states, state);
        if (states)
            g_object_unref(states);
        return has;
    }

    // A file view names its items by the name, by the text, or (a list row) by a child cell.
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

    // Looks for the file views, the folder and the status bar, never inside a view, a menu or a hidden part.
    void Walk(AtspiAccessible* a, AtspiRole role, int* nodes)
    {
        if (!Live() || ++*nodes > NodeLimit)
            return;
        switch (role) {
        case ATSPI_ROLE_LAYERED_PANE: case ATSPI_ROLE_TABLE: case ATSPI_ROLE_TREE_TABLE:
        case ATSPI_ROLE_TREE: case ATSPI_ROLE_LIST:
            views.push_back(Ref(ATSPI_ACCESSIBLE(g_object_ref(a))));
            return;
        case ATSPI_ROLE_TEXT: case ATSPI_ROLE_ENTRY: {
            const QString text = Text(a);
            if (text.startsWith('/') || text.startsWith("file:///"))
                folders << (text.startsWith('/') ? text : QUrl(text).toLocalFile());
            return;
        }
        case ATSPI_ROLE_STATUS_BAR: {
            const QString status = Name(a);
            // "name" (2 bytes) …: every closing quote is a possible end, for names that hold quotes.
            if (status.startsWith('"') || status.startsWith(QChar(0x201c)))
                for (int end = 1; end < status.size(); ++end)
                    if (status[end] == '"' || status[end] == QChar(0x201d))
                        items.push_back({status.mid(1, end - 1), 2});
            return;
        }
        case ATSPI_ROLE_MENU_BAR: case ATSPI_ROLE_MENU: case ATSPI_ROLE_POPUP_MENU: case ATSPI_ROLE_TOOL_TIP:
            return;
        default:
            break;
        }
        const int n = Count(a);
        if (n <= 0 || n > ChildLimit || !Has(a, ATSPI_STATE_SHOWING))
            return;
        QStringList bar; // a path bar: toggle buttons from the deepest folder up to the root
        int current = -1;
        for (int i = 0; i < n && Live(); ++i) {
            Ref child = Child(a, i);
            const AtspiRole childRole = child ? Role(child.get()) : ATSPI_ROLE_INVALID;
            if (childRole == ATSPI_ROLE_TOGGLE_BUTTON) {
                if (current < 0 && Has(child.get(), ATSPI_STATE_CHECKED))
                    current = bar.size();
                bar << Name(child.get());
            } else if (child) {
                Walk(child.get(), childRole, nodes);
            }
        }
        if (current < 0 || bar.size() < 2 || (bar.last() != "" && bar.last() != "/"))
            return;
        QString path;
        for (int i = current; i < bar.size() - 1; ++i) {
            if (bar[i].isEmpty() || bar[i].contains('/'))
                return;
            path = '/' + bar[i] + path;
        }
        folders << path;
    }

    void ViewItems(AtspiAccessible* view)
    {
        AtspiSelection* selection = atspi_accessible_get_selection_iface(view);
        GError* e = nullptr;
        const int selected = selection ? atspi_selection_get_n_selected_children(selection, &e) : 0;
        for (int i = 0; Ok(e) && i < std::min(selected, SelectedLimit) && Live(); ++i) {
            Ref child(atspi_selection_get_selected_child(selection, i, &e));
            if (Ok(e) && child)
                items.push_back({ItemName(child.get()), Has(child.get(), ATSPI_STATE_FOCUSED) ? 0 : 1});
        }
        if (selection)
            g_object_unref(selection);
        AtspiCollection* collection = selected <= 0 ? atspi_accessible_get_collection_iface(view) : nullptr;
        if (!collection || !Live())
            return;
        // Nothing selected: the focused item, found by the application itself in one call.
        GArray* wanted = g_array_new(FALSE, FALSE, sizeof(AtspiStateType));
        const AtspiStateType focused = ATSPI_STATE_FOCUSED;
        g_array_append_val(wanted, focused);
        AtspiStateSet* states = atspi_state_set_new(wanted);
        AtspiMatchRule* rule = atspi_match_rule_new(states, ATSPI_Collection_MATCH_ALL, nullptr,
            ATSPI_Collection_MATCH_ALL, nullptr, ATSPI_Collection_MATCH_ALL, nullptr, ATSPI_Collection_MATCH_ALL, FALSE);
        GArray* found = atspi_collection_get_matches(collection, rule, ATSPI_Collection_SORT_ORDER_CANONICAL, 1, TRUE, &e);
        if (Ok(e) && found && found->len > 0)
            items.push_back({ItemName(g_array_index(found, AtspiAccessible*, 0)), 0});
        for (guint i = 0; found && i < found->len; ++i)
            g_object_unref(g_array_index(found, AtspiAccessible*, i));
        if (found)
            g_array_free(found, TRUE);
        g_object_unref(rule);
        g_object_unref(states);
        g_array_free(wanted, TRUE);
        g_object_unref(collection);
    }

private:
    QElapsedTimer clock;
    bool failed = false;
};

// The application's frame showing this title, else its active one.
Ref FindFrame(Lookup& lookup, uint pid, const QString& title)
{
    Ref desktop(atspi_get_desktop(0));
    Ref active;
    for (int i = 0, apps = lookup.Count(desktop.get()); i < apps && lookup.Live(); ++i) {
        Ref app = lookup.Child(desktop.get(), i);
        if (!app || atspi_accessible_get_process_id(app.get(), nullptr) != pid)
            continue;
        fprintf(stderr, "DBG app found at %d, %d children live=%d\n", i, lookup.Count(app.get()), lookup.Live());
        for (int j = 0, n = std::min(lookup.Count(app.get()), ChildLimit); j < n && lookup.Live(); ++j) {
            Ref frame = lookup.Child(app.get(), j);
            if (!frame || lookup.Role(frame.get()) != ATSPI_ROLE_FRAME)
                continue;
            if (lookup.Name(frame.get()) == title)
                return frame;
            if (!active && lookup.Has(frame.get(), ATSPI_STATE_ACTIVE))
                active = std::move(frame);
        }
    }
    return active;
}

} // namespace

QString FocusedItemPath(unsigned long x11Window)
{
    uint pid = 0;
    QString title;
    if (!DescribeWindow(x11Window, &pid, &title) || !Connected())
        return {};
    Lookup lookup;
    Ref frame = FindFrame(lookup, pid, title);
    fprintf(stderr, "DBG pid %u title %s frame %p live %d\n", pid, qPrintable(title), (void*)frame.get(), lookup.Live());
    if (!frame)
        return {};
    int nodes = 0;
    lookup.Walk(frame.get(), ATSPI_ROLE_FRAME, &nodes);
    // Some file managers can show the full path in the title: "/a/b - Thunar".
    const QString titlePath = title.startsWith("~/") ? QDir::homePath() + title.mid(1) : title;
    for (const QString& separator : {QStringLiteral(" - "), QStringLiteral(" \u2014 ")})
        if (titlePath.startsWith('/'))
            lookup.folders << titlePath.left(titlePath.lastIndexOf(separator));
    fprintf(stderr, "DBG walk nodes=%d views=%zu folders=%s items=%zu\n", nodes, lookup.views.size(), qPrintable(lookup.folders.join('|')), lookup.items.size());
    for (const Ref& view : lookup.views)
        lookup.ViewItems(view.get());
    for (auto& i : lookup.items) fprintf(stderr, "DBG item %d %s\n", i.rank, qPrintable(i.name));
    fprintf(stderr, "DBG live=%d\n", lookup.Live());
    for (int rank = 0; rank <= 2; ++rank)
        for (const Item& item : lookup.items)
            for (const QString& folder : lookup.folders) {
                if (item.rank != rank || item.name.isEmpty() || item.name.contains('/'))
                    continue;
                const QFileInfo file(QDir(folder).filePath(item.name));
                if (QFileInfo(folder).isDir() && file.exists())
                    return QDir::cleanPath(file.absoluteFilePath());
            }
    return {};
}
