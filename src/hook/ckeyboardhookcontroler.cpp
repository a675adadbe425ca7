#include "hook/ckeyboardhookcontroler.h"

#include "core/settings.h"
#include "hook/triggerrule.h"
#include "platform/foregroundwindow.h"

#include <QSettings>

namespace {

TriggerModifiers WantedModifiers()
{
    // GetSettingValue's store re-reads its file only when some QSettings syncs; this one
    // picks up a change made by another process or by hand before the next key is judged.
    QSettings().sync();
    TriggerModifiers wanted;
    wanted.alt = GetSettingValue(SettingKey::KeyAlt).toBool();
    wanted.shift = GetSettingValue(SettingKey::KeyShift).toBool();
    wanted.ctrl = GetSettingValue(SettingKey::KeyCtrl).toBool();
    return wanted;
}

} // namespace

CKeyboardHookControler::CKeyboardHookControler() : m_hook(KeyHook::Create())
{
    m_installed = m_hook->Install([this](const KeyEventInfo& key) { OnKey(key); });
    if (!m_installed) // queued, so a caller that connects right after construction still hears it
        QMetaObject::invokeMethod(this, &CKeyboardHookControler::SigHookFailed, Qt::QueuedConnection);
}

CKeyboardHookControler::~CKeyboardHookControler() = default;

void CKeyboardHookControler::OnKey(const KeyEventInfo& key)
{
    if (enabled && key.isEscape && key.release && !key.alt && !key.ctrl && !key.shift && !key.super)
        emit SigEscapeReleased();
    if (!enabled || !key.isSpace)
        return;
    if (!key.release) {
        if (!key.autoRepeat) {
            m_spacePress = key;
            emit SigTriggerKeyDown();
        }
        return;
    }
    const KeyEventInfo stroke = WithPressModifiers(key, m_spacePress);
    m_spacePress = KeyEventInfo();
    if (IsTriggerKey(stroke, WantedModifiers()) && CanTriggerHere())
        emit SigKeyPressed();
}

CKeyboardHookControler* KeyboardHook()
{
    // Never deleted: a socket notifier must not die after the application; exit closes X.
    static CKeyboardHookControler* const hook = new CKeyboardHookControler;
    return hook;
}

bool CanTriggerHere() { return ForegroundWindow() != 0; }
