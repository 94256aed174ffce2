// The grid's context menu, Ctrl+C and File > Export as a user meets them: the
// whole main frame, right clicks through the window, the menu's items clicked,
// the Set Value dialog typed into, against a real snmpd.
#include "app/GridContextMenu.h"
#include "app/ResourceIds.h"
#include "app/SetValueDlg.h"
#include "support/CsvReader.h"
#include "support/MainWindowTest.h"
#include "support/PumpUntil.h"
#include "support/SnmpdFixture.h"
#include "tableview/TableWindow.h"
#include "tests/treelist/TreeTestUtil.h"
#include "treelist/WideComboBox.h"
#include "ui/ImageButton.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>
#include <QMdiSubWindow>
#include <map>

namespace {

using treetest::CellPoint;
using Node = CTreeListCtrl::CTreeItem;
constexpr const char* kSystem = ".1.3.6.1.2.1.1";
// The object resources table, as the cleaning folds it.
constexpr const char* kTable = "sysORTable.sysOREntry";

// Runs onWidget on the first widget that pred finds once the current call has
// opened it (a menu's or a dialog's own loop), polling from inside that loop.
void WhenShown(std::function<QWidget*()> find, std::function<void(QWidget*)> onWidget)
{
    auto* pTimer = new QTimer;
    QObject::connect(pTimer, &QTimer::timeout, pTimer, [pTimer, find, onWidget] {
        if (QWidget* pWidget = find(); pWidget && pWidget->isVisible()) {
            pTimer->stop();
            pTimer->deleteLater();
            onWidget(pWidget);
        }
    });
    pTimer->start(10);
}

class GridContextMenu : public CMainWindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_agent.IsRunning()) << m_agent.Error();
        CMainWindowTest::SetUp();
        AppSettings.SetBase(kSystem);
        AppSettings.Retries = 1;
    }
    void TearDown() override
    {
        CMainWindowTest::TearDown();
        AppSettings.Reset();
    }

    // Types the agent into the bar, clicks Go, waits for the end of the query
    // and its cleanings, then expands every node.
    void Query()
    {
        QLineEdit& host = *View().HostBox().lineEdit();
        host.setFocus();
        QTest::keyClicks(&host, QString::fromStdString(m_agent.Address()));
        QTest::keyClicks(&View().CommunityBox(), CSnmpdFixture::kWriteCommunity);
        QTest::mouseClick(&View().GoButton(), Qt::LeftButton);
        ASSERT_TRUE(WaitForQuery(View()));
        ASSERT_TRUE(Grid().HasRoots());
        Grid().ExpandCollapseAll(TRUE);
        ASSERT_TRUE(PumpUntil([&] { return !Grid().IsWholeTreeJobRunning(); }, 60000));
    }
    int RowOf(const std::string& strLabel) const
    {
        for (int nRow = 0; nRow < Grid().GetItemCount(); ++nRow)
            if (Grid().GetItemText(nRow, 0) == strLabel)
                return nRow;
        return -1;
    }
    // The row of the variable with this OID.
    int RowOfOid(const std::string& strOid) const
    {
        for (int nRow = 0; nRow < Grid().GetItemCount(); ++nRow)
            if (Grid().GetItemText(nRow, COidTreeGrid::colOid) == strOid)
                return nRow;
        return -1;
    }

    // A right click on the cell, through the main window as the platform
    // delivers it; onMenu gets the menu it opens and chooses from it (or closes it).
    void RightClick(int nRow, int nColumn, std::function<void(QMenu&)> onMenu)
    {
        const QPoint pt = nRow < 0 ? QPoint(20, Grid().viewport()->height() - 5) : CellPoint(Grid(), nRow, nColumn);
        bool bShown = false;
        WhenShown([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); },
                  [&](QWidget* pMenu) {
                      bShown = true;
                      onMenu(*static_cast<QMenu*>(pMenu));
                  });
        QWindow* pWindow = m_pFrame->windowHandle();
        QTest::mouseClick(pWindow, Qt::RightButton, Qt::NoModifier, Grid().viewport()->mapTo(m_pFrame, pt));
        PumpUntil([&] { return bShown && !QApplication::activePopupWidget(); });
        EXPECT_TRUE(bShown) << "no menu opened";
    }
    static QAction* Item(QMenu& menu, const char* pszText)
    {
        for (QAction* pAction : menu.actions())
            if (pAction->text() == pszText)
                return pAction;
        ADD_FAILURE() << "no item " << pszText;
        return nullptr;
    }
    static void Choose(QMenu& menu, const char* pszText)
    {
        if (QAction* pAction = Item(menu, pszText))
            QTest::mouseClick(&menu, Qt::LeftButton, Qt::NoModifier, menu.actionGeometry(pAction).center());
    }
    // The enabled state of every item of the menu the cell opens.
    std::map<std::string, bool> ItemStates(int nRow, int nColumn = 0)
    {
        std::map<std::string, bool> states;
        RightClick(nRow, nColumn, [&](QMenu& menu) {
            for (QAction* pAction : menu.actions())
                if (!pAction->isSeparator())
                    states[pAction->text().toStdString()] = pAction->isEnabled();
            menu.close();
        });
        return states;
    }
    std::string ChooseAndCopy(int nRow, const char* pszItem)
    {
        QApplication::clipboard()->setText("before");
        RightClick(nRow, 0, [&](QMenu& menu) { Choose(menu, pszItem); });
        return QApplication::clipboard()->text().toStdString();
    }

    CSnmpdFixture m_agent;
};

