#pragma once

#include <functional>
#include <memory>

// One observed key event; the modifiers are those held before it.
struct KeyEventInfo {
    bool release = false;
    bool isSpace = false;
    bool isEscape = false;
    bool autoRepeat = false; // a press the keyboard repeats while the key is held
    bool super = false;
    bool alt = false;
    bool ctrl = false;
    bool shift = false;
};

// Observes every key of the desktop without taking any from the focused program.
class KeyHook
{
public:
    using Callback = std::function<void(const KeyEventInfo&)>;

    static std::unique_ptr<KeyHook> Create();
    virtual ~KeyHook() = default;

    // False when this desktop does not let us observe keys; onKey runs on the GUI thread.
    virtual bool Install(Callback onKey) = 0;
};
