#pragma once
// The "MIB Details" pane: the definition of the selected row's object, from
// the loaded MIB modules. Dockable below the document windows, hidden until
// the user shows it from the View menu.
#include <QDockWidget>
#include <string>

class QTextBrowser;

class CMibDetailsPane : public QDockWidget
{
    Q_OBJECT
public:
    explicit CMibDetailsPane(QWidget* pParent);

    // Shows the definition for a numeric OID text (empty: no row with an OID
    // is selected). Does nothing when the OID is the one shown. Cheap.
    void ShowOid(const std::string& strOid);
    // Shows the current OID again (the loaded modules have changed).
    void Refresh();

private:
    QTextBrowser* m_pText;  // Not owned: Qt child.
    std::string m_strOid;
    bool m_bShown = false;
};
