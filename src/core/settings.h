#pragma once

#include <QString>
#include <QVariant>

// Keys of the per-user settings store; every module uses these constants.
namespace SettingKey {
constexpr char Autorun[] = "autorun";
constexpr char CloseForOpenFailed[] = "close_4_open_failed";
constexpr char DisplayControls[] = "display_controls";
constexpr char DisplayTitlebar[] = "display titlebar"; // a blank, not an underscore
constexpr char KeyAlt[] = "key_alt";
constexpr char KeyCtrl[] = "key_ctrl";
constexpr char KeyShift[] = "key_shift";
constexpr char MediaRepeat[] = "media_repeat";
constexpr char OfficeSupport[] = "office_support";
constexpr char OpenFileByDefault[] = "openfile_by_default";
constexpr char PreviewerTakeover[] = "gnome_files_space"; // GNOME Files' Space comes to us
constexpr char ShowWelcome[] = "show_welcome";
constexpr char TextLineNum[] = "text_line_num";
constexpr char TextSupport[] = "text_support";
constexpr char TextWrap[] = "text_wrap";
constexpr char TrackingFile[] = "tracking_file";
constexpr char UseTriggerKeyClose[] = "use_trigger_key_close_b";
} // namespace SettingKey

// The one read path of the settings store; knows every key's default.
QVariant GetSettingValue(const QString& key);

// Writers use a local QSettings, as every writer does; this is that one line.
void SetSettingValue(const QString& key, const QVariant& value);
