#include "platform/print/PrintPreviewWnd.h"
#include <QAbstractScrollArea>
#include <QAction>
#include <QKeyEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kGap = 16;          // screen pixels around and between pages
constexpr int kShadow = 3;
constexpr double kZoomStep = 1.25;
constexpr double kMinZoom = 0.1;
constexpr double kMaxZoom = 8.0;

} // namespace

// The scrolled stack of pages; paints the ones in view.
class CPrintPreviewWnd::CPages : public QAbstractScrollArea
{
public:
    CPages(const QPrinter& printer, UINT nPages, PageDrawer fnDraw, std::function<void()> fnScrolled,
           QWidget* pParent)
        : QAbstractScrollArea(pParent), m_printer(printer), m_nPages(nPages), m_fnDraw(std::move(fnDraw)),
          m_fnScrolled(std::move(fnScrolled)),
          m_paper(printer.paperRect(QPrinter::DevicePixel)), m_printable(printer.pageRect(QPrinter::DevicePixel))
    {
        setFocusPolicy(Qt::StrongFocus);
        verticalScrollBar()->setSingleStep(kGap * 2);
        horizontalScrollBar()->setSingleStep(kGap * 2);
    }

    void SetZoom(double dZoom)
    {
        // The point at the top of the view stays there, as a share of the stack.
        const double dAt = ContentHeight() > 0 ? double(verticalScrollBar()->value()) / ContentHeight() : 0.0;
        m_dZoom = dZoom;
        UpdateScrollBars();
        verticalScrollBar()->setValue(static_cast<int>(std::lround(dAt * ContentHeight())));
        viewport()->update();
    }

    // The zoom at which a page and its margins fill the view's width, leaving
    // room for the vertical scroll bar a page that tall brings.
    double WidthZoom() const
    {
        const double dPaper = m_paper.width() * ScreenPerDevice(1.0).width();
        const int nBar = verticalScrollBar()->isVisible() ? 0 : verticalScrollBar()->sizeHint().width();
        return dPaper > 0 ? double(viewport()->width() - nBar - 2 * kGap) / dPaper : 1.0;
    }

    UINT CurrentPage() const
    {
        if (m_nPages == 0)
            return 0;
        const int nPitch = PageSize().height() + kGap;
        const UINT nIndex = static_cast<UINT>(std::max(0, verticalScrollBar()->value() + kGap) / std::max(1, nPitch));
        return std::min(nIndex + 1, m_nPages);
    }

    void GoToPage(UINT nPage)
    {
        if (nPage >= 1 && nPage <= m_nPages)
            verticalScrollBar()->setValue(PageTop(nPage - 1) - kGap);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(viewport());
        painter.fillRect(viewport()->rect(), palette().color(QPalette::Dark));
        const QSize size = PageSize();
        const int nTop = verticalScrollBar()->value();
        const int x = size.width() + 2 * kGap <= viewport()->width() ? (viewport()->width() - size.width()) / 2
                                                                      : kGap - horizontalScrollBar()->value();
        const int nPitch = size.height() + kGap;
        for (UINT nIndex = static_cast<UINT>(std::max(0, nTop - kGap) / std::max(1, nPitch));
             nIndex < m_nPages && PageTop(nIndex) < nTop + viewport()->height(); ++nIndex)
            PaintPage(painter, QRect(QPoint(x, PageTop(nIndex) - nTop), size), nIndex + 1);
    }

    void resizeEvent(QResizeEvent*) override { UpdateScrollBars(); }

    void scrollContentsBy(int, int) override
    {
        viewport()->update();
        m_fnScrolled();
    }

    void keyPressEvent(QKeyEvent* pEvent) override
    {
        if (pEvent->key() == Qt::Key_Home)
            GoToPage(1);
        else if (pEvent->key() == Qt::Key_End)
            GoToPage(m_nPages);
        else
            QAbstractScrollArea::keyPressEvent(pEvent);
    }

private:
    // Screen pixels per device pixel of the printer.
    QSizeF ScreenPerDevice(double dZoom) const
    {
        return QSizeF(dZoom * viewport()->logicalDpiX() / std::max(1, m_printer.logicalDpiX()),
                      dZoom * viewport()->logicalDpiY() / std::max(1, m_printer.logicalDpiY()));
    }

    QSize PageSize() const
    {
        const QSizeF scale = ScreenPerDevice(m_dZoom);
        return QSize(std::max(1, static_cast<int>(m_paper.width() * scale.width())),
                     std::max(1, static_cast<int>(m_paper.height() * scale.height())));
    }

    int PageTop(UINT nIndex) const { return kGap + static_cast<int>(nIndex) * (PageSize().height() + kGap); }
    int ContentHeight() const { return PageTop(m_nPages); }

