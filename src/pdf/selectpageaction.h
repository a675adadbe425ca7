#pragma once

#include "pdf/selectaction.h"

// The page selector: one entry "label (i / n)" per page.
class SelectPageAction : public SelectAction
{
    Q_OBJECT
public:
    explicit SelectPageAction(QObject* parent = nullptr);
    void setPageLabels(const QStringList& labels); // items "label (i / n)"
    void setCurrentPage(int pageIndex);            // 0-based

public slots:
    void slotGoToPage(const QString& pageLabelText);

signals:
    void pageSelected(int pageIndex); // 0-based
};
