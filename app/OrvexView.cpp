#include "app/OrvexView.h"
#include "app/Resource.h"
#include "app/Settings.h"

COrvexView::COrvexView(COrvexDoc* pDoc, QWidget* pParent)
    : QWidget(pParent), m_pDocument(pDoc)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

BOOL COrvexView::OnCommand(UINT nID)
{
    if (nID != ID_SETTINGS)
        return FALSE;
    OnSettings();
    return TRUE;
}

BOOL COrvexView::OnUpdateCommand(CCmdUI& cmdUI)
{
    return cmdUI.m_nID == ID_SETTINGS;
}

void COrvexView::OnSettings()
{
    Settings dlg;  // no parent, as the settings dialog has always been opened
    dlg.DoModal();
}
