#include "app/HelpWindow.h"
#include <QAction>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Orvex Help");

} // namespace

CHelpWindow* CHelpWindow::Open(QWidget* pOwner, const QUrl& url)
{
    CHelpWindow* pWindow = pOwner ? pOwner->findChild<CHelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!pWindow)
        pWindow = new CHelpWindow(pOwner);  // owned by pOwner, or by itself (deleted on close)
    pWindow->m_pBrowser->setSource(url);
    pWindow->show();
    pWindow->raise();
    pWindow->activateWindow();
    return pWindow;
}

CHelpWindow::CHelpWindow(QWidget* pOwner)
    : QWidget(pOwner, Qt::Window), m_pBrowser(new QTextBrowser(this))
{
    setAttribute(Qt::WA_DeleteOnClose, pOwner == nullptr);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(kTitle);
    resize(860, 680);

    auto* pToolBar = new QToolBar(this);
    pToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_pBack = pToolBar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), tr("Back"), m_pBrowser,
                                  &QTextBrowser::backward);
    m_pForward = pToolBar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), tr("Forward"), m_pBrowser,
                                     &QTextBrowser::forward);
    m_pHome = pToolBar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), tr("Contents"), m_pBrowser,
                                  &QTextBrowser::home);
    m_pBack->setShortcut(QKeySequence::Back);
    m_pForward->setShortcut(QKeySequence::Forward);
    m_pBack->setEnabled(false);
    m_pForward->setEnabled(false);
    connect(m_pBrowser, &QTextBrowser::backwardAvailable, m_pBack, &QAction::setEnabled);
    connect(m_pBrowser, &QTextBrowser::forwardAvailable, m_pForward, &QAction::setEnabled);
    connect(m_pBrowser, &QTextBrowser::sourceChanged, this, &CHelpWindow::ShowTitle);

    // Links to the web go to the desktop; links inside the manual stay here.
    m_pBrowser->setOpenExternalLinks(true);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addWidget(pToolBar);
    pLayout->addWidget(m_pBrowser);
}

void CHelpWindow::ShowTitle()
{
    const QString strDocument = m_pBrowser->documentTitle();
    setWindowTitle(strDocument.isEmpty() ? kTitle : strDocument);
}
