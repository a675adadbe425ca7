#include "html/localonlyaccessmanager.h"

#include "html/urlpolicy.h"

#include <QDebug>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <algorithm>

LocalOnlyAccessManager::LocalOnlyAccessManager(QObject* parent) : QNetworkAccessManager(parent) {}

QNetworkReply* LocalOnlyAccessManager::createRequest(Operation op, const QNetworkRequest& request,
                                                     QIODevice* outgoingData)
{
    const QUrl url = request.url();
    // With no folder given, only what needs none (our resources, inline pictures) is allowed.
    const bool allowed = IsPageUrlAllowed(url, QString()) ||
                         std::any_of(m_folders.cbegin(), m_folders.cend(),
                                     [&url](const QString& folder) { return IsPageUrlAllowed(url, folder); });
    if (allowed && (op == GetOperation || op == HeadOperation))
        return QNetworkAccessManager::createRequest(op, request, outgoingData);
    qDebug() << "page request refused" << url.toString(QUrl::RemoveUserInfo).left(200);
    // A request for no URL at all: the reply fails at once, and the page just misses the item.
    return QNetworkAccessManager::createRequest(GetOperation, QNetworkRequest(QUrl()), nullptr);
}
