#include "platform/updater.h"

#include <QDebug>
#include <QString>

// The distribution updates installed packages; the calls are only traced.
void Updater::SetAppcastUrl(const char* url) { qDebug() << "updater: appcast" << url; }

void Updater::SetAppDetails(const wchar_t* company, const wchar_t* application, const wchar_t* version)
{
    qDebug() << "updater: details" << QString::fromWCharArray(company) << QString::fromWCharArray(application)
             << QString::fromWCharArray(version);
}

void Updater::Init() { qDebug() << "updater: init"; }
void Updater::CheckUpdateWithoutUi() { qDebug() << "updater: check"; }
void Updater::Cleanup() { qDebug() << "updater: cleanup"; }
