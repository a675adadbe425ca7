#pragma once

#include "viewers/cabstractwnd.h"

class ActionHandler;
class CPdfManager;
class PdfView;
class QAction;
class QLabel;

// PDF documents in the page view; office documents once the converter has made them a PDF.
class CPdfWnd : public CAbstractWnd
{
    Q_OBJECT
public:
    explicit CPdfWnd(QWidget* parent = nullptr, CPdfManager* manager = nullptr);

    PdfView* View() const { return m_view; }
    QLabel* PageLabel() const { return m_pageLabel; }

public slots:
    QSize GetSize() const override;
    MainType GetWndType() const override { return MT_DOCUMENT; }
    void ResetControls() override;
    void InitControlBar(QBoxLayout* layout) override;
    void Clear() override;
    void LoadPDF(QString path);

protected slots:
    void LoadHelper() override;
    void PerformFinished(QVariant v) override;

private:
    CPdfManager* PdfManager() const;
    QToolButton* AddButton(const QString& normal, const QString& active, const QString& tip, const QString& shortcut,
                           QAction* action = nullptr);
    void Opened(const QString& path);
    void OpenFailed(const QString& path, const QString& reason);
    void ShowPage(int pageNumber);
    void FitWidth(bool checked);
    void ActualSize(bool checked);

    PdfView* m_view;
    ActionHandler* m_actions;
    QLabel* m_pageLabel = nullptr;
    QAction* m_fitWidth = nullptr;
    QAction* m_actualSize = nullptr;
    QString m_opening; // the document asked for and not arrived yet
};
