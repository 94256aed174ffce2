#include "app/MibModulesDlg.h"
#include "mib/MibLoader.h"
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CMibModulesDlg::CMibModulesDlg(QWidget* pParent, std::function<void()> reload) : QDialog(pParent)
{
    setWindowTitle("MIB Modules");
    setObjectName("MibModulesDlg");
    resize(720, 420);
    m_pSummary = new QLabel(this);
    m_pList = new QTreeWidget(this);
    m_pList->setObjectName("MibModuleList");
    m_pList->setHeaderLabels({"Module", "State", "File", "Line", "Problem"});
    m_pList->setRootIsDecorated(false);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* pReload = pButtons->addButton("Reload", QDialogButtonBox::ActionRole);
    pReload->setObjectName("MibReload");
    connect(pReload, &QPushButton::clicked, this, [reload] { reload(); });
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(m_pSummary);
    pLayout->addWidget(m_pList);
    pLayout->addWidget(pButtons);
    Refresh();
}

void CMibModulesDlg::Refresh()
{
    const CMibLoadReport report = LastMibLoadReport();
    m_pList->clear();
    for (const CMibProblem& problem : report.problems)
        new QTreeWidgetItem(m_pList, {"", "failed", QString::fromStdString(problem.strFile),
                                      problem.nLine ? QString::number(problem.nLine) : QString(),
                                      QString::fromStdString(problem.strText)});
    for (const CMibModuleInfo& module : report.loaded)
        new QTreeWidgetItem(m_pList, {QString::fromStdString(module.strName), "loaded",
                                      QString::fromStdString(module.strFile), "", ""});
    m_pList->header()->resizeSections(QHeaderView::ResizeToContents);
    m_pSummary->setText(QString("%1 modules loaded, %2 problems, from %3")
                            .arg(report.loaded.size())
                            .arg(report.problems.size())
                            .arg(QString::fromStdString(report.strPath)));
}
