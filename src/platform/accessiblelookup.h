#pragma once

#include <QString>
#include <QStringList>

struct FocusedItem {
    QStringList paths;       // where it may be, likeliest first: the first that exists is it
    bool unanswered = false; // the application was too slow: asking again may tell
};

// How long a lookup may take: what this application's last answers ask for (50 to 250 ms), or
// the most, for a key press that the user waits on.
enum class Patience { Usual, Most };

// The absolute paths where the focused item (else the selected one) in the file view of a file
// manager's top-level X11 window may be, read through the accessibility bus; none when it cannot
// be told. Which exists is not asked: on a share that stopped answering a stat never returns, so
// the caller asks off its thread. Bounded in time: an application that stops answering soon costs
// about 50 ms a lookup.
FocusedItem FocusedItemPath(unsigned long x11Window, Patience patience = Patience::Usual);

// The class name of a top-level X11 window (the second part of WM_CLASS), empty when it has none.
QString WindowClass(unsigned long x11Window);
