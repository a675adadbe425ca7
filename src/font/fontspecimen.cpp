#include "font/fontspecimen.h"

SpecimenTexts SpecimenTextsFor(const QList<QFontDatabase::WritingSystem>& systems)
{
    if (systems.isEmpty() || systems.contains(QFontDatabase::Latin))
        return {{QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), QStringLiteral("abcdefghijklmnopqrstuvwxyz"),
                 QStringLiteral("0123456789"), QStringLiteral(".,:;!?\u2026'\"()[]{}&@#%*+-=/\\<>$\u20ac\u00a3\u00a5")},
                QStringLiteral("The quick brown fox jumps over the lazy dog.")};
    // Symbol and Other hold no script of their own to show.
    for (QFontDatabase::WritingSystem system : systems) {
        if (system == QFontDatabase::Symbol || system == QFontDatabase::Other || system == QFontDatabase::Any)
            continue;
        const QString sample = QFontDatabase::writingSystemSample(system);
        return {{sample, QStringLiteral("0123456789")}, sample.repeated(3)};
    }
    return {{QFontDatabase::writingSystemSample(QFontDatabase::Symbol)}, QString()};
}

QList<int> SpecimenPointSizes() { return {12, 18, 24, 36, 48, 72}; }

QString SpecimenTitle(const QString& family, const QString& style)
{
    if (style.isEmpty() || style.compare(QLatin1String("Regular"), Qt::CaseInsensitive) == 0)
        return family;
    return family + QLatin1Char(' ') + style;
}
