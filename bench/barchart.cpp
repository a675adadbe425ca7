// barchart OUT.png < ROWS
// Draws the side-by-side comparison as horizontal bars on a logarithmic time axis: one panel for
// the cold first preview, one for the warm median. ROWS are tab-separated:
//   file  vuel_cold_ms  sushi_cold_ms  vuel_warm_ms  sushi_warm_ms
// where "-" is a side that showed nothing (Sushi lists no archive).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <cmath>
#include <cstdio>

namespace {

struct Row {
    QString file;
    double ms[4]; // vuel cold, sushi cold, vuel warm, sushi warm; < 0: none
};

const QColor kVuel(0x1e, 0x88, 0xe5);
const QColor kSushi(0x9e, 0x9e, 0x9e);
constexpr int kLabelWidth = 170, kPanelWidth = 400, kBar = 11, kRowHeight = 2 * kBar + 10, kTop = 70;
constexpr double kMinMs = 10, kMaxMs = 10000;

QVector<Row> ReadRows()
{
    QVector<Row> rows;
    QTextStream in(stdin);
    for (QString line; in.readLineInto(&line);) {
        const QStringList cells = line.split(QLatin1Char('\t'));
        if (cells.size() < 5)
            continue;
        Row r{cells[0], {}};
        for (int i = 0; i < 4; ++i) {
            bool ok = false;
            const double v = cells[i + 1].toDouble(&ok);
            r.ms[i] = ok ? v : -1;
        }
        rows << r;
    }
    return rows;
}

double XOf(double ms) // 0..1 along the panel
{
    const double clamped = std::min(std::max(ms, kMinMs), kMaxMs);
    return std::log10(clamped / kMinMs) / std::log10(kMaxMs / kMinMs);
}

void DrawAxis(QPainter& p, int left, int bottom, const QString& title)
{
    p.setPen(Qt::black);
    p.drawText(QRect(left, kTop - 40, kPanelWidth, 20), Qt::AlignCenter, title);
    for (double ms = kMinMs; ms <= kMaxMs; ms *= 10) {
        const int x = left + int(XOf(ms) * kPanelWidth);
        p.setPen(QColor(0xdd, 0xdd, 0xdd));
        p.drawLine(x, kTop - 8, x, bottom);
        p.setPen(Qt::darkGray);
        p.drawText(QRect(x - 40, bottom + 4, 80, 16), Qt::AlignCenter,
                   ms >= 1000 ? QStringLiteral("%1 s").arg(ms / 1000) : QStringLiteral("%1 ms").arg(ms));
    }
}

void DrawBar(QPainter& p, int left, int y, double ms, const QColor& colour)
{
    if (ms < 0) {
        p.setPen(Qt::darkGray);
        p.drawText(QRect(left + 4, y, 200, kBar), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("not shown"));
        return;
    }
    const int w = std::max(2, int(XOf(ms) * kPanelWidth));
    p.fillRect(left, y, w, kBar, colour);
    p.setPen(Qt::black);
    p.drawText(QRect(left + w + 4, y - 2, 90, kBar + 4), Qt::AlignVCenter | Qt::AlignLeft, QString::number(ms, 'f', 0));
}

QImage Draw(const QVector<Row>& rows)
{
    const int bottom = kTop + rows.size() * kRowHeight;
    QImage image(kLabelWidth + 2 * (kPanelWidth + 90) + 20, bottom + 50, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font = p.font();
    font.setPixelSize(12);
    p.setFont(font);
    const int panels[2] = {kLabelWidth, kLabelWidth + kPanelWidth + 90};
    DrawAxis(p, panels[0], bottom, QStringLiteral("cold: first preview after start (ms to painted)"));
    DrawAxis(p, panels[1], bottom, QStringLiteral("warm: median of 5 (ms to painted)"));
    for (int i = 0; i < rows.size(); ++i) {
        const int y = kTop + i * kRowHeight;
        p.setPen(Qt::black);
        p.drawText(QRect(8, y, kLabelWidth - 16, 2 * kBar), Qt::AlignVCenter | Qt::AlignRight, rows[i].file);
        for (int k = 0; k < 2; ++k) {
            DrawBar(p, panels[k], y, rows[i].ms[2 * k], kVuel);
            DrawBar(p, panels[k], y + kBar, rows[i].ms[2 * k + 1], kSushi);
        }
    }
    p.fillRect(kLabelWidth, 8, 12, 12, kVuel);
    p.setPen(Qt::black);
    p.drawText(kLabelWidth + 18, 19, QStringLiteral("Vuel"));
    p.fillRect(kLabelWidth + 70, 8, 12, 12, kSushi);
    p.drawText(kLabelWidth + 88, 19, QStringLiteral("GNOME Sushi"));
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: barchart OUT.png < ROWS\n");
        return 2;
    }
    const QVector<Row> rows = ReadRows();
    if (rows.isEmpty() || !Draw(rows).save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "barchart: no rows, or %s cannot be written\n", argv[1]);
        return 1;
    }
    return 0;
}
