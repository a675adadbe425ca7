#include "settings/csettingswnd4pluginsadd.h"

#include "cconfirmdlg/cconfirmdlg.h"
#include "formparts/named.h"

#include <QDynamicPropertyChangeEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kTipMs = 5000;

// Word characters of any script, so names and parameters may be in the user's language.
QValidator* WordValidator(QObject* parent)
{
    return new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[\\w]+$"), QRegularExpression::UseUnicodePropertiesOption), parent);
}

QPushButton* SideButton(const char* name, const QString& text, const QString& toolTip, QWidget* parent)
{
    auto* button = Named<QPushButton>(name, text, parent);
    button->setToolTip(toolTip);
    button->setFixedWidth(32);
    button->setFocusPolicy(Qt::NoFocus); // the parameter editor to delete keeps the focus
    return button;
}

} // namespace

std::function<QString(QWidget*, QString)> CSettingsWnd4PluginsAdd::m_pickFile = [](QWidget* parent, QString title) {
    return QFileDialog::getOpenFileName(parent, title);
};

QString CommandPreview(const QStringList& parameters)
{
    QString command;
    for (const QString& parameter : parameters)
        command += parameter.trimmed() + QLatin1Char(' ');
    return command.trimmed();
}

std::optional<QString> SuffixOwner(const QList<PluginRecord>& taken, const QString& suffix)
{
    std::optional<QString> owner;
    for (const PluginRecord& record : taken) {
        if (record.suffixes.contains(suffix, Qt::CaseInsensitive))
            owner = record.name;
    }
    return owner;
}

struct CSettingsWnd4PluginsAdd::Form {
    QLineEdit* lineEdit_name;
    QListWidget* listWidget;
    QPushButton* pushButton_add;
    QPushButton* pushButton_del;
    QScrollArea* scrollArea;
    QWidget* widget_args_container;
    QVBoxLayout* Layout_plugin;
    QPushButton* pushButton_add_plugin;
    QPushButton* pushButton_del_plugin;
    QLineEdit* lineEdit_preview_plugin;
};

CSettingsWnd4PluginsAdd::CSettingsWnd4PluginsAdd(QWidget* parent) : QWidget(parent), m_ui(new Form)
{
    BuildForm();
    connect(m_ui->pushButton_add, &QPushButton::clicked, this, &CSettingsWnd4PluginsAdd::on_pushButton_add_clicked);
    connect(m_ui->pushButton_del, &QPushButton::clicked, this, &CSettingsWnd4PluginsAdd::on_pushButton_del_clicked);
    connect(m_ui->lineEdit_name, &QLineEdit::textChanged, this, &CSettingsWnd4PluginsAdd::on_lineEdit_name_textChanged);
    connect(m_ui->lineEdit_name, &QLineEdit::editingFinished, this,
            &CSettingsWnd4PluginsAdd::on_lineEdit_name_editingFinished);
    connect(m_ui->pushButton_add_plugin, &QPushButton::clicked, this,
            &CSettingsWnd4PluginsAdd::on_pushButton_add_plugin_clicked);
    connect(m_ui->pushButton_del_plugin, &QPushButton::clicked, this,
            &CSettingsWnd4PluginsAdd::on_pushButton_del_plugin_clicked);
    on_lineEdit_name_textChanged(m_ui->lineEdit_name->text());
    on_pushButton_add_plugin_clicked();
    QTimer::singleShot(0, m_ui->lineEdit_name, qOverload<>(&QWidget::setFocus));
}

CSettingsWnd4PluginsAdd::~CSettingsWnd4PluginsAdd() { delete m_ui; }

void CSettingsWnd4PluginsAdd::BuildForm()
{
    auto* layout = Named<QVBoxLayout>("verticalLayout", this);
    layout->addWidget(BuildNameBox());
    layout->addWidget(BuildSuffixBox());
    layout->addWidget(BuildParameterBox(), 1);
}

QWidget* CSettingsWnd4PluginsAdd::BuildNameBox()
{
    auto* box = Named<QGroupBox>("groupBox_name", tr("1, Pick a name"), this);
    auto* layout = new QVBoxLayout(box);
    m_ui->lineEdit_name = Named<QLineEdit>("lineEdit_name", box);
    m_ui->lineEdit_name->setPlaceholderText(tr("Plugin name"));
    m_ui->lineEdit_name->setClearButtonEnabled(true);
    m_ui->lineEdit_name->setValidator(WordValidator(m_ui->lineEdit_name));
    layout->addWidget(m_ui->lineEdit_name);
    return box;
}

