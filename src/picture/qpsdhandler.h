#pragma once

#include <QImageIOHandler>
#include <QSize>

// Reads the merged image of a Photoshop document (PSD or PSB); layers are skipped.
class QPsdHandler : public QImageIOHandler
{
public:
    bool canRead() const override;
    bool read(QImage* image) override;
    QVariant option(ImageOption option) const override;
    bool supportsOption(ImageOption option) const override;
    // ScaledSize: a picture of about that size is read from every n-th row and column only, which
    // spares unpacking and holding the whole; it fails where the depth or packing has no such rows.
    void setOption(ImageOption option, const QVariant& value) override;

    static bool canRead(QIODevice* device);

    // The largest merged image read, in bytes of pixel data: no picture is worth more memory.
    static constexpr qint64 MaxImageBytes = 1LL << 30;

private:
    QSize m_scaledSize;
};
