#include "font/cfontspecimenview.h"

#include "font/fontspecimen.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kMargin = 24;
constexpr int kGap = 10;
constexpr int kGlyphPointSize = 24;

} // namespace

CFontSpecimenView::CFontSpecimenView(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void CFontSpecimenView::SetFont(const LoadedFont& font)
{
    m_font = font;
    m_texts = SpecimenTextsFor(font.writingSystems);
    m_loaded = true;
    updateGeometry();
    update();
}

void CFontSpecimenView::SetSentence(const QString& sentence)
{
    m_sentence = sentence;
    updateGeometry();
    update();
}

void CFontSpecimenView::Clear()
{
    m_loaded = false;
    m_font = LoadedFont();
    update();
}

QFont CFontSpecimenView::FontAt(int pointSize) const
{
    QFont font(m_font.family, pointSize, m_font.weight, m_font.slant == QFont::StyleItalic);
    font.setStyleName(m_font.style);
    font.setStyle(m_font.slant);
    // Never another family's glyphs in place of missing ones: the specimen shows what this font has.
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

template <typename Draw>
int CFontSpecimenView::Lay(Draw draw) const
{
    int y = kMargin;
    const auto line = [&](const QFont& font, const QString& text) {
        const QFontMetrics metrics(font);
        draw(font, text, y + metrics.ascent());
        y += metrics.height() + kGap;
    };
    QFont title = QWidget::font();
    title.setPointSize(16);
    title.setBold(true);
    line(title, SpecimenTitle(m_font.family, m_font.style));
    y += kGap;
    for (const QString& text : m_texts.glyphLines)
        line(FontAt(kGlyphPointSize), text);
    y += kGap;
    const QString sentence = m_sentence.isEmpty() ? m_texts.sentence : m_sentence;
    for (int size : SpecimenPointSizes())
        line(FontAt(size), sentence);
    return y + kMargin;
}

QSize CFontSpecimenView::sizeHint() const
{
    if (!m_loaded)
        return QSize(400, 300);
    int width = 0;
    const int height = Lay([&](const QFont& font, const QString& text, int) {
        width = std::max(width, QFontMetrics(font).horizontalAdvance(text));
    });
    return QSize(width + 2 * kMargin, height);
}

void CFontSpecimenView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!m_loaded)
        return;
    painter.setPen(QColor(0x20, 0x20, 0x20));
    Lay([&](const QFont& font, const QString& text, int baseline) {
        painter.setFont(font);
        painter.drawText(kMargin, baseline, text);
    });
}
