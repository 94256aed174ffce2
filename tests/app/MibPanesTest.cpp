// The main frame's MIB parts as a user meets them: the modules load in the
// background at start-up, the status bar counts them, "MIB Details" is hidden
// until shown from the View menu, and "MIB Modules" lists loaded and failed files.
#include "app/MainFrame.h"
#include "app/MibDetailsPane.h"
#include "app/MibFrameParts.h"
#include "app/OrvexApp.h"
#include "snmp/AppSettings.h"
#include "support/MibFiles.h"
#include "support/PumpUntil.h"
#include "support/TempXdg.h"
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

QAction* MenuAction(const CMainFrame& frame, const QString& strMenu, const QString& strText)
{
    for (const QAction* pTop : frame.menuBar()->actions())
        if (pTop->text() == strMenu && pTop->menu())
            for (QAction* pAction : pTop->menu()->actions())
                if (pAction->text() == strText)
                    return pAction;
    return nullptr;
}

class MibPanes : public testing::Test
{
protected:
    void SetUp() override
    {
        AppSettings.Reset();
        m_files.Write("ACME-SWITCH-MIB.txt", CMibFiles::kVendorModule);
        m_strBroken = m_files.Write("BROKEN.txt", "BROKEN-MIB DEFINITIONS ::= BEGIN\n"
                                                  "IMPORTS x FROM NO-SUCH-MIB;\nbad OBJECT IDENTIFIER ::= { x 1 }\nEND\n");
        ASSERT_TRUE(m_app.InitInstance());
        m_pFrame = m_app.GetMainFrame();
        m_pParts = m_pFrame->MibParts();
        ASSERT_TRUE(m_pParts);
    }

    CTempXdg m_xdg;
    CMibFiles m_files;
    std::string m_strBroken;
    COrvexApp m_app{std::vector<std::string>{}};
    CMainFrame* m_pFrame = nullptr;  // Not owned.
    CMibFrameParts* m_pParts = nullptr;  // Not owned.
};

} // namespace

TEST_F(MibPanes, ModulesLoadInTheBackgroundAndTheirPaneCountsThem)
{
    QLabel* pStatus = m_pParts->StatusPane();
    AppSettings.SetMibPath(m_files.Folder() + ":" + CMibFiles::kSystemFolder);
    m_pParts->Reload();
    ASSERT_TRUE(PumpUntil([&] { return pStatus->text().endsWith("1 failed"); }, 20000)) << pStatus->text().toStdString();
    EXPECT_TRUE(pStatus->text().startsWith("MIBs: ")) << pStatus->text().toStdString();
    EXPECT_TRUE(pStatus->isVisible());

    // Hidden until the View menu shows it; then it follows the selected OID.
    CMibDetailsPane* pPane = m_pParts->DetailsPane();
    EXPECT_FALSE(pPane->isVisible());
    QAction* pShow = MenuAction(*m_pFrame, "&View", "MIB &Details");
    ASSERT_TRUE(pShow);
    pShow->trigger();
    EXPECT_TRUE(pPane->isVisible());
    m_pParts->FollowSelection(".1.3.6.1.4.1.99999.1.1.1.2.4");
    const QString strText = pPane->findChild<QTextBrowser*>("MibDetailsText")->toPlainText();
    EXPECT_TRUE(strText.contains("acmePortState.4")) << strText.toStdString();
    EXPECT_TRUE(strText.contains("up(1), down(2), testing(3)")) << strText.toStdString();
    m_pParts->FollowSelection("");
    EXPECT_TRUE(pPane->findChild<QTextBrowser*>("MibDetailsText")->toPlainText().startsWith("Select a variable"));

    // The modules window: what loaded from where, and the broken file with its line.
    QAction* pModules = MenuAction(*m_pFrame, "&View", "MIB &Modules...");
    ASSERT_TRUE(pModules);
    pModules->trigger();
    auto* pList = m_pFrame->findChild<QTreeWidget*>("MibModuleList");
    ASSERT_TRUE(pList);
    bool bVendor = false, bBroken = false;
    for (int i = 0; i < pList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* pItem = pList->topLevelItem(i);
        bVendor |= pItem->text(0) == "ACME-SWITCH-MIB" && pItem->text(1) == "loaded";
        bBroken |= pItem->text(1) == "failed" && pItem->text(2).toStdString() == m_strBroken && pItem->text(3) == "2";
    }
    EXPECT_TRUE(bVendor);
    EXPECT_TRUE(bBroken);
    EXPECT_TRUE(MenuAction(*m_pFrame, "&File", "Load &MIB..."));
}
