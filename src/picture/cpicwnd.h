#pragma once

#include "viewers/cabstractwnd.h"

#include <QHash>
#include <QSize>

class CImageView;
class QToolButton;

// The picture viewer: still pictures, animations and Photoshop documents.
class CPicWnd : public CAbstractWnd
{
    Q_OBJECT
public:
    explicit CPicWnd(QWidget* parent = nullptr);

    CImageView* View() const { return m_view; }

public slots:
    QSize GetSize() const override;
    MainType GetWndType() const override { return MT_PICTURE; }
    void InitControlBar(QBoxLayout* layout) override;
    void Clear() override;

protected slots:
    void PerformFinished(QVariant v) override;

private:
    void AddButton(QBoxLayout* layout, int id, const QString& normal, const QString& active, const QString& tip,
                   const QString& shortcut);
    void ShowButtons(std::initializer_list<int> ids);

    QSize m_size{-1, -1};
    CImageView* m_view;
    QHash<int, QToolButton*> m_buttons;
};
