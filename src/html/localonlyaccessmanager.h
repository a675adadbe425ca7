#pragma once

#include <QNetworkAccessManager>
#include <QStringList>

// The only way a markdown page reaches anything: it reads what IsPageUrlAllowed lets it read
// and nothing else, whatever the page's own rules would allow.
class LocalOnlyAccessManager : public QNetworkAccessManager
{
    Q_OBJECT
public:
    explicit LocalOnlyAccessManager(QObject* parent = nullptr);

    // The folders of the document shown; none while no document is, which refuses every file.
    void SetDocumentFolders(const QStringList& folders) { m_folders = folders; }

protected:
    QNetworkReply* createRequest(Operation op, const QNetworkRequest& request, QIODevice* outgoingData) override;

private:
    QStringList m_folders;
};
