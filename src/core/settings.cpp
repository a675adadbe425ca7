#include "core/settings.h"

#include <QSettings>
#include <QStringList>

namespace {

const QStringList& FalseDefaults()
{
    static const QStringList keys{
        SettingKey::Autorun,        SettingKey::CloseForOpenFailed, SettingKey::MediaRepeat, SettingKey::OfficeSupport,
        SettingKey::TextLineNum,    SettingKey::KeyShift,           SettingKey::KeyAlt,      SettingKey::KeyCtrl,
        SettingKey::DisplayControls};
    return keys;
}

const QStringList& TrueDefaults()
{
    static const QStringList keys{SettingKey::DisplayTitlebar,    SettingKey::TextWrap,
                                  SettingKey::ShowWelcome,        SettingKey::OpenFileByDefault,
                                  SettingKey::UseTriggerKeyClose, SettingKey::TrackingFile,
                                  SettingKey::PreviewerTakeover};
    return keys;
}

} // namespace

QVariant GetSettingValue(const QString& key)
{
    static QSettings settings;
    if (FalseDefaults().contains(key))
        return settings.value(key, QVariant(false));
    if (TrueDefaults().contains(key))
        return settings.value(key, QVariant(true));
    return settings.value(key);
}

void SetSettingValue(const QString& key, const QVariant& value)
{
    QSettings settings;
    settings.setValue(key, value);
}
