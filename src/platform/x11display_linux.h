#pragma once

#include <X11/Xlib.h>

// A connection of the platform layer's own to the X server, kept for the process: Qt's is
// not ours to share between threads, and a lookup must not wait on its event queue.
inline Display* OwnDisplay()
{
    static Display* display = XOpenDisplay(nullptr);
    return display;
}