    void UpdateScrollBars()
    {
        const QSize view = viewport()->size();
        verticalScrollBar()->setPageStep(view.height());
        verticalScrollBar()->setRange(0, std::max(0, ContentHeight() - view.height()));
        horizontalScrollBar()->setPageStep(view.width());
        horizontalScrollBar()->setRange(0, std::max(0, PageSize().width() + 2 * kGap - view.width()));
    }

    void PaintPage(QPainter& painter, const QRect& rcPaper, UINT nPage)
    {
        painter.fillRect(rcPaper.translated(kShadow, kShadow), palette().color(QPalette::Shadow));
        painter.fillRect(rcPaper, Qt::white);
        painter.save();
        painter.setClipRect(rcPaper);
        painter.translate(rcPaper.topLeft());
        const QSizeF scale = ScreenPerDevice(m_dZoom);
        painter.scale(scale.width(), scale.height());
        painter.translate(m_printable.topLeft() - m_paper.topLeft());
        m_fnDraw(painter, nPage);
        painter.restore();
    }

    const QPrinter& m_printer;  // Not owned.
    const UINT m_nPages;
    const PageDrawer m_fnDraw;
    const std::function<void()> m_fnScrolled;
    const QRectF m_paper, m_printable;  // device pixels
    double m_dZoom = 1.0;
};

CPrintPreviewWnd::CPrintPreviewWnd(const QPrinter& printer, UINT nPages, PageDrawer fnDraw, QWidget* pParent)
    : QDialog(pParent), m_nPages(nPages)
{
    setWindowTitle(QStringLiteral("Print Preview"));
    m_pPages = new CPages(printer, nPages, std::move(fnDraw), [this] { OnScrolled(); }, this);
    m_pPageBox = new QSpinBox(this);
    m_pPageBox->setRange(std::min<int>(1, nPages), static_cast<int>(nPages));
    m_pPageBox->setSuffix(QStringLiteral(" of %1").arg(nPages));
    connect(m_pPageBox, &QSpinBox::valueChanged, this, [this](int nPage) { GoToPage(static_cast<UINT>(nPage)); });

    auto* pTools = new QToolBar(this);
    connect(pTools->addAction(QStringLiteral("&Print...")), &QAction::triggered, this, [this] { done(kPrintResult); });
    pTools->addSeparator();
    connect(pTools->addAction(QStringLiteral("Pre&v Page")), &QAction::triggered, this,
            [this] { GoToPage(CurrentPage() - 1); });
    pTools->addWidget(m_pPageBox);
    connect(pTools->addAction(QStringLiteral("&Next Page")), &QAction::triggered, this,
            [this] { GoToPage(CurrentPage() + 1); });
    pTools->addSeparator();
    QAction* pZoomIn = pTools->addAction(QStringLiteral("Zoom &In"));
    pZoomIn->setShortcut(QKeySequence::ZoomIn);
    connect(pZoomIn, &QAction::triggered, this, [this] { SetZoom(m_dZoom * kZoomStep); });
    QAction* pZoomOut = pTools->addAction(QStringLiteral("Zoom &Out"));
    pZoomOut->setShortcut(QKeySequence::ZoomOut);
    connect(pZoomOut, &QAction::triggered, this, [this] { SetZoom(m_dZoom / kZoomStep); });
    connect(pTools->addAction(QStringLiteral("Fit &Width")), &QAction::triggered, this, [this] { FitWidth(); });
    pTools->addSeparator();
    connect(pTools->addAction(QStringLiteral("&Close")), &QAction::triggered, this, &QDialog::reject);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addWidget(pTools);
    pLayout->addWidget(m_pPages, 1);
    m_pPages->setFocus();
}

CPrintPreviewWnd::~CPrintPreviewWnd() = default;

UINT CPrintPreviewWnd::CurrentPage() const
{
    return m_pPages->CurrentPage();
}

void CPrintPreviewWnd::GoToPage(UINT nPage)
{
    m_pPages->GoToPage(nPage);
}

void CPrintPreviewWnd::SetZoom(double dZoom)
{
    m_dZoom = std::clamp(dZoom, kMinZoom, kMaxZoom);
    m_pPages->SetZoom(m_dZoom);
}

void CPrintPreviewWnd::FitWidth()
{
    SetZoom(m_pPages->WidthZoom());
}

void CPrintPreviewWnd::showEvent(QShowEvent* pEvent)
{
    QDialog::showEvent(pEvent);
    if (!m_bShown) {
        m_bShown = true;
        FitWidth();
    }
}

void CPrintPreviewWnd::OnScrolled()
{
    const QSignalBlocker block(m_pPageBox);
    m_pPageBox->setValue(static_cast<int>(CurrentPage()));
}
