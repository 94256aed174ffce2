// The table view as a user reaches it: a query in the main frame, a click on a
// node of a table, View > Show Table by keys, then the table window's header,
// cells, Ctrl+C, Refresh button and "Per second" box under the mouse.
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/OrvexApp.h"
#include "app/OrvexView.h"
#include "app/ResourceIds.h"
#include "platform/msgbox/MessageBox.h"
#include "snmp/AppSettings.h"
#include "support/FakeAgent.h"
#include "support/MainWindowTest.h"
#include "support/PumpUntil.h"
#include "support/TempXdg.h"
#include "tableview/TableWindow.h"
#include "tests/treelist/TreeTestUtil.h"
#include "treelist/WideComboBox.h"
#include "ui/ImageButton.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <atomic>
#include <gtest/gtest.h>

namespace {

using treetest::CellPoint;

// The system group and a two-row interface table whose octet counter of row
// 2 is the agent's m_nOctets at each answer.
class CIfAgent
{
public:
    CIfAgent()
        : m_agent([this](const CFakeAgent::CRequest& request, std::size_t) {
              return CFakeAgent::NextFrom(
                  {
                      CFakeAgent::Bytes(".1.3.6.1.2.1.1.1.0", 0x04, "test agent"),
                      CFakeAgent::Number(".1.3.6.1.2.1.2.1.0", 0x02, 2),
                      CFakeAgent::Bytes(".1.3.6.1.2.1.2.2.1.2.1", 0x04, "eth0"),
                      CFakeAgent::Bytes(".1.3.6.1.2.1.2.2.1.2.2", 0x04, "eth1"),
                      CFakeAgent::Number(".1.3.6.1.2.1.2.2.1.3.1", 0x02, 6),
                      CFakeAgent::Number(".1.3.6.1.2.1.2.2.1.3.2", 0x02, 24),
                      CFakeAgent::Number(".1.3.6.1.2.1.2.2.1.10.1", 0x41, 5),
                      CFakeAgent::Number(".1.3.6.1.2.1.2.2.1.10.2", 0x41, m_nOctets.load()),
                  },
                  request);
          })
    {
    }
    std::atomic<long long> m_nOctets{1000};
    CFakeAgent m_agent;  // last: its thread ends before the counter goes
};

class TableView : public CMainWindowTest
{
protected:
    // Walks the agent and expands the whole tree.
    void Query(const std::string& strHost)
    {
        Type(*View().HostBox().lineEdit(), strHost);
        Type(View().CommunityBox(), "public");
        QTest::mouseClick(&View().GoButton(), Qt::LeftButton);
        ASSERT_TRUE(WaitForQuery(View()));
        for (int nRow = Grid().GetItemCount() - 1; nRow >= 0; --nRow) {
            QTest::mouseClick(Grid().viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(Grid(), nRow, 0));
            QTest::keyClick(&Grid(), Qt::Key_Asterisk, Qt::KeypadModifier);
        }
    }
    int RowOf(const std::string& strLabel) const
    {
        for (int nRow = 0; nRow < Grid().GetItemCount(); ++nRow)
            if (Grid().GetItemText(nRow, 0) == strLabel)
                return nRow;
        return -1;
    }
    void ClickNode(const std::string& strLabel)
    {
        const int nRow = RowOf(strLabel);
        std::string strRows;
        for (int n = 0; n < Grid().GetItemCount(); ++n)
            strRows += Grid().GetItemText(n, 0) + "|";
        ASSERT_GE(nRow, 0) << strLabel << " in " << strRows;
        QTest::mouseClick(Grid().viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(Grid(), nRow, 0));
    }
    bool ShowTableEnabled() const
    {
        m_pFrame->UpdateCommandUI();
        return m_pFrame->Action(ID_SHOW_TABLE)->isEnabled();
    }
    // View > Show Table through the menu bar's keys.
    void PressShowTable()
    {
        QTest::keyClick(m_pFrame, Qt::Key_V, Qt::AltModifier);
        QWidget* pMenu = nullptr;
        ASSERT_TRUE(PumpUntil([&] { return (pMenu = QApplication::activePopupWidget()) != nullptr; }));
        QTest::keyClick(pMenu, Qt::Key_B);
        QApplication::processEvents();
    }
    CTableWindow* TableWindow() const
    {
        for (QMdiSubWindow* pFrame : m_pFrame->MdiArea()->subWindowList())
            if (auto* pTable = qobject_cast<CTableWindow*>(pFrame->widget()))
                return pTable;
        return nullptr;
    }
    static bool WaitForWalks(CTableWindow& window, int nWalks)
    {
        return PumpUntil([&] {
            return window.Model().Data().WalkCount() >= nWalks && !window.Refresher().IsWalking();
        }, 10000);
    }
    static QPoint HeaderPoint(QTableView& view, int nColumn)
    {
        QHeaderView* pHeader = view.horizontalHeader();
        return QPoint(pHeader->sectionViewportPosition(nColumn) + pHeader->sectionSize(nColumn) / 2,
                      pHeader->height() / 2);
    }
    static QPoint CellCentre(QTableView& view, int nRow, int nColumn)
    {
        return view.visualRect(view.model()->index(nRow, nColumn)).center();
    }
};

TEST_F(TableView, ShowTableOnAColumnOpensItsTableSortedByNumberAndCopiedAsTabs)
{
    CIfAgent agent;
    Query(agent.m_agent.Address());
    ClickNode("system.sysDescr.0");
    EXPECT_FALSE(ShowTableEnabled());
    ClickNode("ifType");
    ASSERT_TRUE(ShowTableEnabled());
    PressShowTable();
    CTableWindow* pWindow = TableWindow();
    ASSERT_NE(pWindow, nullptr);
    ASSERT_TRUE(WaitForWalks(*pWindow, 1));
    EXPECT_EQ(pWindow->windowTitle().toStdString(), "ifTable - " + agent.m_agent.Address());
    EXPECT_TRUE(m_boxes.empty());

    QTableView& view = pWindow->TableView();
    ASSERT_EQ(view.model()->rowCount(), 2);
    ASSERT_EQ(view.model()->columnCount(), 4);
    QStringList headers;
    for (int nColumn = 0; nColumn < 4; ++nColumn)
        headers << view.model()->headerData(nColumn, Qt::Horizontal).toString();
    EXPECT_EQ(headers, (QStringList{"Index", "ifDescr", "ifType", "ifInOctets"}));

    // Twice on ifType: descending, 24 before 6 as numbers (as texts "6" would lead).
    QTest::mouseClick(view.horizontalHeader()->viewport(), Qt::LeftButton, Qt::NoModifier, HeaderPoint(view, 2));
    QTest::mouseClick(view.horizontalHeader()->viewport(), Qt::LeftButton, Qt::NoModifier, HeaderPoint(view, 2));
    EXPECT_EQ(view.model()->index(0, 2).data().toString(), "24");

    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(view, 0, 0));
    QTest::keyClick(view.viewport(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(view.viewport(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "2\teth1\t24\t1000\n1\teth0\t6\t5\n");

    // Shift+click selects a block: only its cells go.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(view, 0, 1));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, CellCentre(view, 1, 2));
    QTest::keyClick(view.viewport(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "eth1\t24\neth0\t6\n");
}

TEST_F(TableView, RefreshUpdatesTheChangedCellInPlaceAndPerSecondShowsItsRate)
{
    CIfAgent agent;
    Query(agent.m_agent.Address());
    ClickNode("2");  // an instance under ifDescr
    PressShowTable();
    CTableWindow* pWindow = TableWindow();
    ASSERT_NE(pWindow, nullptr);
    ASSERT_TRUE(WaitForWalks(*pWindow, 1));
    QTableView& view = pWindow->TableView();
    // A selection survives an update in place.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(view, 1, 1));

    agent.m_nOctets = 51000;
    QTest::mouseClick(&pWindow->RefreshButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitForWalks(*pWindow, 2));
    EXPECT_EQ(view.model()->index(1, 3).data().toString(), "51000");
    EXPECT_TRUE(pWindow->Model().IsHighlighted(1, 3));
    EXPECT_FALSE(pWindow->Model().IsHighlighted(0, 3));
    EXPECT_TRUE(view.selectionModel()->isSelected(view.model()->index(1, 1)));

    QCheckBox& perSecond = pWindow->PerSecondBox();
    QTest::mouseClick(&perSecond, Qt::LeftButton, Qt::NoModifier, QPoint(8, perSecond.height() / 2));
    ASSERT_TRUE(perSecond.isChecked());
    EXPECT_EQ(view.model()->headerData(3, Qt::Horizontal).toString(), "ifInOctets/s");
    bool bNumber = false;
    const double dRate = view.model()->index(1, 3).data().toString().toDouble(&bNumber);
    EXPECT_TRUE(bNumber);
    EXPECT_GT(dRate, 0.0);
    EXPECT_EQ(view.model()->index(0, 3).data().toString(), "0.0");  // 5 and 5
    EXPECT_EQ(view.model()->index(1, 1).data().toString(), "eth1");  // no counter: as it is
    // The mark goes after a while.
    EXPECT_TRUE(PumpUntil([&] { return !pWindow->Model().IsHighlighted(1, 3); }, 10000));
}

} // namespace
