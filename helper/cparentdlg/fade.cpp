#include "cparentdlg/fade.h"

#include <QPropertyAnimation>
#include <QWidget>

QPropertyAnimation* FadeWindowOpacity(QWidget* window, qreal from, qreal to, int ms, std::function<void()> done, QEasingCurve curve)
{
    auto* animation = new QPropertyAnimation(window, "windowOpacity", window);
    animation->setDuration(ms);
    animation->setStartValue(from);
    animation->setEndValue(to);
    animation->setEasingCurve(curve);
    if (done)
        QObject::connect(animation, &QPropertyAnimation::finished, window, std::move(done));
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    return animation;
}
