#pragma once
// A whole main window, shown and active, for tests that drive it with real
// key and mouse events. Settings start from their defaults with short waits;
// message boxes are answered OK and their texts kept in m_boxes.
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/OrvexApp.h"
#include "app/OrvexView.h"
#include "platform/msgbox/MessageBox.h"
#include "snmp/AppSettings.h"
#include "ui/ImageButton.h"
#include "support/PumpUntil.h"
#include "support/TempXdg.h"
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

class CMainWindowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        AppSettings.Reset();
        ASSERT_TRUE(m_app.InitInstance());
        m_pFrame = m_app.GetMainFrame();
        AppSettings.Timeout = 2;
        AppSettings.Retries = 0;
        SetMessageBoxHook([this](HWND, const std::string& text, const std::string&, UINT) {
            m_boxes.push_back(text);
            return IDOK;
        });
        m_pFrame->resize(1000, 700);
        m_pFrame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pFrame));
        QApplication::setActiveWindow(m_pFrame);
    }
    void TearDown() override
    {
        SetMessageBoxHook({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    COrvexView& View() const { return *m_pFrame->MDIGetActive()->GetActiveView(); }
    COidTreeGrid& Grid() const { return View().Grid(); }

    // Waits for the view's query to end: Go offered again, no thread left and
    // no status on a row. The button comes back at the walk's end; cleanings
    // may fold the tree after that.
    static bool WaitForQuery(COrvexView& view)
    {
        return PumpUntil([&] {
            if (view.Caption() != "Go" || !view.GoButton().isEnabled() || view.Grid().ThreadsRunning())
                return false;
            for (int nRow = 0; nRow < view.Grid().GetItemCount(); ++nRow)
                if (COidTreeGrid::HasStatus(view.Grid().GetItemText(nRow, 0)))
                    return false;
            return true;
        }, 20000);
    }

    // Replaces the text of an edit field by typing.
    static void Type(QLineEdit& edit, const std::string& strText)
    {
        edit.setFocus();
        edit.selectAll();
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QTest::keyClicks(&edit, QString::fromLatin1(strText.c_str()));
    }

    CTempXdg m_xdg;
    COrvexApp m_app{std::vector<std::string>{}};
    CMainFrame* m_pFrame = nullptr;  // Not owned.
    std::vector<std::string> m_boxes;
};
