#include "viewers/cunknownwnd.h"

#include "cglobaldata/cglobaldata.h"
#include "platform/byteformat.h"
#include "platform/displayname.h"
#include "platform/fileinfo.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>

namespace {

QString FormatTime(const QDateTime& time) { return time.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")); }

// Where the file system keeps no birth time, the last status change is the nearest fact.
QDateTime CreatedTime(const QFileInfo& fi)
{
    const QDateTime birth = fi.birthTime();
    return birth.isValid() ? birth : fi.metadataChangeTime();
}

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
    const QFileInfo fi(path);
    if (!m_reason.isEmpty())
        AddRow(tr("Not previewed"), m_reason);
    AddRow(tr("Name"), DisplayName(fi.fileName()), ShellFileIcon(path));
    if (fi.isFile())
        AddRow(tr("Size"), FormatByteSize(fi.size()));
    AddRow(tr("Path"), DisplayName(fi.absoluteDir().absolutePath()));
    if (fi.isSymLink())
        AddRow(tr("Original Path"), DisplayName(fi.symLinkTarget()));
    AddRow(tr("Type"), ShellTypeName(path));
    if (fi.isFile() && fi.suffix().toLower() != QLatin1String("exe")) {
        const AssociatedProgram program = FindAssociatedProgram(path);
        if (program.IsValid())
            AddRow(tr("Exec file"), QFileInfo(program.executable).fileName(), program.icon);
    }
    AddRow(tr("Created time"), FormatTime(CreatedTime(fi)));
    AddRow(tr("Last modified time"), FormatTime(fi.lastModified()));
    AddRow(tr("Last read time"), FormatTime(fi.lastRead()));
    emit SigLoaded();
}
