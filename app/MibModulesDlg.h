#pragma once
// The "MIB Modules" window: every module of the last load with its file, every
// file that failed with its line and the parser's text, and a Reload button
// that loads the MibPath setting again in the background.
#include <QDialog>
#include <functional>

class QTreeWidget;
class QLabel;

class CMibModulesDlg : public QDialog
{
    Q_OBJECT
public:
    // reload: starts a new load (the caller refreshes this window when it ends).
    CMibModulesDlg(QWidget* pParent, std::function<void()> reload);
    // Fills the list from the last load's report.
    void Refresh();

private:
    QTreeWidget* m_pList;  // Not owned: Qt child.
    QLabel* m_pSummary;    // Not owned: Qt child.
};
