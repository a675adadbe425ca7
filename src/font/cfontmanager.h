#pragma once

#include "core/postbox.h"
#include "viewers/cabstractmanager.h"

#include <QFont>
#include <QFontDatabase>
#include <QList>
#include <QMetaType>
#include <QTimer>

#include <memory>

// A font file made usable: the face its file holds, added to the application's fonts.
struct LoadedFont {
    QString family;
    QString style;
    QFont::Weight weight = QFont::Normal;
    QFont::Style slant = QFont::StyleNormal;
    QList<QFontDatabase::WritingSystem> writingSystems;
};
Q_DECLARE_METATYPE(LoadedFont)

// Reads a font file off the GUI thread and adds it to the application's fonts on it; the font
// added is removed again when the preview moves on, so that previewing a folder of fonts does
// not keep them all. A read past the time limit fails (a network share gone away); its thread is
// its own, so that it holds up neither later reads nor the program's end.
class CFontManager : public CAbstractManager
{
    Q_OBJECT
public:
    explicit CFontManager(QObject* parent = nullptr);
    ~CFontManager() override;

    // Past this a file is no font anyone keeps (the largest CJK collections are under 40 MB).
    static constexpr qint64 MaxFontBytes = 128LL << 20;
    static constexpr int TimeLimitMs = 20000;

public slots:
    void Perform() override;
    void Stop() override;

private:
    void AddFont(const QString& path, const QByteArray& bytes, const QString& err);
    void RemoveFont();
    void OnTimeLimit();

    int m_fontId = -1;
    QTimer m_timeLimit;
    QString m_reading; // the path whose read has not answered yet
    std::shared_ptr<PostBox> m_box;
};
