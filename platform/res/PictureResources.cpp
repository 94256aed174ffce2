#include "platform/res/PictureResources.h"

QString BitmapResourcePath(UINT nID)
{
    return QStringLiteral(":/Bitmap%1.png").arg(nID);
}

QString IconResourcePath(UINT nID)
{
    return QStringLiteral(":/Icon%1.png").arg(nID);
}

QImage LoadBitmapResource(UINT nID)
{
    return QImage(BitmapResourcePath(nID));
}

QImage ApplyColorKey(const QImage& image, COLORREF crTransparent)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = qRgb(int(GetRValue(crTransparent)), int(GetGValue(crTransparent)), int(GetBValue(crTransparent)));
    for (int y = 0; y < out.height(); ++y) {
        auto* pLine = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((pLine[x] | 0xFF000000u) == key)
                pLine[x] = 0;
    }
    return out;
}