QWidget* CSettingsWnd4PluginsAdd::BuildSuffixBox()
{
    auto* box = Named<QGroupBox>("groupBox_suffix", tr("2, Add related suffix(s)"), this);
    auto* layout = new QHBoxLayout(box);
    m_ui->listWidget = Named<QListWidget>("listWidget", box);
    m_ui->listWidget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_ui->listWidget->setSelectionMode(QAbstractItemView::SingleSelection);
    m_ui->listWidget->setFlow(QListView::LeftToRight);
    m_ui->listWidget->setWrapping(true);
    m_ui->listWidget->setSpacing(2);
    m_ui->listWidget->setFixedHeight(56);
    connect(m_ui->listWidget, &QListWidget::itemSelectionChanged, this, &CSettingsWnd4PluginsAdd::SlotSelectionChanged);
    m_ui->pushButton_add = SideButton("pushButton_add", QStringLiteral("+"), tr("Add the suffix of a file"), box);
    m_ui->pushButton_del = SideButton("pushButton_del", QStringLiteral("-"), tr("Remove the selected suffix"), box);
    m_ui->pushButton_del->setEnabled(false);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_ui->pushButton_add);
    buttons->addWidget(m_ui->pushButton_del);
    buttons->addStretch();
    layout->addWidget(m_ui->listWidget, 1);
    layout->addLayout(buttons);
    return box;
}

QWidget* CSettingsWnd4PluginsAdd::BuildParameterBox()
{
    auto* box = Named<QGroupBox>("groupBox_parameter", tr("3, Set plugin start parameter(s)"), this);
    auto* layout = new QVBoxLayout(box);
    m_ui->scrollArea = Named<QScrollArea>("scrollArea", box);
    m_ui->scrollArea->setWidgetResizable(true);
    m_ui->scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_ui->widget_args_container = Named<QWidget>("widget_args_container");
    m_ui->Layout_plugin = Named<QVBoxLayout>("Layout_plugin", m_ui->widget_args_container);
    m_ui->Layout_plugin->setAlignment(Qt::AlignTop);
    m_ui->scrollArea->setWidget(m_ui->widget_args_container);
    m_ui->pushButton_add_plugin =
        SideButton("pushButton_add_plugin", QStringLiteral("+"), tr("Add a parameter editor"), box);
    m_ui->pushButton_del_plugin =
        SideButton("pushButton_del_plugin", QStringLiteral("-"), tr("Delete the focused parameter editor"), box);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_ui->pushButton_add_plugin);
    buttons->addWidget(m_ui->pushButton_del_plugin);
    buttons->addStretch();
    auto* editors = new QHBoxLayout;
    editors->addWidget(m_ui->scrollArea, 1);
    editors->addLayout(buttons);
    m_ui->lineEdit_preview_plugin = Named<QLineEdit>("lineEdit_preview_plugin", box);
    m_ui->lineEdit_preview_plugin->setReadOnly(true);
    m_ui->lineEdit_preview_plugin->setPlaceholderText(tr("Fill parameter editor, one parameter one line"));
    layout->addLayout(editors, 1);
    layout->addWidget(m_ui->lineEdit_preview_plugin);
    return box;
}

// The host is known only after construction; validate once it is.
bool CSettingsWnd4PluginsAdd::event(QEvent* event)
{
    if (event->type() == QEvent::DynamicPropertyChange &&
        static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName() == "CParentDlg")
        Validate();
    return QWidget::event(event);
}

CConfirmDlg* CSettingsWnd4PluginsAdd::Host() const
{
    return qobject_cast<CConfirmDlg*>(property("CParentDlg").value<QObject*>());
}

PluginRecord CSettingsWnd4PluginsAdd::GetPlugin() const
{
    PluginRecord plugin;
    plugin.name = m_ui->lineEdit_name->text().trimmed();
    for (int i = 0; i < m_ui->listWidget->count(); ++i)
        plugin.suffixes << m_ui->listWidget->item(i)->text();
    plugin.command = m_ui->lineEdit_preview_plugin->text().trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return plugin;
}

