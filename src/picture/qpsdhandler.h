#pragma once

#include <QImageIOHandler>

// Reads the merged image of a Photoshop document (PSD or PSB); layers are skipped.
class QPsdHandler : public QImageIOHandler
{
public:
    bool canRead() const override;
    bool read(QImage* image) override;
    QVariant option(ImageOption option) const override;
    bool supportsOption(ImageOption option) const override;

    static bool canRead(QIODevice* device);

    // The largest merged image read, in bytes of pixel data: no picture is worth more memory.
    static constexpr qint64 MaxImageBytes = 1LL << 30;
};
