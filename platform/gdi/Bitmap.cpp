#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DC.h"
#include <cmath>

BOOL CBitmap::CreateCompatibleBitmap(const CDC* pDC, int cx, int cy)
{
    if (cx <= 0 || cy <= 0)
        return FALSE;
    const qreal ratio = pDC ? pDC->DevicePixelRatio() : 1.0;
    m_image = QImage(static_cast<int>(std::ceil(cx * ratio)), static_cast<int>(std::ceil(cy * ratio)),
                     QImage::Format_RGB32);
    if (m_image.isNull())
        return FALSE;
    m_image.setDevicePixelRatio(ratio);
    m_image.fill(Qt::black);
    return TRUE;
}

BOOL CBitmap::CreateFromImage(const QImage& image)
{
    m_image = image;
    return m_image.isNull() ? FALSE : TRUE;
}

BOOL CBitmap::LoadBitmap(const QString& strPath)
{
    return m_image.load(strPath) ? TRUE : FALSE;
}

CSize CBitmap::GetSize() const
{
    const QSizeF size = m_image.deviceIndependentSize();
    return CSize(static_cast<int>(std::lround(size.width())), static_cast<int>(std::lround(size.height())));
}
