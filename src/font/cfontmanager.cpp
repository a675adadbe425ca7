#include "font/cfontmanager.h"

#include "cglobaldata/cglobaldata.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QRawFont>

#include <thread>

namespace {

QByteArray ReadFontFile(const QString& path, QString* err)
{
    const QFileInfo fi(path);
    if (!fi.isFile()) {
        *err = CFontManager::tr("Not a regular file.");
        return {};
    }
    if (fi.size() > CFontManager::MaxFontBytes) {
        *err = CFontManager::tr("The font is too large.");
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *err = file.errorString();
        return {};
    }
    return file.read(CFontManager::MaxFontBytes);
}

} // namespace

CFontManager::CFontManager(QObject* parent) : CAbstractManager(parent), m_box(std::make_shared<PostBox>(this))
{
    qRegisterMetaType<LoadedFont>("LoadedFont");
    m_timeLimit.setSingleShot(true);
    m_timeLimit.setInterval(TimeLimitMs);
    connect(&m_timeLimit, &QTimer::timeout, this, &CFontManager::OnTimeLimit);
}

CFontManager::~CFontManager()
{
    m_box->Close();
    RemoveFont();
}

void CFontManager::Perform()
{
    const QString path = CGlobalData::Instance().Path();
    m_reading = path;
    m_timeLimit.start();
    std::thread([box = m_box, self = this, path] {
        QString err;
        const QByteArray bytes = ReadFontFile(path, &err);
        box->Post([self, path, bytes, err] { self->AddFont(path, bytes, err); });
    }).detach();
}

void CFontManager::OnTimeLimit()
{
    if (m_reading.isEmpty() || m_reading != CGlobalData::Instance().Path())
        return;
    m_reading.clear();
    Fail(TooLongToReadText());
}

void CFontManager::AddFont(const QString& path, const QByteArray& bytes, const QString& err)
{
    if (path != CGlobalData::Instance().Path()) // the user moved on while it was read
        return;
    m_timeLimit.stop();
    m_reading.clear();
    if (!err.isEmpty())
        return Fail(err);
    RemoveFont();
    // The raw font names the face this file holds; the family alone would pick an installed
    // face of the same family (the regular one for a bold file).
    const QRawFont raw(bytes, 24);
    m_fontId = raw.isValid() ? QFontDatabase::addApplicationFontFromData(bytes) : -1;
    if (m_fontId < 0 || QFontDatabase::applicationFontFamilies(m_fontId).isEmpty())
        return Fail(tr("The font can not be loaded."));
    LoadedFont font;
    font.family = raw.familyName();
    font.style = raw.styleName();
    font.weight = QFont::Weight(raw.weight());
    font.slant = raw.style();
    font.writingSystems = raw.supportedWritingSystems();
    m_err.clear();
    emit SigPerformFinished(QVariant::fromValue(font));
}

void CFontManager::Stop()
{
    m_timeLimit.stop();
    m_reading.clear();
    RemoveFont();
}

void CFontManager::RemoveFont()
{
    if (m_fontId >= 0)
        QFontDatabase::removeApplicationFont(m_fontId);
    m_fontId = -1;
}