void CSettingsWnd4PluginsAdd::on_lineEdit_name_textChanged(QString arg1)
{
    CConfirmDlg* host = Host();
    auto* ok = host ? host->findChild<QPushButton*>(QStringLiteral("pushButton_ok")) : nullptr;
    if (!ok)
        return;
    ok->setEnabled(!m_ui->lineEdit_preview_plugin->text().trimmed().isEmpty() && !arg1.trimmed().isEmpty() &&
                   m_ui->listWidget->count() > 0);
}

void CSettingsWnd4PluginsAdd::Validate() { on_lineEdit_name_textChanged(m_ui->lineEdit_name->text()); }

void CSettingsWnd4PluginsAdd::on_lineEdit_name_editingFinished()
{
    const QString name = m_ui->lineEdit_name->text().trimmed();
    if (name.isEmpty())
        return;
    for (const PluginRecord& record : qAsConst(m_taken)) {
        if (record.name == name) {
            m_ui->lineEdit_name->setText(name + QLatin1Char('_'));
            QTimer::singleShot(0, this, &CSettingsWnd4PluginsAdd::on_lineEdit_name_editingFinished);
            return;
        }
    }
}

void CSettingsWnd4PluginsAdd::on_pushButton_add_clicked()
{
    const QString file = m_pickFile(this, tr("Custom File"));
    if (file.isEmpty())
        return;
    const QString suffix = QFileInfo(file).suffix();
    if (suffix.isEmpty())
        return;
    const std::optional<QString> owner = SuffixOwner(m_taken, suffix);
    const bool listed = !m_ui->listWidget->findItems(suffix, Qt::MatchFixedString).isEmpty();
    if (owner || listed) {
        if (CConfirmDlg* host = Host())
            host->ShowTip(owner && !owner->isEmpty() ? tr("%1 already exist in the %2.").arg(suffix, *owner)
                                                     : tr("%1 already exist.").arg(suffix),
                          kTipMs);
        return;
    }
    m_ui->listWidget->addItem(suffix);
    Validate();
}

void CSettingsWnd4PluginsAdd::on_pushButton_del_clicked()
{
    qDeleteAll(m_ui->listWidget->selectedItems());
    Validate();
}

void CSettingsWnd4PluginsAdd::SlotSelectionChanged()
{
    m_ui->pushButton_del->setEnabled(!m_ui->listWidget->selectedItems().isEmpty());
}

QList<QLineEdit*> CSettingsWnd4PluginsAdd::ParameterEditors() const
{
    QList<QLineEdit*> editors;
    for (int i = 0; i < m_ui->Layout_plugin->count(); ++i) {
        if (auto* editor = qobject_cast<QLineEdit*>(m_ui->Layout_plugin->itemAt(i)->widget()))
            editors << editor;
    }
    return editors;
}

void CSettingsWnd4PluginsAdd::SlotParameterChanged()
{
    QStringList parameters;
    for (QLineEdit* editor : ParameterEditors())
        parameters << editor->text();
    m_ui->lineEdit_preview_plugin->setText(CommandPreview(parameters));
    Validate();
}

void CSettingsWnd4PluginsAdd::on_pushButton_add_plugin_clicked()
{
    for (QLineEdit* editor : ParameterEditors()) {
        if (editor->text().trimmed().isEmpty())
            delete editor;
    }
    auto* editor = new QLineEdit(m_ui->widget_args_container);
    editor->setPlaceholderText(tr("parameter: number and letter only "));
    editor->setClearButtonEnabled(true);
    editor->setValidator(WordValidator(editor));
    connect(editor, &QLineEdit::textChanged, this, &CSettingsWnd4PluginsAdd::SlotParameterChanged);
    m_ui->Layout_plugin->addWidget(editor);
    editor->show(); // now, not queued, so that the scroll range has grown when we scroll
    editor->setFocus();
    SlotParameterChanged();
    QTimer::singleShot(0, m_ui->scrollArea,
                       [bar = m_ui->scrollArea->verticalScrollBar()] { bar->setValue(bar->maximum()); });
}

void CSettingsWnd4PluginsAdd::on_pushButton_del_plugin_clicked()
{
    // The window's focus widget is kept even while the window is inactive.
    const QList<QLineEdit*> editors = ParameterEditors();
    for (QLineEdit* editor : editors) {
        if (window()->focusWidget() == editor) {
            delete editor;
            SlotParameterChanged();
            break;
        }
    }
    const QList<QLineEdit*> left = ParameterEditors();
    if (left.isEmpty())
        on_pushButton_add_plugin_clicked();
    else
        left.last()->setFocus();
}
