#pragma once

#include <QFontDatabase>
#include <QList>
#include <QString>
#include <QStringList>

// What a font's specimen page shows, for the writing systems the font supports: lines of its
// own script where it has no Latin letters, so that a CJK or a Greek font shows its glyphs, not
// empty boxes.
struct SpecimenTexts {
    QStringList glyphLines; // the alphabet, digits and punctuation, or the script's sample
    QString sentence;       // the sample sentence, until the user types their own
};

SpecimenTexts SpecimenTextsFor(const QList<QFontDatabase::WritingSystem>& systems);

// The point sizes the sample sentence is shown at, smallest first.
QList<int> SpecimenPointSizes();

// "Family Style", without the style where it says nothing ("Regular").
QString SpecimenTitle(const QString& family, const QString& style);
