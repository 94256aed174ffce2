#pragma once
// A bitmap: a QImage that a memory CDC draws into, or a picture loaded from a
// file or resource. Sizes are in logical pixels; the image may hold more device
// pixels on high-density screens.
#include "platform/WinTypes.h"
#include "platform/gdi/GdiTypes.h"
#include <QImage>
#include <QString>

class CDC;

class CBitmap
{
public:
    // An opaque bitmap of cx x cy logical pixels for drawing off-screen in the
    // resolution of pDC's device (null: one device pixel per logical pixel),
    // filled black. FALSE for an empty size.
    BOOL CreateCompatibleBitmap(const CDC* pDC, int cx, int cy);
    // A copy of image (with its alpha channel, if any).
    BOOL CreateFromImage(const QImage& image);
    // Loads a picture file or Qt resource (":/..."). FALSE when it cannot be read.
    BOOL LoadBitmap(const QString& strPath);

    bool IsNull() const { return m_image.isNull(); }
    // Logical size.
    CSize GetSize() const;
    QImage& GetImage() { return m_image; }
    const QImage& GetImage() const { return m_image; }

private:
    QImage m_image;
};
