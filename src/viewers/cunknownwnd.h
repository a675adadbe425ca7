#pragma once

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

public slots:
    MainType GetWndType() const override { return MT_UNKNOWN; }
    void Clear() override;

protected slots:
    void LoadHelper() override;

private:
    void AddRow(const QString& label, const QString& value, const QIcon& icon = QIcon());

    QStandardItemModel* m_model;
    QTableView* m_table;
};
