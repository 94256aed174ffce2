#pragma once
// Bitmaps and icons live in the Qt resource file and keep their resource numbers
// in their names (":/Bitmap132.png", ":/Icon128.png"). The resource file itself is
// linked into the application library.
#include "platform/WinTypes.h"
#include <QImage>
#include <QString>

QString BitmapResourcePath(UINT nID);
QString IconResourcePath(UINT nID);

// The bitmap resource nID; a null image when there is none. Cost: one PNG decode.
QImage LoadBitmapResource(UINT nID);

// A copy of image in which every pixel of exactly the colour crTransparent is
// fully transparent (the colour-keyed bitmaps of the design). Cost: one pass.
QImage ApplyColorKey(const QImage& image, COLORREF crTransparent);
