#include "settings/csettingswnd4key.h"

#include "core/settings.h"
#include "formparts/named.h"
#include "formparts/scrollpage.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QSettings>
#include <QVBoxLayout>

struct CSettingsWnd4Key::Form {
    ScrollPage scroll;
    QGroupBox* groupBox_key;
    QCheckBox* checkBox_trigger_s;
    QCheckBox* checkBox_trigger_a;
    QCheckBox* checkBox_trigger_c;
    QLabel* label_close = nullptr;
};

namespace {

struct CardRow {
    const char* action;
    const char* keys;
    const char* keysName = nullptr;
};

bool Stored(const char* key) { return GetSettingValue(key).toBool(); }

// The Close row spells a combination "Ctrl+Space"...
QString CloseComboText(bool ctrl, bool shift, bool alt)
{
    QString combo;
    if (ctrl)
        combo += QStringLiteral("Ctrl+");
    if (shift)
        combo += QStringLiteral("Shift+");
    if (alt)
        combo += QStringLiteral("Alt+");
    return combo + QStringLiteral("Space");
}

// ...and the trigger group's title "Ctrl + Space".
QString TriggerTitleText(bool ctrl, bool shift, bool alt)
{
    QString title = CSettingsWnd4Key::tr("Trigger Keys:  ");
    if (ctrl)
        title += QStringLiteral("Ctrl + ");
    if (shift)
        title += QStringLiteral("Shift + ");
    if (alt)
        title += QStringLiteral("Alt + ");
    return title + QStringLiteral("Space");
}

} // namespace

CSettingsWnd4Key::CSettingsWnd4Key(QWidget* parent) : QWidget(parent), m_ui(new Form)
{
    BuildForm();
    if (Stored(SettingKey::UseTriggerKeyClose))
        ExtendCloseKeys();
    m_ui->checkBox_trigger_a->setChecked(Stored(SettingKey::KeyAlt));
    m_ui->checkBox_trigger_c->setChecked(Stored(SettingKey::KeyCtrl));
    m_ui->checkBox_trigger_s->setChecked(Stored(SettingKey::KeyShift));
    UpdateTriggerTitle();
    for (QCheckBox* box : findChildren<QCheckBox*>())
        connect(box, &QCheckBox::clicked, this, &CSettingsWnd4Key::UpdateTriggerTitle);
}

CSettingsWnd4Key::~CSettingsWnd4Key() { delete m_ui; }

void CSettingsWnd4Key::BuildForm()
{
    setObjectName(QStringLiteral("CSettingsWnd4Key"));
    setWindowTitle(tr("Form"));
    m_ui->scroll = BuildScrollPage(this);
    QWidget* contents = m_ui->scroll.scrollAreaWidgetContents;

    m_ui->groupBox_key = Named<QGroupBox>("groupBox_key", contents);
    auto* triggerLayout = new QHBoxLayout(m_ui->groupBox_key);
    m_ui->checkBox_trigger_s = Named<QCheckBox>("checkBox_trigger_s", tr("Shift"), m_ui->groupBox_key);
    m_ui->checkBox_trigger_a = Named<QCheckBox>("checkBox_trigger_a", tr("Alt"), m_ui->groupBox_key);
    m_ui->checkBox_trigger_c = Named<QCheckBox>("checkBox_trigger_c", tr("Control"), m_ui->groupBox_key);
    triggerLayout->addWidget(m_ui->checkBox_trigger_s);
    triggerLayout->addWidget(m_ui->checkBox_trigger_a);
    triggerLayout->addWidget(m_ui->checkBox_trigger_c);
    triggerLayout->addStretch();
    m_ui->scroll.verticalLayout_contents->addWidget(m_ui->groupBox_key);

    struct Card {
        const char* name;
        const char* title;
        std::vector<CardRow> rows;
    };
    const Card cards[] = {
        {"groupBox_appearance",
         QT_TR_NOOP("Appearance"),
         {{QT_TR_NOOP("Title:"), "T"},
          {QT_TR_NOOP("Controls:"), "C"},
          {QT_TR_NOOP("Close:"), "Esc / Ctrl+W", "label_close"}}},
        {"groupBox_image",
         QT_TR_NOOP("Image"),
         {{QT_TR_NOOP("Actual Size:"), "A"}, {QT_TR_NOOP("Fit Width:"), "W"}, {QT_TR_NOOP("Rotate:"), "-> / <-"}}},
        {"groupBox_media",
         QT_TR_NOOP("Media"),
         {{QT_TR_NOOP("Play/Pause:"), "P"}, {QT_TR_NOOP("Forward:"), "->"}, {QT_TR_NOOP("Backward:"), "<-"}}},
        {"groupBox_folder",
         QT_TR_NOOP("Folder"),
         {{QT_TR_NOOP("Open Selected Item:"), "O"},
          {QT_TR_NOOP("Reveal Selected Item:"), "R"},
          {QT_TR_NOOP("Open Selected Item With Vuel:"), "S"}}},
        {"groupBox_pdf",
         QT_TR_NOOP("PDF"),
         {{QT_TR_NOOP("Go To Previous Page:"), "PgUp"},
          {QT_TR_NOOP("Go To Next Page:"), "PgDown"},
          {QT_TR_NOOP("Go To Start Of Document:"), "Home"},
          {QT_TR_NOOP("Go To End Of Document:"), "End"},
          {QT_TR_NOOP("Fit Width:"), "W"},
          {QT_TR_NOOP("Actual Size:"), "A"}}},
    };
    for (const Card& card : cards) {
        auto* group = Named<QGroupBox>(card.name, tr(card.title), contents);
        auto* rows = new QFormLayout(group);
        for (const CardRow& row : card.rows) {
            auto* keys = new QLabel(tr(row.keys), group);
            if (row.keysName) {
                keys->setObjectName(QLatin1String(row.keysName));
                m_ui->label_close = keys;
            }
            rows->addRow(new QLabel(tr(row.action), group), keys);
        }
        m_ui->scroll.verticalLayout_contents->addWidget(group);
    }
    m_ui->scroll.verticalLayout_contents->addStretch();
}

void CSettingsWnd4Key::ExtendCloseKeys()
{
    const QString combo =
        CloseComboText(Stored(SettingKey::KeyCtrl), Stored(SettingKey::KeyShift), Stored(SettingKey::KeyAlt));
    m_ui->label_close->setText(m_ui->label_close->text() + QStringLiteral(" / ") + combo);
}

void CSettingsWnd4Key::UpdateTriggerTitle()
{
    m_ui->groupBox_key->setTitle(TriggerTitleText(m_ui->checkBox_trigger_c->isChecked(),
                                                  m_ui->checkBox_trigger_s->isChecked(),
                                                  m_ui->checkBox_trigger_a->isChecked()));
}

void CSettingsWnd4Key::WriteSettings()
{
    QSettings settings;
    settings.setValue(SettingKey::KeyShift, m_ui->checkBox_trigger_s->isChecked());
    settings.setValue(SettingKey::KeyAlt, m_ui->checkBox_trigger_a->isChecked());
    settings.setValue(SettingKey::KeyCtrl, m_ui->checkBox_trigger_c->isChecked());
}
