#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/OrvexApp.h"
#include "app/OrvexDoc.h"
#include "app/OrvexView.h"
#include "app/SkinMultiDocTemplate.h"
#include "app/Resource.h"
#include "snmp/AppSettings.h"
#include "support/TempXdg.h"
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QStatusTipEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>
#include <set>

namespace {

// One popup: its title and its items as (command, text); command 0 = separator.
struct CPopupSeen
{
    QString strTitle;
    std::vector<std::pair<UINT, QString>> items;
    bool operator==(const CPopupSeen&) const = default;
};

std::vector<CPopupSeen> MenuBarContents(const CMainFrame& frame)
{
    std::vector<CPopupSeen> popups;
    for (QAction* pTop : frame.menuBar()->actions()) {
        CPopupSeen popup{pTop->text(), {}};
        for (QAction* pItem : pTop->menu()->actions())
            popup.items.emplace_back(pItem->isSeparator() ? 0u : pItem->data().toUInt(),
                                     pItem->isSeparator() ? QString() : pItem->text());
        popups.push_back(popup);
    }
    return popups;
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

TEST_F(MainFrame, DocumentMenuAndMainMenu)
{
    const std::vector<CPopupSeen> document = {
        {"&File", {{ID_FILE_NEW, "&New"}, {0, ""}, {ID_SETTINGS, "Settings"}, {0, ""},
                   {ID_FILE_PRINT, "&Print..."}, {ID_FILE_PRINT_PREVIEW, "Print Pre&view"},
                   {ID_FILE_PRINT_SETUP, "P&rint Setup..."}, {0, ""}, {ID_APP_EXIT, "E&xit"}}},
        {"&Edit", {{32774, "Copy Tree To Text Clipboard"}, {0, ""}, {32777, "Expand Node"},
                   {32778, "Collapse Node"}, {0, ""}, {32775, "Expand All"}, {32776, "Collapse All"}}},
        {"&View", {{ID_VIEW_TOOLBAR, "&Toolbar"}, {ID_VIEW_STATUS_BAR, "&Status Bar"}}},
        {"&Window", {{ID_WINDOW_NEW, "&New Window"}, {ID_WINDOW_CASCADE, "&Cascade"},
                     {ID_WINDOW_TILE_HORZ, "&Tile"}, {ID_WINDOW_ARRANGE, "&Arrange Icons"}}},
        {"&Help", {{32773, "Help"}, {0, ""}, {ID_APP_ABOUT, "&About Orvex..."}}},
    };
    EXPECT_EQ(MenuBarContents(*m_pFrame), document);
    EXPECT_EQ(m_pFrame->Action(ID_FILE_NEW)->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(m_pFrame->Action(ID_FILE_PRINT)->shortcut(), QKeySequence("Ctrl+P"));

    // With the last document window gone, the main menu comes back.
    delete Child(0);
    const std::vector<CPopupSeen> main = {
        {"&File", {{ID_FILE_NEW, "&New"}, {ID_FILE_OPEN, "&Open..."}, {0, ""},
                   {ID_FILE_PRINT_SETUP, "P&rint Setup..."}, {0, ""}, {ID_FILE_MRU_FILE1, "Recent File"},
                   {0, ""}, {ID_FILE_CLOSE, "&Close"}, {ID_APP_EXIT, "E&xit"}}},
        {"&View", {{ID_VIEW_TOOLBAR, "&Toolbar"}, {ID_VIEW_STATUS_BAR, "&Status Bar"}}},
        {"&Help", {{ID_APP_ABOUT, "&About Orvex..."}}},
    };
    EXPECT_EQ(MenuBarContents(*m_pFrame), main);
    EXPECT_EQ(m_pFrame->Action(ID_FILE_OPEN)->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_FALSE(Enabled(ID_FILE_CLOSE));
    EXPECT_FALSE(Enabled(ID_FILE_MRU_FILE1));
    EXPECT_FALSE(Enabled(ID_WINDOW_CASCADE));
    ASSERT_TRUE(m_pFrame->RouteCommand(ID_FILE_NEW));
    EXPECT_EQ(MenuBarContents(*m_pFrame), document);
}

TEST_F(MainFrame, PromptsOfTheSystemsCommands)
{
    const std::vector<std::tuple<UINT, const char*, const char*>> prompts = {
        {32771, "Edit the Settings", "Settings"},
        {32773, "Open the Help Manual", "Manual"},
        {32774, "Copy Tree To Clipboard", "Copy Tree"},
        {32775, "Expand All Nodes", "Expand All"},
        {32776, "Collapse All the Nodes", "Collapse All"},
        {32777, "Expand the Selected Node", "Expand Node"},
        {32778, "Callapse the Selected Node", "Collapse Node"},
        {ID_FILE_NEW, "Create a new document", "New"},
        {ID_APP_EXIT, "Quit the application; prompts to save documents", "Exit"},
    };
    for (const auto& [nID, pszStatus, pszTip] : prompts) {
        const QAction* pAction = m_pFrame->Action(nID);
        ASSERT_NE(pAction, nullptr) << nID;
        EXPECT_EQ(pAction->statusTip(), pszStatus) << nID;
        EXPECT_EQ(pAction->toolTip(), pszTip) << nID;
    }
    EXPECT_EQ(m_pFrame->statusBar()->currentMessage(), "Ready");
    QStatusTipEvent tip(m_pFrame->Action(ID_FILE_NEW)->statusTip());
    QCoreApplication::sendEvent(m_pFrame, &tip);
    EXPECT_EQ(m_pFrame->statusBar()->currentMessage(), "Create a new document");
    QStatusTipEvent none{QString()};
    QCoreApplication::sendEvent(m_pFrame, &none);
    EXPECT_EQ(m_pFrame->statusBar()->currentMessage(), "Ready");
}

TEST_F(MainFrame, ToolbarButtonsInOrderWithDistinctImages)
{
    const QToolBar* pToolBar = m_pFrame->findChild<QToolBar*>("ToolBar");
    ASSERT_NE(pToolBar, nullptr);
    std::vector<UINT> ids;
    std::set<size_t> images;
    for (QAction* pAction : pToolBar->actions()) {
        ids.push_back(pAction->isSeparator() ? 0u : pAction->data().toUInt());
        if (!pAction->isSeparator()) {
            const QImage image = pAction->icon().pixmap(16, 15).toImage();
            EXPECT_EQ(image.size(), QSize(16, 15));
            EXPECT_EQ(qAlpha(image.pixel(0, 14)), 0) << "transparent colour kept at " << ids.back();
            images.insert(qHash(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes())));
        }
    }
    const std::vector<UINT> expected = {ID_FILE_NEW, 32771, 0, ID_FILE_PRINT_SETUP, ID_FILE_PRINT_PREVIEW,
                                        ID_FILE_PRINT, 0, 32777, 32775, 0, 32778, 32776, 0, 32774, 0,
                                        32773, ID_APP_ABOUT};
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(images.size(), 12u);
    // Menu items carry the same images.
    EXPECT_FALSE(m_pFrame->Action(32774)->icon().isNull());
}

TEST_F(MainFrame, AcceleratorsAndEnabling)
{
    const std::vector<std::pair<UINT, QList<QKeySequence>>> keys = {
        {ID_FILE_NEW, {QKeySequence("Ctrl+N")}},
        {ID_FILE_OPEN, {QKeySequence("Ctrl+O")}},
        {ID_FILE_SAVE, {QKeySequence("Ctrl+S")}},
        {ID_FILE_PRINT, {QKeySequence("Ctrl+P")}},
        {ID_EDIT_UNDO, {QKeySequence("Ctrl+Z"), QKeySequence("Alt+Backspace")}},
        {ID_EDIT_CUT, {QKeySequence("Ctrl+X"), QKeySequence("Shift+Del")}},
        {ID_EDIT_COPY, {QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins")}},
        {ID_EDIT_PASTE, {QKeySequence("Ctrl+V"), QKeySequence("Shift+Ins")}},
        {ID_NEXT_PANE, {QKeySequence("F6")}},
        {ID_PREV_PANE, {QKeySequence("Shift+F6")}},
    };
    for (const auto& [nID, list] : keys) {
        ASSERT_NE(m_pFrame->Action(nID), nullptr) << nID;
        EXPECT_EQ(m_pFrame->Action(nID)->shortcuts(), list) << nID;
    }

    // Commands nobody handles are disabled and their keys reach the focused window.
    EXPECT_TRUE(Enabled(ID_FILE_NEW));
    EXPECT_TRUE(Enabled(ID_SETTINGS));
    EXPECT_FALSE(Enabled(ID_FILE_SAVE));
    EXPECT_FALSE(Enabled(ID_EDIT_COPY));
    EXPECT_FALSE(m_pFrame->RouteCommand(ID_FILE_SAVE));

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

TEST_F(MainFrame, BarsToggleWithTheirCheckMarks)
{
    QAction* pToolBarAction = m_pFrame->Action(ID_VIEW_TOOLBAR);
    const QToolBar* pToolBar = m_pFrame->findChild<QToolBar*>("ToolBar");
    m_pFrame->UpdateCommandUI();
    EXPECT_TRUE(pToolBarAction->isCheckable());
    EXPECT_TRUE(pToolBarAction->isChecked());

    pToolBarAction->trigger();
    EXPECT_FALSE(pToolBar->isVisible());
    EXPECT_FALSE(pToolBarAction->isChecked());
    pToolBarAction->trigger();
    EXPECT_TRUE(pToolBar->isVisible());
    EXPECT_TRUE(pToolBarAction->isChecked());

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

TEST_F(MainFrame, WindowsOfOneDocumentAreNumbered)
{
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
    EXPECT_EQ(m_pFrame->menuBar()->actions().size(), 5) << "the document menu stays while a window is open";
    delete Child(0);
    EXPECT_EQ(m_app.GetDocTemplate()->GetDocumentCount(), 0u);
    EXPECT_FALSE(Enabled(ID_WINDOW_NEW));
}
