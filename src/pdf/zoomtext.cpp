#include "pdf/zoomtext.h"

#include <QRegularExpression>
#include <QtGlobal>

namespace {

const qreal kPresetPercents[] = {12.5, 25, 50, 75, 100, 125, 150, 200, 250, 300};

bool SamePercent(qreal a, qreal b) { return qAbs(a - b) < 0.005; }

} // namespace

QString ZoomPercentText(qreal percent, const QLocale& locale)
{
    QString number = locale.toString(percent, 'f', 2);
    const QString point = locale.decimalPoint();
    if (number.contains(point)) {
        while (number.endsWith(QLatin1Char('0')))
            number.chop(1);
        if (number.endsWith(point))
            number.chop(point.size());
    }
    return number + QLatin1Char('%');
}

QStringList ZoomSelectorTexts(qreal zoom, qreal minZoom, qreal maxZoom, const QLocale& locale)
{
    const qreal current = zoom * 100;
    const bool insertCurrent = zoom > minZoom && zoom < maxZoom;
    bool inserted = false;
    QStringList texts;
    for (qreal preset : kPresetPercents) {
        if (insertCurrent && !inserted && SamePercent(preset, current))
            inserted = true; // listed once, as the preset itself
        if (insertCurrent && !inserted && preset > current) {
            texts << ZoomPercentText(current, locale);
            inserted = true;
        }
        texts << ZoomPercentText(preset, locale);
    }
    if (insertCurrent && !inserted)
        texts << ZoomPercentText(current, locale);
    return texts;
}

qreal ParseZoomText(const QString& text, qreal minZoom, qreal maxZoom, const QLocale& locale)
{
    const QString point = QRegularExpression::escape(locale.decimalPoint());
    QString digits = text;
    digits.remove(QRegularExpression(QStringLiteral("[^\\d%1]*").arg(point)));
    const qreal zoom = locale.toDouble(digits) / 100;
    return qBound(minZoom, zoom, qMax(minZoom, maxZoom));
}
