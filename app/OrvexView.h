#pragma once
// The only view of a document window: the query bar (Host box, Community box,
// Go/Stop button) over the OID tree grid, which it owns. The button's caption
// is the view's state: "Go" = idle, "Stop" = a query runs. Stop and Go return
// at once: the grid cuts off what its previous query left running.
//
// UI thread only. The view drives the grid's query through its calls
// (Stop, ResetForQuery, StartWalk, ThreadsRunning).
#include "app/CmdTarget.h"
#include "app/OrvexViewPrint.h"
#include "grid/OidTreeGrid.h"
#include "ui/ThemeHelper.h"

#include <QFont>
#include <QRect>
#include <QWidget>
#include <optional>
#include <string>

class COrvexDoc;
class CFindBar;
class CImageButton;
class CMyStatic;
class CWideComboBox;
class QLineEdit;

// Where the query bar puts its windows for a client of cx × cy, given the text
// extents of the two labels. Pure arithmetic; see COrvexView::OnSize.
struct CQueryBarLayout
{
    QRect rcGrid, rcHostLabel, rcHost, rcCommLabel, rcCommunity, rcButton;
    static CQueryBarLayout Compute(int cx, int cy, QSize szHost, QSize szComm);
};

class COrvexView : public QWidget, public CCmdTarget
{
    Q_OBJECT
public:
    static constexpr int kBarHeight = 28;
    static constexpr int kGridId = 256, kHostLabelId = 1236, kCommLabelId = 1237, kHostId = 1238,
                         kCommunityId = 1239, kGoId = 1240;
    static constexpr const char* kRequiredText = "Host and Community are required.";

    // pDoc: the view's document (Not owned; outlives the view). Creates the
    // query bar and the grid and fills the Host list from the history.
    explicit COrvexView(COrvexDoc* pDoc, QWidget* pParent = nullptr);
    ~COrvexView() override;

    COrvexDoc* GetDocument() const { return m_pDocument; }

    BOOL OnCommand(UINT nID) override;
    BOOL OnUpdateCommand(CCmdUI& cmdUI) override;

    // Go: checks host and community, records them in the history, ends what the
    // previous query left running and starts a walk. Stop: ends the query; the
    // button shows "Go" again and a new query can start at once.
    void OnGo();
    // Rebuilds the Host list from the history, keeping the current text when it
    // is one of the entries (compared without regard to case). O(history).
    void FillHostList();
    // Puts host and community into the bar as if typed.
    void SetQuery(const std::string& strHost, const std::string& strCommunity);
    // The agent's profile for the next queries; without one, each query takes
    // the settings' defaults as they are when it starts.
    void SetProfile(const CAgentProfile& profile) { m_profile = profile; }
    CAgentProfile QueryProfile() const { return m_profile.value_or(CAgentProfile::FromSettings()); }
    // The status text of the grid's walk now; empty before the first one.
    std::string WalkStatus() const;
    // The button's caption ("Go" or "Stop").
    std::string Caption() const;

    COidTreeGrid& Grid() { return m_wndGrid; }
    CWideComboBox& HostBox() { return *m_pHost; }
    QLineEdit& CommunityBox() { return *m_pCommunity; }
    CImageButton& GoButton() { return *m_pGo; }
    CMyStatic& HostLabel() { return *m_pHostLabel; }
    CMyStatic& CommunityLabel() { return *m_pCommLabel; }
    CFindBar& FindBar() { return *m_pFindBar; }

signals:
    // The grid reported the end of the query (WM_QUERY_ENDED).
    void QueryEnded();

protected:
    void resizeEvent(QResizeEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    // Enter in the view or a query-bar control runs OnGo, even while the button
    // is disabled.
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    void CreateQueryBar();
    void OnSize(int cx, int cy);
    void OnQueryEnded();
    // Puts the remembered community of strHost into the Community box; nothing
    // for a host that is not remembered.
    void FillCommunityOf(const QString& strHost);
    void StartQuery(const std::string& strHost, const std::string& strCommunity);
    void StopQuery();
    void SetButtonState(BOOL bRunning);
    void OnEditCommand(UINT nID);

    CThemeHelper m_themeHelper;
    COidTreeGrid m_wndGrid;
    CWideComboBox* m_pHost;       // Owned by the view as its child.
    QLineEdit* m_pCommunity;      // Owned by the view as its child.
    CImageButton* m_pGo;          // Owned by the view as its child.
    CMyStatic* m_pHostLabel;      // Owned by the view as its child.
    CMyStatic* m_pCommLabel;      // Owned by the view as its child.
    CFindBar* m_pFindBar = nullptr;  // Owned by the view as its child; hidden until Find.
    QFont m_font;
    COrvexViewPrint m_print;      // printing and preview of the grid
    COrvexDoc* m_pDocument;       // Not owned.
    std::optional<CAgentProfile> m_profile;
};