// --- Which items apply ----------------------------------------------------------

TEST_F(GridContextMenu, ItemsThatDoNotApplyAreDisabledNotHidden)
{
    const std::vector<std::string> kAll = {"Copy Value", "Copy OID", "Copy Name", "Copy Row", "Copy Subtree",
                                           "Expand Subtree", "Collapse Subtree", "Get", "Walk from Here",
                                           "Set Value...", "Show Table"};
    // An empty grid: every item there, none enabled.
    std::map<std::string, bool> states = ItemStates(-1);
    ASSERT_EQ(states.size(), kAll.size());
    for (const std::string& strItem : kAll)
        EXPECT_FALSE(states.at(strItem)) << strItem;

    Query();
    // A variable: nothing to expand, collapse or copy below it.
    states = ItemStates(RowOf("sysContact.0"));
    for (const char* pszOn : {"Copy Value", "Copy OID", "Copy Name", "Copy Row", "Get", "Walk from Here", "Set Value..."})
        EXPECT_TRUE(states.at(pszOn)) << pszOn;
    for (const char* pszOff : {"Copy Subtree", "Expand Subtree", "Collapse Subtree", "Show Table"})
        EXPECT_FALSE(states.at(pszOff)) << pszOff;

    // The top node: no value of its own to copy, get or set.
    states = ItemStates(RowOf("system"));
    for (const char* pszOn : {"Copy OID", "Copy Name", "Copy Row", "Copy Subtree", "Collapse Subtree", "Walk from Here"})
        EXPECT_TRUE(states.at(pszOn)) << pszOn;
    for (const char* pszOff : {"Copy Value", "Get", "Set Value...", "Show Table"})
        EXPECT_FALSE(states.at(pszOff)) << pszOff;
    EXPECT_TRUE(ItemStates(RowOf(kTable)).at("Show Table"));

    // Without "Enable Write" nothing is set.
    AppSettings.WriteOn = 0;
    EXPECT_FALSE(ItemStates(RowOf("sysContact.0")).at("Set Value..."));
}

TEST_F(GridContextMenu, ShowTableOpensTheTableOfTheRow)
{
    Query();
    RightClick(RowOf(kTable), 0, [&](QMenu& menu) { Choose(menu, "Show Table"); });
    CTableWindow* pTable = nullptr;
    for (QMdiSubWindow* pFrame : m_pFrame->MdiArea()->subWindowList())
        if (auto* pWindow = qobject_cast<CTableWindow*>(pFrame->widget()))
            pTable = pWindow;
    ASSERT_NE(pTable, nullptr);
    EXPECT_EQ(pTable->windowTitle().toStdString(), "sysORTable - " + m_agent.Address());
}

// --- Copies ---------------------------------------------------------------------

