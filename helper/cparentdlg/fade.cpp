#include "cparentdlg/fade.h"

#include <QPropertyAnimation>
#include <QWidget>

QPropertyAnimation* FadeWindowOpacity(QWidget* window, qreal from, qreal to, int ms, std::function<void()> done,
                                      QEasingCurve curve)
{
    auto* animation = new QPropertyAnimation(window, "windowOpacity", window);
    animation->setDuration(ms);
    animation->setStartValue(from);
    animation->setEndValue(to);
    animation->setEasingCurve(curve);
    if (done)
        QObject::connect(animation, &QPropertyAnimation::finished, window, std::move(done));
    // Qt queues the opacity for the window system and sends it with the next drawing; a fade
    // draws nothing, so without a drawing of its own only the last step would arrive.
    QObject::connect(animation, &QVariantAnimation::valueChanged, window, [window] { window->update(0, 0, 1, 1); });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    return animation;
}
