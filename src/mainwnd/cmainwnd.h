#pragma once

#include "cparentdlg/cparentdlg.h"
#include "platform/pathfacts.h"

#include <QMap>
#include <QPointer>
#include <QStringList>

class CAbstractWnd;
class ContentSniffer;
class CPluginRun;
class CUnknownWnd;
class PathProbe;
class QLabel;
class QMovie;
class QPropertyAnimation;
class QStackedWidget;

// The one preview window: classifies a path, lets the matching viewer load it behind a
// loading animation, then fits itself to the content.
class CMainWnd : public CParentDlg
{
    Q_OBJECT
public:
    explicit CMainWnd(QWidget* parent = nullptr);

    bool HandleDoubleClick(const QPoint& globalPos);
    CAbstractWnd* CurrentViewer() const;

signals:
    void SigHide();
    // An arrow key that no viewer used: the file manager moves its selection.
    void SigSelectionKey(int key);

public slots:
    // Our own files (the help picture, a plug-in's output): the file system is asked at once.
    void Load(QString path);
    // A path from outside: its facts are taken off the window's thread, then it is shown.
    void ProbeAndLoad(const QString& path);
    // Shows `asked` by the facts of what it resolves to, taken already.
    void LoadProbed(const QString& asked, const PathFacts& facts);
    void LoadLoading();
    void LoadUnknownFile();
    void LoadPlugin(QStringList command);
    // The file the user asked for: a plug-in's output stands for the file it was made from.
    QString ShownFile() const;
    // Shows the window centred on the screen of `requester` (the file manager's window), else
    // on the one under the pointer.
    void Display(const QRect& requester = QRect());
    void HideWnd();
    void WarmUp();
    void WaggleWnd();
    void OpenByDefault(QString path);
    void RevealInExplorer(QString path);
    void on_pushButton_close_clicked() override;

private slots:
    void SlotErr(QString str);
    void SlotLoaded();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void StopViewersBut(CAbstractWnd* keep);
    void LoadInViewer();
    // The information panel, saying why the file is not shown when `reason` is given.
    void ShowInformation(const QString& reason);
    void OnSniffed(const QString& path, const QStringList& chain);
    void OnSniffTimedOut(const QString& path);
    void AddViewer(int kind, CAbstractWnd* viewer);
    void OnBe4Load();
    void FitToContent(CAbstractWnd* viewer);
    void KeepWindowOnScreen();
    QRect ScreenArea() const;
    void PlaceAt(const QPoint& topLeft);
    void AddShortcut(const QString& keys, void (CMainWnd::*slot)());
    void ToggleControlBar();
    void ToggleTitleBar();
    bool IsSettled() const;
    CPluginRun* PluginRun();

    QStackedWidget* m_stack;
    CUnknownWnd* m_unknownWnd = nullptr;
    QLabel* m_loadingLabel;
    QMovie* m_loadingMovie;
    QMap<int, CAbstractWnd*> m_viewers;
    QPointer<QPropertyAnimation> m_hideAnimation;
    QPropertyAnimation* m_shake = nullptr;
    // Where we last placed the window, until the user moves it. The window system's reports
    // are no guide: while it maps the window it reports places the window never was.
    QPoint m_placedAt;
    bool m_placing = false;
    QRect m_screenArea;
    QColor m_normalShadowColor;
    CPluginRun* m_pluginRun = nullptr;
    ContentSniffer* m_sniffer;
    PathProbe* m_probe;
    PathFacts m_facts; // of the path shown
};
