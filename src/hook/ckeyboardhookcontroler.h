#pragma once

#include "platform/keyhook.h"

#include <QObject>

#include <memory>

// Watches the desktop's keys and tells when the user released the trigger key combination.
class CKeyboardHookControler : public QObject
{
    Q_OBJECT
public:
    CKeyboardHookControler();
    ~CKeyboardHookControler() override;

    bool IsInstalled() const { return m_installed; }

    bool enabled = true; // while false every key is ignored

signals:
    void SigHookFailed();
    void SigKeyPressed();
    void SigTriggerKeyDown();
    // Esc let go anywhere on the desktop: the preview closes even while it lacks the focus.
    void SigEscapeReleased();

private:
    void OnKey(const KeyEventInfo& key);

    std::unique_ptr<KeyHook> m_hook;
    bool m_installed = false;
    KeyEventInfo m_spacePress; // the modifiers held when Space went down
};

// The process-wide hook, installed on first use and kept until the process exits.
CKeyboardHookControler* KeyboardHook();

// Whether a trigger may open a preview now: some program has the keyboard focus.
bool CanTriggerHere();
