#pragma once

#include "cglobaldata/csuffixtables.h"
#include "viewers/cabstractmanager.h"

#include <QElapsedTimer>
#include <QSize>
#include <QVariant>
#include <QWidget>

class QAction;
class QBoxLayout;
class QToolButton;
class QVBoxLayout;

// Base of every viewer. The preview window writes the path into the registry and calls
// StartLoading(); the viewer answers with SigLoaded() or SigErr().
class CAbstractWnd : public QWidget
{
    Q_OBJECT
public:
    explicit CAbstractWnd(QWidget* parent = nullptr);
    CAbstractWnd(CAbstractManager* manager, QWidget* parent = nullptr);
    ~CAbstractWnd() override;

    void StartLoading();
    void UpdateControlBar();
    bool IsInControlBar(const QPoint& globalPos) const;
    // `folder` as the file system said when the file was asked for.
    void UpdateOpenWithIcon(bool folder);
    CAbstractManager* Manager() const { return m_manager; }
    QWidget* ControlBar() const { return m_controlBar; }

public slots:
    virtual QSize GetSize() const { return QSize(400, 300); }
    // True when GetSize() does not hang on the file: the window takes that size before loading.
    virtual bool SizeKnownBeforeLoad() const { return false; }
    virtual MainType GetWndType() const = 0;
    virtual void ResetControls() {}
    virtual void InitControlBar(QBoxLayout* layout);
    virtual void Clear() = 0;
    // True for a viewer whose work runs in a helper program: started at once, it runs while the
    // loading page paints instead of after.
    virtual bool LoadsInHelperProgram() const { return false; }
    // Makes at idle what the first preview would otherwise wait for.
    virtual void WarmUp() {}

protected slots:
    virtual void LoadHelper();
    virtual void PerformFinished(QVariant v) { Q_UNUSED(v); }

signals:
    void SigLoaded();
    void SigErr(QString err = QString());
    void SigOpenByDefault(QString file);
    void SigRevealInExplorer(QString file);
    void SigLoadNewPath(QString path);
    void SigBe4Load();

protected:
    void AddContentWidget(QWidget* w);
    QToolButton* CreateToolButton(const QString& normalIcon, const QString& activeIcon, const QString& toolTip,
                                  const QString& shortcut, QAction* action = nullptr);
    void hideEvent(QHideEvent* event) override;

private:
    void BuildControlBar();
    void DelayedSetUp();
    void LogLoadingCost();

    CAbstractManager* m_manager;
    QWidget* m_controlBar;
    QToolButton* m_openWithButton;
    QElapsedTimer m_timer;
    QVBoxLayout* m_layout;
};
