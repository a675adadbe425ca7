#pragma once

// PDFs for the page view's tests, written on the spot.

#include "../writefile.h"

#include <QPainter>
#include <QPdfWriter>
#include <QVector>

// Pages of the given sizes in points, each with two lines of text and a blue box below them.
inline QString WritePdf(const QString& path, const QVector<QSizeF>& sizes)
{
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageSize(QPageSize(sizes.first(), QPageSize::Point, QString(), QPageSize::ExactMatch));
    QPainter painter(&writer);
    QFont font = painter.font();
    font.setPixelSize(14);
    painter.setFont(font);
    for (int i = 0; i < sizes.size(); ++i) {
        if (i > 0) {
            writer.setPageSize(QPageSize(sizes.at(i), QPageSize::Point, QString(), QPageSize::ExactMatch));
            writer.newPage();
        }
        painter.drawText(QPointF(20, 40), QString("Page %1 alpha beta gamma").arg(i + 1));
        painter.drawText(QPointF(20, 70), QString("delta epsilon zeta"));
        painter.fillRect(QRectF(20, 90, 60, 30), Qt::blue);
    }
    return path;
}

// What QPdfWriter cannot write: two pages of 300 x 300 pt, the first with (in points from the
// bottom left) a link to page 2 at [10 250 100 290], a web link at [10 200 100 240], a named link
// at [10 150 100 190], and the fields "name" (Alice) at [150 250 290 280], multi-line "notes",
// check box "agree" (off), combo "colour" (green of red/green/blue) and read-only "fixed".
inline QString WriteLinksAndFormsPdf(const QString& path)
{
    const QByteArray field = "/Type /Annot /Subtype /Widget /P 3 0 R /F 4 /DA (/Helv 10 Tf 0 g) ";
    const QList<QByteArray> objects{
        "<< /Type /Catalog /Pages 2 0 R /AcroForm << /Fields [8 0 R 9 0 R 10 0 R 11 0 R 12 0 R] /NeedAppearances"
        " true /DA (/Helv 10 Tf 0 g) /DR << /Font << /Helv 14 0 R >> >> >> >>",
        "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 300] /Annots [5 0 R 6 0 R 7 0 R 8 0 R 9 0 R 10 0 R"
        " 11 0 R 12 0 R] >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 300] >>",
        "<< /Type /Annot /Subtype /Link /Rect [10 250 100 290] /Border [0 0 0] /Dest [4 0 R /XYZ 0 300 0] >>",
        "<< /Type /Annot /Subtype /Link /Rect [10 200 100 240] /Border [0 0 0]"
        " /A << /S /URI /URI (https://example.org/vuel) >> >>",
        "<< /Type /Annot /Subtype /Link /Rect [10 150 100 190] /Border [0 0 0] /A << /S /Named /N /NextPage >> >>",
        "<< " + field + "/FT /Tx /T (name) /V (Alice) /Rect [150 250 290 280] >>",
        "<< " + field + "/FT /Tx /T (notes) /V (one\\ntwo) /Ff 4096 /Rect [150 180 290 240] >>",
        "<< " + field +
            "/FT /Btn /T (agree) /V /Off /AS /Off /AP << /N << /Yes 13 0 R /Off 13 0 R >> >>"
            " /Rect [150 150 170 170] >>",
        "<< " + field +
            "/FT /Ch /T (colour) /Ff 131072 /Opt [(red) (green) (blue)] /V (green)"
            " /Rect [150 110 290 130] >>",
        "<< " + field + "/FT /Tx /T (fixed) /V (locked) /Ff 1 /Rect [150 70 290 100] >>",
        "<< >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
    };
    QByteArray out = "%PDF-1.4\n";
    QList<int> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets.append(out.size());
        out += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    const QByteArray count = QByteArray::number(objects.size() + 1);
    const int xref = out.size();
    out += "xref\n0 " + count + "\n0000000000 65535 f \n";
    for (int offset : offsets)
        out += QString("%1 00000 n \n").arg(offset, 10, 10, QChar('0')).toLatin1();
    out += "trailer\n<< /Size " + count + " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    WriteFile(path, out);
    return path;
}