TEST_F(GridContextMenu, CopiesTheNodesTexts)
{
    Query();
    const int nLeaf = RowOf("sysName.0");
    ASSERT_NE(nLeaf, -1);
    EXPECT_EQ(ChooseAndCopy(nLeaf, "Copy Value"), Grid().GetItemText(nLeaf, COidTreeGrid::colValue));
    EXPECT_EQ(ChooseAndCopy(nLeaf, "Copy OID"), ".1.3.6.1.2.1.1.5.0");
    EXPECT_EQ(ChooseAndCopy(nLeaf, "Copy Name"), "system.sysName.0");
    Node* pLeaf = Grid().NodeAtRow(nLeaf);
    std::string strLine;
    Grid().AppendSubtreeText(strLine, pLeaf, FALSE);
    EXPECT_EQ(ChooseAndCopy(nLeaf, "Copy Row"), strLine);

    // A node without an OID of its own: the OID its name stands for.
    EXPECT_EQ(ChooseAndCopy(RowOf("system"), "Copy OID"), kSystem);
    // A folded node stands for as many sub-identifiers as its label has parts.
    const int nTable = RowOf(kTable);
    ASSERT_NE(nTable, -1);
    EXPECT_EQ(ChooseAndCopy(nTable, "Copy OID"), std::string(kSystem) + ".9.1");
    // The subtree: one line per node, the first the node's own.
    const std::string strSubtree = ChooseAndCopy(RowOf("system"), "Copy Subtree");
    EXPECT_EQ(strSubtree, Grid().TreeAsText());
}

TEST_F(GridContextMenu, CtrlCCopiesTheFocusedCell)
{
    Query();
    const int nLeaf = RowOf("sysDescr.0");
    ASSERT_NE(nLeaf, -1);
    for (int nColumn : {COidTreeGrid::colMib, COidTreeGrid::colType, COidTreeGrid::colValue, COidTreeGrid::colOid}) {
        QApplication::clipboard()->setText("before");
        QTest::mouseClick(Grid().viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(Grid(), nLeaf, nColumn));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text().toStdString(), Grid().GetItemText(nLeaf, nColumn)) << nColumn;
    }
}

// --- Expand and collapse ----------------------------------------------------------

TEST_F(GridContextMenu, ExpandAndCollapseTheSubtree)
{
    Query();
    const int nTop = RowOf("system");
    const int nAll = Grid().GetItemCount();
    RightClick(nTop, 0, [](QMenu& menu) { Choose(menu, "Collapse Subtree"); });
    EXPECT_EQ(Grid().GetItemCount(), 1);
    RightClick(RowOf("system"), 0, [](QMenu& menu) { Choose(menu, "Expand Subtree"); });
    EXPECT_EQ(Grid().GetItemCount(), nAll);
}

// --- Operations on the agent ------------------------------------------------------

