#pragma once

#include "platform/pathfacts.h"
#include "viewers/cabstractwnd.h"

#include <QIcon>

class QStandardItemModel;
class QTableView;

// The information panel: what the desktop knows about any file or folder.
class CUnknownWnd : public CAbstractWnd
{
    Q_OBJECT
public:
    explicit CUnknownWnd(QWidget* parent = nullptr);

    // Why the file's viewer did not show it, shown first by the next load; empty for none.
    void SetReason(const QString& reason) { m_reason = reason; }
    // What the file system said of the path shown: the panel never asks it itself.
    void SetFacts(const PathFacts& facts) { m_facts = facts; }

public slots:
    MainType GetWndType() const override { return MT_UNKNOWN; }
    void Clear() override;

protected slots:
    void LoadHelper() override;

private:
    void AddRow(const QString& label, const QString& value, const QIcon& icon = QIcon());

    QStandardItemModel* m_model;
    QTableView* m_table;
    QString m_reason;
    PathFacts m_facts;
};
