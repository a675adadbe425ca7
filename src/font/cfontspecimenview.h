#pragma once

#include "font/cfontmanager.h"
#include "font/fontspecimen.h"

#include <QWidget>

// The specimen page of one font: its name, its glyphs, and the sample sentence from small to
// large, each drawn with the font itself.
class CFontSpecimenView : public QWidget
{
    Q_OBJECT
public:
    explicit CFontSpecimenView(QWidget* parent = nullptr);

    void SetFont(const LoadedFont& font);
    void SetSentence(const QString& sentence);
    void Clear();
    QString DefaultSentence() const { return m_texts.sentence; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont FontAt(int pointSize) const;
    // Calls `draw` with every line's font, text and baseline, from the top; returns the height.
    template <typename Draw>
    int Lay(Draw draw) const;

    LoadedFont m_font;
    SpecimenTexts m_texts;
    QString m_sentence;
    bool m_loaded = false;
};
