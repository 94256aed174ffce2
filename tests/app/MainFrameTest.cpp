#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/OrvexApp.h"
#include "app/OrvexDoc.h"
#include "app/OrvexView.h"
#include "app/SkinMultiDocTemplate.h"
#include "app/ResourceIds.h"
#include "snmp/AppSettings.h"
#include "support/TempXdg.h"
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QStatusTipEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>
#include <set>

namespace {

// The titles of the menu bar's popups.
QStringList MenuTitles(const CMainFrame& frame)
{
    QStringList titles;
    for (const QAction* pTop : frame.menuBar()->actions())
        titles << pTop->text();
    return titles;
}

class MainFrame : public testing::Test
{
protected:
    void SetUp() override
    {
        AppSettings.Reset();
        ASSERT_TRUE(m_app.InitInstance());
        m_pFrame = m_app.GetMainFrame();
    }
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    CChildFrame* Child(int n) const
    {
        return qobject_cast<CChildFrame*>(m_pFrame->MdiArea()->subWindowList(QMdiArea::CreationOrder).value(n));
    }
    bool Enabled(UINT nID) const
    {
        m_pFrame->UpdateCommandUI();
        return m_pFrame->Action(nID)->isEnabled();
    }

    CTempXdg m_xdg;
    COrvexApp m_app{std::vector<std::string>{}};
    CMainFrame* m_pFrame = nullptr;  // Not owned.
};

} // namespace

// Windows of one document are numbered; the document menu stays while any
// window is open and the main menu comes back with the last one gone.
TEST_F(MainFrame, WindowsNumberedAndTheMenuFollowsThem)
{
    const QStringList document{"&File", "&Edit", "&View", "&Window", "&Help"};
    EXPECT_EQ(MenuTitles(*m_pFrame), document);
    COrvexDoc* pDoc = Child(0)->GetActiveDocument();
    pDoc->SetTitle("router1");
    EXPECT_EQ(Child(0)->windowTitle(), "router1");
    ASSERT_TRUE(m_pFrame->RouteCommand(ID_WINDOW_NEW));
    ASSERT_NE(Child(1), nullptr);
    EXPECT_EQ(Child(1)->GetActiveDocument(), pDoc);
    EXPECT_NE(Child(1)->GetActiveView(), Child(0)->GetActiveView());
    EXPECT_EQ(Child(0)->windowTitle(), "router1:1");
    EXPECT_EQ(Child(1)->windowTitle(), "router1:2");

    delete Child(0);
    EXPECT_EQ(Child(0)->windowTitle(), "router1");
    EXPECT_EQ(m_app.GetDocTemplate()->GetDocumentCount(), 1u);
    EXPECT_EQ(MenuTitles(*m_pFrame), document);
    delete Child(0);
    EXPECT_EQ(m_app.GetDocTemplate()->GetDocumentCount(), 0u);
    EXPECT_EQ(MenuTitles(*m_pFrame), (QStringList{"&File", "&View", "&Help"}));
    for (UINT nID : {ID_WINDOW_NEW, ID_FILE_CLOSE, ID_FILE_MRU_FILE1, ID_WINDOW_CASCADE})
        EXPECT_FALSE(Enabled(nID)) << nID;
    ASSERT_TRUE(m_pFrame->RouteCommand(ID_FILE_NEW));
    EXPECT_EQ(MenuTitles(*m_pFrame), document);
}

TEST_F(MainFrame, PromptsToolbarImagesAndBarToggles)
{
    // A prompt is the status-bar text, then the tooltip; "Ready" when none shows.
    const QAction* pNew = m_pFrame->Action(ID_FILE_NEW);
    EXPECT_EQ(pNew->statusTip(), "Create a new document");
    EXPECT_EQ(pNew->toolTip(), "New");
    EXPECT_EQ(m_pFrame->statusBar()->currentMessage(), "Ready");
    QStatusTipEvent tip(pNew->statusTip());
    QCoreApplication::sendEvent(m_pFrame, &tip);
    EXPECT_EQ(m_pFrame->statusBar()->currentMessage(), "Create a new document");
    QStatusTipEvent none{QString()};
    QCoreApplication::sendEvent(m_pFrame, &none);
    EXPECT_EQ(m_pFrame->statusBar()->currentMessage(), "Ready");

    // Twelve buttons, each with its own 16 x 15 image on the transparent colour;
    // the menu items carry the same images.
    QToolBar* pToolBar = m_pFrame->findChild<QToolBar*>("ToolBar");
    ASSERT_NE(pToolBar, nullptr);
    std::set<size_t> images;
    for (QAction* pAction : pToolBar->actions()) {
        if (pAction->isSeparator())
            continue;
        const QImage image = pAction->icon().pixmap(16, 15).toImage();
        EXPECT_EQ(qAlpha(image.pixel(0, 14)), 0) << pAction->data().toUInt();
        images.insert(qHash(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes())));
    }
    EXPECT_EQ(images.size(), 12u);
    EXPECT_FALSE(m_pFrame->Action(ID_COPY_TREE)->icon().isNull());

    QAction* pToolBarAction = m_pFrame->Action(ID_VIEW_TOOLBAR);
    m_pFrame->UpdateCommandUI();
    EXPECT_TRUE(pToolBarAction->isChecked());
    pToolBarAction->trigger();
    EXPECT_FALSE(pToolBar->isVisible());
    EXPECT_FALSE(pToolBarAction->isChecked());
    pToolBarAction->trigger();
    EXPECT_TRUE(pToolBar->isVisible() && pToolBarAction->isChecked());
    m_pFrame->Action(ID_VIEW_STATUS_BAR)->trigger();
    EXPECT_FALSE(m_pFrame->statusBar()->isVisible());
    EXPECT_FALSE(m_pFrame->Action(ID_VIEW_STATUS_BAR)->isChecked());

    // The status bar's panes: messages, then the three lock indicators.
    std::vector<UINT> panes;
    for (const QLabel* pLabel : m_pFrame->statusBar()->findChildren<QLabel*>())
        if (pLabel->property("controlId").isValid())
            panes.push_back(pLabel->property("controlId").toUInt());
    EXPECT_EQ(panes, (std::vector<UINT>{ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL}));
}

// Commands nobody handles are disabled, and their keys reach the focused window.
TEST_F(MainFrame, UnhandledCommandsLeaveTheirKeysToTheFocusedWindow)
{
    EXPECT_TRUE(Enabled(ID_SETTINGS));
    EXPECT_FALSE(Enabled(ID_FILE_SAVE));
    EXPECT_FALSE(Enabled(ID_EDIT_COPY));
    EXPECT_FALSE(m_pFrame->RouteCommand(ID_FILE_SAVE));
    EXPECT_EQ(m_pFrame->Action(ID_EDIT_COPY)->shortcuts(), (QList<QKeySequence>{QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins")}));

    QApplication::setActiveWindow(m_pFrame);
    COrvexView* pView = Child(0)->GetActiveView();
    pView->setFocusPolicy(Qt::StrongFocus);
    pView->setFocus();
    struct CKeyLog : QObject
    {
        int nCtrlC = 0;
        bool eventFilter(QObject*, QEvent* pEvent) override
        {
            if (pEvent->type() == QEvent::KeyPress)
                nCtrlC += static_cast<QKeyEvent*>(pEvent)->matches(QKeySequence::Copy) ? 1 : 0;
            return false;
        }
    } log;
    pView->installEventFilter(&log);
    QTest::keyClick(pView, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(log.nCtrlC, 1);

    // An enabled accelerator runs its command.
    QTest::keyClick(pView, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(m_pFrame->MdiArea()->subWindowList().size(), 2);
}
