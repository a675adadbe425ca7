#include "viewers/cunknownwnd.h"

#include "cglobaldata/cglobaldata.h"
#include "platform/byteformat.h"
#include "platform/displayname.h"
#include "platform/fileinfo.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>

namespace {

QString FormatTime(const QDateTime& time) { return time.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")); }

} // namespace

CUnknownWnd::CUnknownWnd(QWidget* parent)
    : CAbstractWnd(parent), m_model(new QStandardItemModel(0, 2, this)), m_table(new QTableView(this))
{
    m_table->setModel(m_model);
    m_table->setTextElideMode(Qt::ElideMiddle);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setFocusPolicy(Qt::NoFocus);
    m_table->setShowGrid(false);
    m_table->setWordWrap(false);
    m_table->setIconSize(QSize(24, 24));
    m_table->horizontalHeader()->hide();
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(30);
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setContentsMargins(12, 12, 12, 12);
    m_table->setStyleSheet(QStringLiteral("QTableView{padding:14px 12px;} QTableView::item{padding:0 8px;}"));
    AddContentWidget(m_table);
}

void CUnknownWnd::Clear() { m_model->setRowCount(0); }

void CUnknownWnd::AddRow(const QString& label, const QString& value, const QIcon& icon)
{
    auto* labelItem = new QStandardItem(label);
    labelItem->setForeground(QColor("#333333"));
    auto* valueItem = new QStandardItem(icon, value);
    valueItem->setToolTip(value);
    m_model->appendRow({labelItem, valueItem});
}

void CUnknownWnd::LoadHelper()
{
    m_model->setRowCount(0);
    const QString path = CGlobalData::Instance().Path();
    const QFileInfo name(path); // names only: the facts come from m_facts
    const bool known = m_facts.path == name.absoluteFilePath() && !m_facts.unanswered;
    const bool folder = known && m_facts.IsFolder();
    if (!m_reason.isEmpty())
        AddRow(tr("Not previewed"), m_reason);
    AddRow(tr("Name"), DisplayName(name.fileName()), ShellFileIcon(path, folder));
    if (known && m_facts.IsFile())
        AddRow(tr("Size"), FormatByteSize(m_facts.size));
    AddRow(tr("Path"), DisplayName(name.absolutePath()));
    if (known && m_facts.link)
        AddRow(tr("Original Path"), DisplayName(m_facts.linkTarget));
    AddRow(tr("Type"), ShellTypeName(path, folder));
    if (!known) {
        emit SigLoaded();
        return;
    }
    if (m_facts.IsFile() && name.suffix().toLower() != QLatin1String("exe")) {
        const AssociatedProgram program = FindAssociatedProgram(path, false);
        if (program.IsValid())
            AddRow(tr("Exec file"), QFileInfo(program.executable).fileName(), program.icon);
    }
    AddRow(tr("Created time"), FormatTime(m_facts.created));
    AddRow(tr("Last modified time"), FormatTime(m_facts.modified));
    AddRow(tr("Last read time"), FormatTime(m_facts.read));
    emit SigLoaded();
}
