#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class PreviewerBusAdaptor;

// The file manager's side of previewing: GNOME Files and its kin ask the previewer over the
// session bus to show the item under the cursor (Space) and every newly selected one.
class PreviewerService : public QObject
{
    Q_OBJECT
public:
    explicit PreviewerService(QObject* parent = nullptr);
    ~PreviewerService() override;

    bool IsRegistered() const { return m_registered; }
    // On: the file manager's Space comes to us, now or as soon as another previewer lets go;
    // off: to the system's previewer, activation included.
    void SetTakeover(bool on);
    bool IsVisible() const { return m_visible; }
    void SetVisible(bool visible);
    // Where links to files whose names the locale cannot decode are made (a private folder).
    void SetStandInFolder(const QString& folder) { m_standInFolder = folder; }

    // The item a file-manager window last reported, empty for a window that never did.
    QString ReportedItem(quint64 window) const { return m_reported.value(window); }
    void HandleShowFile(const QString& uri, const QString& windowHandle, bool toggle);
    // Asks the file manager to move its selection, for an arrow key (Qt::Key_Left…) pressed in the preview.
    void SendSelectionKey(int key);

signals:
    // `window`: the asking file-manager window's XID, 0 when the caller named none.
    void SigShowFile(QString path, bool toggle, quint64 window);
    void SigClose();
    void SigVisibleChanged(bool visible);

private:
    void RequestName();
    void ReleaseName();
    void OnNameAcquired(const QString& name);
    void OnNameLost(const QString& name);
    void Remember(quint64 window, const QString& path);
    static void InstallActivationFile();
    static void RemoveActivationFile();

    PreviewerBusAdaptor* m_adaptor = nullptr;
    bool m_registered = false;
    bool m_visible = false;
    QHash<quint64, QString> m_reported;
    QList<quint64> m_reportOrder;
    QString m_standInFolder;
};
