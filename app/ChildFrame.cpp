#include "app/ChildFrame.h"
#include "app/OrvexDoc.h"
#include "app/OrvexView.h"
#include "app/ResourceIds.h"
#include "platform/res/PictureResources.h"
#include <QIcon>

CChildFrame::CChildFrame(COrvexView* pView, QWidget* pParent)
    : QMdiSubWindow(pParent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(pView);
    setWindowIcon(QIcon(IconResourcePath(IDR_ORVEXTYPE)));
}

COrvexView* CChildFrame::GetActiveView() const
{
    return qobject_cast<COrvexView*>(widget());
}

COrvexDoc* CChildFrame::GetActiveDocument() const
{
    const COrvexView* pView = GetActiveView();
    return pView ? pView->GetDocument() : nullptr;
}

void CChildFrame::UpdateFrameTitle(int nWindow)
{
    const COrvexDoc* pDoc = GetActiveDocument();
    QString strTitle = pDoc ? QString::fromLatin1(pDoc->GetTitle().c_str()) : QString();
    if (nWindow > 0)
        strTitle += QStringLiteral(":%1").arg(nWindow);
    setWindowTitle(strTitle);
}
