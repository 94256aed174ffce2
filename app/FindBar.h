#pragma once
// CFindBar: the bar above the grid that finds in the tree and filters it: a
// find field with previous and next buttons, "Match case", "Regular
// expression", a filter field, a message and a close button. It drives the
// tree-list control it is given; the texts searched are the columns of a mask.
//
// Find: typing searches from the selected row on (that row first), Enter and
// Next from the row after it, Shift+Enter and Previous backwards; the search
// goes round the ends. Filter: a short pause in typing, or Enter, shows only
// the matching rows and their ancestors; an empty filter or closing the bar
// restores the tree. Escape in the bar closes it.
//
// UI thread only.
#include "platform/WinTypes.h"
#include "treelist/TreeListCtrl.h"
#include "treelist/TreeMatcher.h"

#include <QTimer>
#include <QWidget>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

class CFindBar : public QWidget
{
    Q_OBJECT
public:
    static constexpr const char* kNoMatch = "No match";
    static constexpr int kFilterDelayMs = 300;

    // pTree: Not owned; outlives the bar.
    CFindBar(CTreeListCtrl* pTree, DWORD nColumnMask, QWidget* pParent);

    // Shows the bar with the focus in the find field, its text selected.
    void Open();
    // Clears the filter, hides the bar and gives the focus to the tree.
    void Close();
    // Find Next / Find Previous; with an empty find field they open the bar.
    void FindNext();
    void FindPrevious();
    // The tree changed behind the filter (a query ended): the filter runs again.
    void Refilter();

    QLineEdit& FindBox() { return *m_pFind; }
    QLineEdit& FilterBox() { return *m_pFilter; }
    QCheckBox& MatchCaseBox() { return *m_pMatchCase; }
    QCheckBox& RegexBox() { return *m_pRegex; }
    QToolButton& NextButton() { return *m_pNext; }
    QToolButton& PreviousButton() { return *m_pPrevious; }
    // The bar's message ("" when there is none).
    std::string Message() const;

signals:
    void Closed();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void Find(CTreeListCtrl::EFindStep eStep);
    void Filter();
    void OnOptionsChanged();
    // The matcher for a field's text; false (and the error in the message) for
    // a bad regular expression.
    bool MakeMatcher(const QLineEdit& box, CTreeMatcher& matcher);
    void ShowMessage(const std::string& strText, bool bProblem = false);
    std::string FoundMessage(const CTreeListCtrl::CFindResult& result, CTreeListCtrl::EFindStep eStep) const;

    CTreeListCtrl* m_pTree;      // Not owned.
    DWORD m_nColumnMask;
    QLineEdit* m_pFind;          // Owned by the bar as its child, as are the windows below.
    QToolButton* m_pPrevious;
    QToolButton* m_pNext;
    QCheckBox* m_pMatchCase;
    QCheckBox* m_pRegex;
    QLineEdit* m_pFilter;
    QLabel* m_pMessage;
    QToolButton* m_pClose;
    QTimer m_filterTimer;        // the pause after typing in the filter field
};
