#include "platform/res/Resources.h"

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
