#include "settings/csettingswnd4general.h"

#include "core/settings.h"
#include "formparts/named.h"
#include "formparts/scrollpage.h"
#include "platform/autostart.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QScrollArea>
#include <QSettings>
#include <QVBoxLayout>

struct CSettingsWnd4General::Form {
    ScrollPage scroll;
    QCheckBox* checkBox_dclicked_by_default;
    QCheckBox* checkBox_close_wnd_by_trigger_key;
    QCheckBox* checkBox_display_title;
    QCheckBox* checkBox_controls;
    QGroupBox* groupBox_2;
    QCheckBox* checkBox_repeat_play;
    QCheckBox* checkBox_autorun;
    QCheckBox* checkBox_tracking;
    QCheckBox* checkBox_gnome_files;
    QCheckBox* checkBox_close_wnd;
    QGroupBox* groupBox;
    QCheckBox* checkBox_wrap_text;
    QCheckBox* checkBox_line_num;
};

namespace {

QGroupBox* Group(const char* name, const QString& title, std::initializer_list<QCheckBox*> boxes, QWidget* parent)
{
    auto* group = Named<QGroupBox>(name, title, parent);
    auto* layout = new QVBoxLayout(group);
    for (QCheckBox* box : boxes) {
        box->setParent(group);
        layout->addWidget(box);
    }
    return group;
}

} // namespace

CSettingsWnd4General::CSettingsWnd4General(QWidget* parent) : QWidget(parent), m_ui(new Form)
{
    BuildForm();
    UpdateSettings();
}

CSettingsWnd4General::~CSettingsWnd4General() { delete m_ui; }

void CSettingsWnd4General::BuildForm()
{
    setObjectName(QStringLiteral("CSettingsWnd4General"));
    setWindowTitle(tr("Form"));
    m_ui->scroll = BuildScrollPage(this);
    QWidget* contents = m_ui->scroll.scrollAreaWidgetContents;

    m_ui->checkBox_dclicked_by_default = Named<QCheckBox>(
        "checkBox_dclicked_by_default", tr("Double click to open file with system default application"), contents);
    m_ui->checkBox_close_wnd_by_trigger_key =
        Named<QCheckBox>("checkBox_close_wnd_by_trigger_key", tr("Use trigger key close the window"), contents);
    m_ui->checkBox_display_title = Named<QCheckBox>("checkBox_display_title", tr("Display titlebar"), contents);
    m_ui->checkBox_controls = Named<QCheckBox>("checkBox_controls", tr("Display controls"), contents);
    m_ui->checkBox_repeat_play = Named<QCheckBox>("checkBox_repeat_play", tr("Repeat"));
    m_ui->groupBox_2 = Group("groupBox_2", tr("Media"), {m_ui->checkBox_repeat_play}, contents);
    m_ui->checkBox_autorun = Named<QCheckBox>("checkBox_autorun", tr("Start Vuel at log-in"), contents);
    m_ui->checkBox_tracking =
        Named<QCheckBox>("checkBox_tracking", tr("Follow the file manager's selection"), contents);
    m_ui->checkBox_gnome_files =
        Named<QCheckBox>("checkBox_gnome_files", tr("Preview with Space in GNOME Files"), contents);
    m_ui->checkBox_close_wnd =
        Named<QCheckBox>("checkBox_close_wnd", tr("Close the window when file open failed"), contents);
    m_ui->checkBox_wrap_text = Named<QCheckBox>("checkBox_wrap_text", tr("Wrap"));
    m_ui->checkBox_line_num = Named<QCheckBox>("checkBox_line_num", tr("Line Number"));
    m_ui->groupBox = Group("groupBox", tr("Text"), {m_ui->checkBox_wrap_text, m_ui->checkBox_line_num}, contents);

    for (QWidget* w : std::initializer_list<QWidget*>{
             m_ui->checkBox_dclicked_by_default, m_ui->checkBox_close_wnd_by_trigger_key, m_ui->checkBox_display_title,
             m_ui->checkBox_controls, m_ui->groupBox_2, m_ui->checkBox_autorun, m_ui->checkBox_tracking,
             m_ui->checkBox_gnome_files, m_ui->checkBox_close_wnd, m_ui->groupBox})
        m_ui->scroll.verticalLayout_contents->addWidget(w);
    m_ui->scroll.verticalLayout_contents->addStretch();
}

std::vector<std::pair<const char*, QCheckBox*>> CSettingsWnd4General::Bindings() const
{
    return {
        {SettingKey::Autorun, m_ui->checkBox_autorun},
        {SettingKey::CloseForOpenFailed, m_ui->checkBox_close_wnd},
        {SettingKey::DisplayTitlebar, m_ui->checkBox_display_title},
        {SettingKey::MediaRepeat, m_ui->checkBox_repeat_play},
        {SettingKey::TextWrap, m_ui->checkBox_wrap_text},
        {SettingKey::TextLineNum, m_ui->checkBox_line_num},
        {SettingKey::OpenFileByDefault, m_ui->checkBox_dclicked_by_default},
        {SettingKey::DisplayControls, m_ui->checkBox_controls},
        {SettingKey::UseTriggerKeyClose, m_ui->checkBox_close_wnd_by_trigger_key},
        {SettingKey::TrackingFile, m_ui->checkBox_tracking},
        {SettingKey::PreviewerTakeover, m_ui->checkBox_gnome_files},
    };
}

void CSettingsWnd4General::UpdateSettings()
{
    for (const auto& [key, box] : Bindings())
        box->setChecked(GetSettingValue(key).toBool());
}

void CSettingsWnd4General::WriteSettings()
{
    QSettings settings;
    for (const auto& [key, box] : Bindings()) {
        settings.setValue(key, box->isChecked());
        if (box == m_ui->checkBox_autorun)
            WriteAutorun();
    }
}

void CSettingsWnd4General::WriteAutorun()
{
    const QString name = QCoreApplication::applicationName();
    if (m_ui->checkBox_autorun->isChecked())
        Autostart::Enable(name, QCoreApplication::applicationFilePath());
    else
        Autostart::Disable(name);
}

void CSettingsWnd4General::showEvent(QShowEvent* event)
{
    UpdateSettings();
    QWidget::showEvent(event);
}