TEST_F(GridContextMenu, GetShowsAValueChangedMeanwhile)
{
    Query();
    const int nRow = RowOf("sysContact.0");
    ASSERT_NE(nRow, -1);
    const std::string strOld = Grid().GetItemText(nRow, COidTreeGrid::colValue);
    std::string strOut;
    ASSERT_EQ(m_agent.RunTool("snmpset", {"-v2c", "-c", CSnmpdFixture::kWriteCommunity, m_agent.Address(),
                                          ".1.3.6.1.2.1.1.4.0", "s", "changed by snmpset"},
                              &strOut),
              0)
        << strOut;
    EXPECT_EQ(Grid().GetItemText(nRow, COidTreeGrid::colValue), strOld);
    RightClick(nRow, 0, [](QMenu& menu) { Choose(menu, "Get"); });
    EXPECT_EQ(Grid().GetItemText(nRow, COidTreeGrid::colValue), "changed by snmpset");
    EXPECT_EQ(Grid().GetItemText(nRow, COidTreeGrid::colType), "OCTETSTRING");
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(GridContextMenu, WalkFromHereOpensAWindowWithThatSubtree)
{
    Query();
    COrvexView& first = View();
    const int nTable = RowOf(kTable);
    ASSERT_NE(nTable, -1);
    // The variables below the node, by name and OID.
    std::map<std::string, std::string> expected;
    Node* pTable = Grid().NodeAtRow(nTable);
    for (Node* p = pTable; p; p = Grid().NextInTree(pTable, p, FALSE, FALSE))
        if (!Grid().HasChildren(p))
            expected[Grid().NamePath(p)] = Grid().CellText(p, COidTreeGrid::colOid);
    ASSERT_GT(expected.size(), 3u);

    const int nWindows = m_pFrame->MdiArea()->subWindowList().size();
    RightClick(nTable, 0, [](QMenu& menu) { Choose(menu, "Walk from Here"); });
    ASSERT_EQ(m_pFrame->MdiArea()->subWindowList().size(), nWindows + 1);
    COrvexView& second = View();
    ASSERT_NE(&second, &first);
    ASSERT_TRUE(PumpUntil([&] { return second.Grid().HasRoots(); }, 20000));  // its walk began
    ASSERT_TRUE(WaitForQuery(second));
    EXPECT_EQ(second.HostBox().currentText().toStdString(), m_agent.Address());
    EXPECT_EQ(second.CommunityBox().text().toStdString(), CSnmpdFixture::kWriteCommunity);

    std::map<std::string, std::string> walked;
    for (CTreeListCtrl::POSITION pos = second.Grid().FirstRootPosition(); pos;) {
        Node* pTop = second.Grid().NextRoot(pos);
        for (Node* p = pTop; p; p = second.Grid().NextInTree(pTop, p, FALSE, FALSE))
            if (!second.Grid().HasChildren(p))
                walked[second.Grid().NamePath(p)] = second.Grid().CellText(p, COidTreeGrid::colOid);
    }
    EXPECT_EQ(walked, expected);
    EXPECT_EQ(AppSettings.Base(), kSystem) << "the setting stays as it was";
}

TEST_F(GridContextMenu, SetValueWritesAndRefusesBadText)
{
    Query();
    const auto SetThrough = [&](const std::string& strLabel, const char* pszType, const char* pszText, bool bAccepted) {
        bool bDialog = false;
        WhenShown([] { return qobject_cast<CSetValueDlg*>(QApplication::activeModalWidget()); },
                  [&](QWidget* pWidget) {
                      bDialog = true;
                      auto& dlg = *static_cast<CSetValueDlg*>(pWidget);
                      EXPECT_EQ(dlg.TypeBox().currentText(), "OCTETSTRING") << "the variable's own type first";
                      dlg.TypeBox().setCurrentIndex(dlg.TypeBox().findText(pszType));
                      dlg.ValueBox().selectAll();
                      QTest::keyClicks(&dlg.ValueBox(), pszText);
                      QTest::keyClick(&dlg.ValueBox(), Qt::Key_Return);
                      // A refused text keeps the dialog open for another try.
                      EXPECT_EQ(dlg.isVisible(), !bAccepted);
                      if (dlg.isVisible())
                          QTest::keyClick(&dlg.ValueBox(), Qt::Key_Escape);
                  });
        RightClick(RowOf(strLabel), 0, [](QMenu& menu) { Choose(menu, "Set Value..."); });
        EXPECT_TRUE(bDialog);
    };

    SetThrough("sysLocation.0", "OCTETSTRING", "written by Set Value", true);
    EXPECT_EQ(m_agent.Get(".1.3.6.1.2.1.1.6.0"), "\"written by Set Value\"");
    EXPECT_EQ(Grid().GetItemText(RowOf("sysLocation.0"), COidTreeGrid::colValue), "written by Set Value");
    EXPECT_TRUE(m_boxes.empty());

    // A text that is no value of the type chosen: refused before anything is sent.
    const std::string strBefore = m_agent.Get(".1.3.6.1.2.1.1.4.0");
    SetThrough("sysContact.0", "INTEGER", "not a number", false);
    EXPECT_EQ(m_agent.Get(".1.3.6.1.2.1.1.4.0"), strBefore);
    EXPECT_EQ("\"" + Grid().GetItemText(RowOf("sysContact.0"), COidTreeGrid::colValue) + "\"", strBefore);
    ASSERT_EQ(m_boxes.size(), 2u);
    EXPECT_EQ(m_boxes[0].rfind("Error: Invalid value, not a number, for type INTEGER", 0), 0u) << m_boxes[0];
    EXPECT_EQ(m_boxes[1], "Update Failed!");
}

// --- Export -------------------------------------------------------------------------

class GridExport : public GridContextMenu
{
protected:
    // File > Export... from the menu bar's action, the name typed into the dialog.
    void ExportThroughDialog(const QString& strPath, const QString& strFilter = QString())
    {
        bool bDialog = false;
        WhenShown([] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); },
                  [&](QWidget* pWidget) {
                      bDialog = true;
                      auto& dialog = *static_cast<QFileDialog*>(pWidget);
                      if (!strFilter.isEmpty())
                          dialog.selectNameFilter(strFilter);
                      auto* pName = dialog.findChild<QLineEdit*>("fileNameEdit");
                      ASSERT_NE(pName, nullptr);
                      // The dialog's view of the folder fills in the background.
                      dialog.setDirectory(QFileInfo(strPath).path());
                      QTest::qWait(300);
                      QTest::keyClicks(pName, QFileInfo(strPath).fileName());
                      auto* pButtons = dialog.findChild<QDialogButtonBox*>();
                      ASSERT_NE(pButtons, nullptr);
                      QPushButton* pSave = pButtons->button(QDialogButtonBox::Save);
                      ASSERT_NE(pSave, nullptr);
                      QTest::mouseClick(pSave, Qt::LeftButton);
                      if (dialog.isVisible())
                          dialog.reject();  // ends the test's wait; the expectations below fail
                  });
        QAction* pExport = m_pFrame->Action(ID_FILE_EXPORT);
        ASSERT_NE(pExport, nullptr);
        PumpUntil([&] { return pExport->isEnabled(); });
        pExport->trigger();
        EXPECT_TRUE(bDialog);
    }
    // Every node of the grid under pTop (all roots for null) in pre-order:
    // depth, label, type, value, OID.
    std::vector<std::vector<std::string>> GridRows(Node* pTop = nullptr)
    {
        std::vector<std::vector<std::string>> rows;
        const auto Add = [&](Node* pSubtree) {
            for (Node* p = pSubtree; p; p = Grid().NextInTree(pSubtree, p, FALSE, FALSE))
                rows.push_back({std::to_string(Grid().LevelOf(p) - Grid().LevelOf(pSubtree)), Grid().CellText(p, 0),
                                Grid().CellText(p, 1), Grid().CellText(p, 2), Grid().CellText(p, 3)});
        };
        if (pTop) {
            Add(pTop);
        } else {
            for (CTreeListCtrl::POSITION pos = Grid().FirstRootPosition(); pos;)
                Add(Grid().NextRoot(pos));
        }
        return rows;
    }
    static std::string ReadFile(const QString& strPath)
    {
        QFile file(strPath);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << strPath.toStdString();
        return file.readAll().toStdString();
    }
    static void JsonRows(const QJsonArray& nodes, int nDepth, std::vector<std::vector<std::string>>& rows)
    {
        for (const QJsonValue& value : nodes) {
            const QJsonObject node = value.toObject();
            rows.push_back({std::to_string(nDepth), node["name"].toString().toStdString(),
                            node["type"].toString().toStdString(), node["value"].toString().toStdString(),
                            node["oid"].toString().toStdString()});
            JsonRows(node["children"].toArray(), nDepth + 1, rows);
        }
    }

    QTemporaryDir m_dir;
};

