#include "app/MibDetailsPane.h"
#include "mib/MibDetails.h"
#include <QTextBrowser>

CMibDetailsPane::CMibDetailsPane(QWidget* pParent) : QDockWidget(QStringLiteral("MIB Details"), pParent)
{
    setObjectName("MibDetailsPane");
    setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    m_pText = new QTextBrowser(this);
    m_pText->setObjectName("MibDetailsText");
    setWidget(m_pText);
    hide();
}

void CMibDetailsPane::ShowOid(const std::string& strOid)
{
    if (m_bShown && strOid == m_strOid)
        return;
    m_strOid = strOid;
    Refresh();
}

void CMibDetailsPane::Refresh()
{
    m_bShown = true;
    const std::shared_ptr<const CMibTable> pTable = CurrentMibTable();
    const auto lines = pTable && !m_strOid.empty() ? MibDetailsLines(*pTable, m_strOid)
                                                   : std::vector<std::pair<std::string, std::string>>{};
    if (lines.empty()) {
        m_pText->setPlainText(m_strOid.empty() ? "Select a variable to see its definition."
                                               : "No loaded MIB module defines " + QString::fromStdString(m_strOid) + ".");
        return;
    }
    QString strHtml = "<table cellspacing=\"2\">";
    for (const auto& [strLabel, strText] : lines)
        strHtml += "<tr><td valign=\"top\"><b>" + QString::fromStdString(strLabel).toHtmlEscaped() +
                   "</b></td><td>" + QString::fromStdString(strText).toHtmlEscaped().replace('\n', "<br>") + "</td></tr>";
    m_pText->setHtml(strHtml + "</table>");
}
