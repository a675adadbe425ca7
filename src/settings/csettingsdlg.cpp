#include "settings/csettingsdlg.h"

#include "cconfirmdlg/cconfirmdlg.h"
#include "formparts/named.h"
#include "settings/csettingswnd4filetype.h"
#include "settings/csettingswnd4general.h"
#include "settings/csettingswnd4key.h"
#include "settings/csettingswnd4plugins.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

struct CSettingsDlg::Form {
    QGridLayout* gridLayout;
    QHBoxLayout* horizontalLayout;
    QWidget* wnd_nav_btns;
    QVBoxLayout* verticalLayout;
    QPushButton* pushButton_general;
    QPushButton* pushButton_file_type;
    QPushButton* pushButton_plugins;
    QPushButton* pushButton_keyboard;
    QStackedWidget* stackedWidget;
};

namespace {

QFontMetrics AppFontMetrics(int pointSize)
{
    QFont font = QApplication::font();
    if (pointSize > 0) // a font sized in pixels reports -1
        font.setPointSize(pointSize);
    return QFontMetrics(font);
}

} // namespace

int FontLineHeight(int pointSize) { return AppFontMetrics(pointSize).height(); }

int FontTextWidth(const QString& text, int pointSize)
{
    return AppFontMetrics(pointSize).boundingRect(text).width() + 1;
}

CSettingsDlg::CSettingsDlg(QWidget* parent) : QDialog(parent), m_navButtons(new QButtonGroup(this)), m_ui(new Form)
{
    BuildForm();
    FitNavButtons();

    m_generalPage = new CSettingsWnd4General(nullptr);
    m_ui->stackedWidget->addWidget(m_generalPage);
    connect(m_ui->pushButton_general, &QPushButton::clicked, this, &CSettingsDlg::SlotBtnGeneralClicked);
    m_ui->pushButton_general->animateClick(0);
    m_ui->pushButton_plugins->setVisible(false);
}

CSettingsDlg::~CSettingsDlg() { delete m_ui; }

void CSettingsDlg::BuildForm()
{
    setObjectName(QStringLiteral("CSettingsDlg"));
    setWindowTitle(tr("Dialog"));
    m_ui->gridLayout = Named<QGridLayout>("gridLayout", this);
    m_ui->gridLayout->setContentsMargins(0, 0, 0, 0);
    m_ui->gridLayout->setSpacing(0);
    m_ui->horizontalLayout = Named<QHBoxLayout>("horizontalLayout");
    m_ui->horizontalLayout->setSpacing(0);
    m_ui->gridLayout->addLayout(m_ui->horizontalLayout, 0, 0);

    m_ui->wnd_nav_btns = Named<QWidget>("wnd_nav_btns", this);
    m_ui->wnd_nav_btns->setAttribute(Qt::WA_StyledBackground);
    m_ui->verticalLayout = Named<QVBoxLayout>("verticalLayout", m_ui->wnd_nav_btns);
    m_ui->verticalLayout->setContentsMargins(0, 0, 0, 0);
    m_ui->verticalLayout->setSpacing(0);
    m_ui->pushButton_general = Named<QPushButton>("pushButton_general", tr("General"), m_ui->wnd_nav_btns);
    m_ui->pushButton_file_type = Named<QPushButton>("pushButton_file_type", tr("Type"), m_ui->wnd_nav_btns);
    m_ui->pushButton_plugins = Named<QPushButton>("pushButton_plugins", tr("Plugins"), m_ui->wnd_nav_btns);
    m_ui->pushButton_keyboard = Named<QPushButton>("pushButton_keyboard", tr("Keyboard"), m_ui->wnd_nav_btns);
    for (QPushButton* button :
         {m_ui->pushButton_general, m_ui->pushButton_file_type, m_ui->pushButton_plugins, m_ui->pushButton_keyboard})
        m_ui->verticalLayout->addWidget(button);
    m_ui->verticalLayout->addStretch();
    m_ui->horizontalLayout->addWidget(m_ui->wnd_nav_btns);

    m_ui->stackedWidget = Named<QStackedWidget>("stackedWidget", this);
    m_ui->stackedWidget->setStyleSheet(QStringLiteral("background:white"));
    m_ui->horizontalLayout->addWidget(m_ui->stackedWidget, 1);

    connect(m_ui->pushButton_file_type, &QPushButton::clicked, this, &CSettingsDlg::on_pushButton_file_type_clicked);
    connect(m_ui->pushButton_plugins, &QPushButton::clicked, this, &CSettingsDlg::on_pushButton_plugins_clicked);
    connect(m_ui->pushButton_keyboard, &QPushButton::clicked, this, &CSettingsDlg::on_pushButton_keyboard_clicked);
}

void CSettingsDlg::FitNavButtons()
{
    int widest = 0;
    for (QPushButton* button : m_ui->wnd_nav_btns->findChildren<QPushButton*>()) {
        const int pointSize = button->font().pointSize();
        button->setCheckable(true);
        button->setFixedHeight(FontLineHeight(pointSize) + 20);
        widest = qMax(widest, FontTextWidth(button->text(), pointSize) + 40);
        m_navButtons->addButton(button);
    }
    m_navButtons->setExclusive(true);
    m_ui->wnd_nav_btns->setFixedWidth(widest);
}

template <class Page>
Page* CSettingsDlg::CreatePage()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    auto* page = new Page(nullptr);
    m_ui->stackedWidget->addWidget(page);
    QGuiApplication::restoreOverrideCursor();
    return page;
}

void CSettingsDlg::SaveSettings()
{
    if (m_generalPage)
        m_generalPage->WriteSettings();
    if (m_fileTypePage)
        m_fileTypePage->WriteSettings();
    if (m_pluginsPage)
        m_pluginsPage->WriteSettings();
    if (m_keyPage)
        m_keyPage->WriteSettings();
}

void CSettingsDlg::SlotBtnGeneralClicked(bool arg)
{
    if (arg)
        m_ui->stackedWidget->setCurrentWidget(m_generalPage);
}

void CSettingsDlg::on_pushButton_file_type_clicked(bool arg)
{
    if (!arg)
        return;
    if (!m_fileTypePage) {
        m_fileTypePage = CreatePage<CSettingsWnd4FileType>();
        connect(m_fileTypePage, &CSettingsWnd4FileType::SigShowInfoText, this, &CSettingsDlg::ShowDuplicateNotice);
    }
    m_ui->stackedWidget->setCurrentWidget(m_fileTypePage);
}

void CSettingsDlg::on_pushButton_plugins_clicked(bool checked)
{
    if (!checked)
        return;
    if (!m_pluginsPage)
        m_pluginsPage = CreatePage<CSettingsWnd4Plugins>();
    m_ui->stackedWidget->setCurrentWidget(m_pluginsPage);
}

void CSettingsDlg::on_pushButton_keyboard_clicked(bool checked)
{
    if (!checked)
        return;
    if (!m_keyPage)
        m_keyPage = CreatePage<CSettingsWnd4Key>();
    m_ui->stackedWidget->setCurrentWidget(m_keyPage);
}

void CSettingsDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->ignore(); // the host decides; the settings window sets it not to close on Esc
        return;
    }
    QDialog::keyPressEvent(event);
}

void CSettingsDlg::ShowDuplicateNotice(const QString& suf)
{
    if (auto* host = qobject_cast<CConfirmDlg*>(property("CParentDlg").value<QObject*>()))
        host->ShowTip(suf + tr(" has already existed."), 5000);
}
