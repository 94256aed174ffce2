#pragma once
// The frame of one document window inside the main window: it holds one view,
// opens maximised and shows its document's title as its caption.
#include <QMdiSubWindow>

class COrvexDoc;
class COrvexView;

class CChildFrame : public QMdiSubWindow
{
    Q_OBJECT
public:
    // Takes ownership of pView (a Qt child from then on).
    explicit CChildFrame(COrvexView* pView, QWidget* pParent = nullptr);

    COrvexView* GetActiveView() const;
    COrvexDoc* GetActiveDocument() const;
    // Caption = document title, with ":n" appended when the document has more
    // than one window (nWindow = 0 for none).
    void UpdateFrameTitle(int nWindow);
};
