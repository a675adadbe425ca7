#pragma once

#include <QEasingCurve>
#include <functional>

class QWidget;

class QPropertyAnimation;

// Animates the window's "windowOpacity"; `done` runs when it ends. The animation deletes itself.
QPropertyAnimation* FadeWindowOpacity(QWidget* window, qreal from, qreal to, int ms, std::function<void()> done = {},
                                      QEasingCurve curve = QEasingCurve::Linear);
