#pragma once
// The print preview window: a job's pages one below the other, at the paper's
// size on the screen times the zoom, with Print..., page and zoom commands.
//
// A page is drawn only while it is in view, straight onto the screen by the
// function the print service gives, and nothing of it is kept: the memory the
// window takes does not grow with the number of pages. The function gets a
// painter in which one unit is one device pixel of the printer, its origin at
// the printable area's corner, clipped to the paper.
//
// Keys: Page Up/Down and the arrows scroll, Home/End go to the first/last page,
// Ctrl++ and Ctrl+- zoom, Escape closes. Modal; UI thread only.
#include "platform/WinTypes.h"
#include <QDialog>
#include <functional>

class QAbstractScrollArea;
class QPainter;
class QPrinter;
class QSpinBox;

class CPrintPreviewWnd : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kPrintResult = 2;  // closed by "Print...": print the job
    using PageDrawer = std::function<void(QPainter& painter, UINT nPage)>;

    // printer: the job's device (Not owned; outlives this), read for the paper
    // and printable area. nPages: the job's pages, numbered from 1.
    CPrintPreviewWnd(const QPrinter& printer, UINT nPages, PageDrawer fnDraw, QWidget* pParent);
    ~CPrintPreviewWnd() override;

    UINT PageCount() const { return m_nPages; }
    // The page at the top of the view (1 for the first).
    UINT CurrentPage() const;
    void GoToPage(UINT nPage);
    // 1.0 shows the paper at its real size.
    double Zoom() const { return m_dZoom; }
    void SetZoom(double dZoom);
    void FitWidth();

protected:
    // The first showing fits the pages to the window's width.
    void showEvent(QShowEvent* pEvent) override;

private:
    class CPages;
    void OnScrolled();

    const UINT m_nPages;
    double m_dZoom = 1.0;
    bool m_bShown = false;
    CPages* m_pPages;      // Not owned: a child widget.
    QSpinBox* m_pPageBox;  // Not owned: a child widget.
};
