#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// The zoom selector's entries ("12.5%", "25%", ... "300%"), with the current zoom's entry
// inserted before the first greater one when it lies between the limits.
QStringList ZoomSelectorTexts(qreal zoom, qreal minZoom, qreal maxZoom, const QLocale& locale);
// "150%", "12.5%": two decimals, trailing zeros and a trailing decimal point dropped.
QString ZoomPercentText(qreal percent, const QLocale& locale);
// Typed text to a zoom factor within [minZoom, maxZoom].
qreal ParseZoomText(const QString& text, qreal minZoom, qreal maxZoom, const QLocale& locale);
