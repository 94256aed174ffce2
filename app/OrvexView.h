#pragma once
// The view of a document window. For now an empty area that carries the
// view's commands; the query bar and the grid take it over.
#include "app/CmdTarget.h"
#include <QWidget>

class COrvexDoc;

class COrvexView : public QWidget, public CCmdTarget
{
    Q_OBJECT
public:
    // pDoc: the view's document (Not owned; outlives the view).
    explicit COrvexView(COrvexDoc* pDoc, QWidget* pParent = nullptr);

    COrvexDoc* GetDocument() const { return m_pDocument; }

    BOOL OnCommand(UINT nID) override;
    BOOL OnUpdateCommand(CCmdUI& cmdUI) override;

private:
    void OnSettings();

    COrvexDoc* m_pDocument;  // Not owned.
};