TEST_F(GridExport, CsvReadBackRebuildsTheTree)
{
    Query();
    ExportThroughDialog(m_dir.filePath("tree.csv"));
    auto rows = ReadCsv(ReadFile(m_dir.filePath("tree.csv")));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), (std::vector<std::string>{"Depth", "MIB", "Type", "Value", "OID"}));
    rows.erase(rows.begin());
    EXPECT_EQ(rows, GridRows());
}

TEST_F(GridExport, JsonReadBackGivesTheTreeAndANameWithoutExtensionTakesTheFilters)
{
    Query();
    ExportThroughDialog(m_dir.filePath("tree"), "JSON, whole tree (*.json)");
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(ReadFile(m_dir.filePath("tree.json"))), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    std::vector<std::vector<std::string>> rows;
    JsonRows(doc.array(), 0, rows);
    EXPECT_EQ(rows, GridRows());
}

TEST_F(GridExport, TheSelectedSubtreeAlone)
{
    Query();
    const int nTable = RowOf(kTable);
    ASSERT_NE(nTable, -1);
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(Grid(), nTable, 0));
    ExportThroughDialog(m_dir.filePath("part.csv"), "CSV, selected subtree (*.csv)");
    auto rows = ReadCsv(ReadFile(m_dir.filePath("part.csv")));
    ASSERT_GT(rows.size(), 2u);
    rows.erase(rows.begin());
    EXPECT_EQ(rows, GridRows(Grid().NodeAtRow(RowOf(kTable))));
    EXPECT_EQ(rows.front()[0], "0");
}

TEST_F(GridExport, ANameOfAnotherKindIsRefusedWithAMessage)
{
    Query();
    EXPECT_FALSE(View().ExportTo(m_dir.filePath("tree.txt").toStdString(), false));
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_FALSE(QFile::exists(m_dir.filePath("tree.txt")));
    EXPECT_FALSE(View().ExportTo(m_dir.filePath("no/such/folder/tree.csv").toStdString(), false));
    EXPECT_EQ(m_boxes.size(), 2u);
}

} // namespace
