#include "settings/csettingswnd4plugins.h"

#include "cconfirmdlg/cconfirmdlg.h"
#include "cglobaldata/cglobaldata.h"
#include "formparts/named.h"
#include "settings/csettingswnd4pluginsadd.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int kColumns = 3;

} // namespace

bool RowMatchesSearch(const PluginRow& row, const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return true;
    for (const QString& cell : row) {
        if (cell.contains(t, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

struct CSettingsWnd4Plugins::Form {
    QLineEdit* lineEdit_search;
    QStackedWidget* stackedWidget;
    QWidget* page;
    QTableView* tableView;
    QWidget* page_about_plugin;
    QLabel* label_about;
    QPushButton* pushButton_about;
    QPushButton* pushButton_del;
    QPushButton* pushButton_add;
};

CSettingsWnd4Plugins::CSettingsWnd4Plugins(QWidget* parent)
    : QWidget(parent), m_model(new QStandardItemModel(0, kColumns, this)), m_ui(new Form)
{
    m_model->setHorizontalHeaderLabels({tr("Name"), tr("Suffix"), tr("Plugin")});
    BuildForm();
    SetUpTable();
    connect(m_ui->pushButton_add, &QPushButton::clicked, this, &CSettingsWnd4Plugins::on_pushButton_add_clicked);
    connect(m_ui->pushButton_del, &QPushButton::clicked, this, &CSettingsWnd4Plugins::on_pushButton_del_clicked);
    connect(m_ui->lineEdit_search, &QLineEdit::textChanged, this,
            &CSettingsWnd4Plugins::on_lineEdit_search_textChanged);
    connect(m_ui->pushButton_about, &QPushButton::clicked, this, &CSettingsWnd4Plugins::on_pushButton_about_clicked);
    for (const PluginRecord& plugin : CGlobalData::Instance().Plugins())
        AppendRow(PluginRowOf(plugin));
    m_ui->stackedWidget->setCurrentWidget(m_ui->page);
}

CSettingsWnd4Plugins::~CSettingsWnd4Plugins() { delete m_ui; }

void CSettingsWnd4Plugins::BuildForm()
{
    auto* layout = Named<QVBoxLayout>("verticalLayout", this);
    m_ui->lineEdit_search = Named<QLineEdit>("lineEdit_search", this);
    m_ui->lineEdit_search->setPlaceholderText(tr("Search plugins"));
    m_ui->lineEdit_search->setClearButtonEnabled(true);

    m_ui->stackedWidget = Named<QStackedWidget>("stackedWidget", this);
    m_ui->page = Named<QWidget>("page");
    auto* pageLayout = new QVBoxLayout(m_ui->page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    m_ui->tableView = Named<QTableView>("tableView", m_ui->page);
    pageLayout->addWidget(m_ui->tableView);
    m_ui->page_about_plugin = Named<QWidget>("page_about_plugin");
    auto* aboutLayout = new QVBoxLayout(m_ui->page_about_plugin);
    m_ui->label_about = Named<QLabel>("label");
    m_ui->label_about->setWordWrap(true);
    m_ui->label_about->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_ui->label_about->setTextFormat(Qt::RichText);
    m_ui->label_about->setText(
        tr("<p><b>Plugins</b> let Vuel preview files it cannot show by itself, through a program of "
           "your own, for the suffixes you give it.</p>"
           "<p>Vuel starts the program with the parameters you set (the first one is the program, found "
           "on the search path), then the path of the previewed file, then an output base name.</p>"
           "<p>The program writes its result to the base name plus a suffix of its choice "
           "(<i>base</i>.txt, <i>base</i>.png, ...) and exits with code 0. Vuel then previews that "
           "output. When the program cannot start, fails or writes nothing, Vuel shows the file's "
           "information instead.</p>"));
    auto* scroll = new QScrollArea(m_ui->page_about_plugin);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(m_ui->label_about);
    aboutLayout->addWidget(scroll);
    m_ui->stackedWidget->addWidget(m_ui->page);
    m_ui->stackedWidget->addWidget(m_ui->page_about_plugin);

    m_ui->pushButton_about = Named<QPushButton>("pushButton_about", tr("About plugin"), this);
    m_ui->pushButton_about->setCheckable(true);
    m_ui->pushButton_about->setChecked(false);
    m_ui->pushButton_del = Named<QPushButton>("pushButton_del", QStringLiteral("-"), this);
    m_ui->pushButton_del->setEnabled(false);
    m_ui->pushButton_add = Named<QPushButton>("pushButton_add", QStringLiteral("+"), this);
    auto* buttons = Named<QHBoxLayout>("horizontalLayout");
    buttons->addWidget(m_ui->pushButton_about);
    buttons->addStretch();
    buttons->addWidget(m_ui->pushButton_del);
    buttons->addWidget(m_ui->pushButton_add);

    layout->addWidget(m_ui->lineEdit_search);
    layout->addWidget(m_ui->stackedWidget, 1);
    layout->addLayout(buttons);
}

void CSettingsWnd4Plugins::SetUpTable()
{
    QTableView* table = m_ui->tableView;
    table->setModel(m_model);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setTextElideMode(Qt::ElideMiddle);
    table->setAlternatingRowColors(true);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->hide();
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CSettingsWnd4Plugins::UpdateDelButton);
}

void CSettingsWnd4Plugins::UpdateDelButton()
{
    m_ui->pushButton_del->setEnabled(!m_ui->tableView->selectionModel()->selection().isEmpty());
}

void CSettingsWnd4Plugins::AppendRow(const PluginRow& row)
{
    QList<QStandardItem*> items;
    for (int column = 0; column < kColumns; ++column) {
        auto* item = new QStandardItem(row.value(column));
        item->setToolTip(row.value(column));
        items << item;
    }
    m_model->appendRow(items);
    m_ui->tableView->setRowHidden(m_model->rowCount() - 1, !RowMatchesSearch(row, m_ui->lineEdit_search->text()));
}

PluginRow CSettingsWnd4Plugins::Row(int row) const
{
    PluginRow cells;
    for (int column = 0; column < kColumns; ++column)
        cells << m_model->index(row, column).data().toString();
    return cells;
}

QList<PluginRow> CSettingsWnd4Plugins::Rows() const
{
    QList<PluginRow> rows;
    for (int row = 0; row < m_model->rowCount(); ++row)
        rows << Row(row);
    return rows;
}

void CSettingsWnd4Plugins::on_lineEdit_search_textChanged(QString arg1)
{
    for (int row = 0; row < m_model->rowCount(); ++row)
        m_ui->tableView->setRowHidden(row, !RowMatchesSearch(Row(row), arg1));
}

void CSettingsWnd4Plugins::on_pushButton_about_clicked(bool checked)
{
    m_ui->stackedWidget->setCurrentWidget(checked ? m_ui->page_about_plugin : m_ui->page);
}

void CSettingsWnd4Plugins::on_pushButton_del_clicked()
{
    const QModelIndex current = m_ui->tableView->currentIndex();
    if (current.isValid())
        m_model->removeRow(current.row());
    UpdateDelButton();
}

// The previewer's own suffixes first, under an empty name, then every listed plug-in.
QList<PluginRecord> CSettingsWnd4Plugins::TakenSuffixes() const
{
    PluginRecord own;
    const CSuffixTables& tables = CGlobalData::Instance().Suffixes();
    for (int kind = MT_MARKDOWN; kind <= MT_TEXT; ++kind)
        own.suffixes << tables.SuffixesOfKind(kind);
    QList<PluginRecord> taken{own};
    for (const PluginRow& row : Rows())
        taken << PluginRecordFromRow(row);
    return taken;
}

void CSettingsWnd4Plugins::on_pushButton_add_clicked()
{
    auto [dialog, form] = CConfirmDlg::CreateDialog<CSettingsWnd4PluginsAdd>(tr("Add Plugin"), true);
    dialog->SetCloseOnEsc(false);
    dialog->SetTitleBarHeight(28);
    dialog->HideLeftTitleWidget();
    dialog->SetContentSize(QSize(380, 420));
    dialog->setFixedSize(dialog->size());
    form->SetTaken(TakenSuffixes());
    QPointer<CSettingsWnd4PluginsAdd> added(form);
    if (dialog->exec() && added)
        AppendRow(PluginRowOf(added->GetPlugin()));
}

void CSettingsWnd4Plugins::WriteSettings()
{
    const QList<PluginRow> rows = Rows();
    if (!WritePluginTable(CGlobalData::PluginTablePath(), rows)) {
        CConfirmDlg::ShowMessage(tr("Error"), tr("Save plugins settings failed."), tr("Ok"), true, this);
        return;
    }
    CGlobalData::Instance().SetPlugins(PluginRecordsFromRows(rows));
}
