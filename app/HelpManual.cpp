#include "app/HelpManual.h"
#include "app/HelpWindow.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/shell/Shell.h"
#include "snmp/AppSettings.h"
#include <QFileInfo>
#include <cstring>

std::string HelpDirectory(const std::string& strHomePath)
{
    return strHomePath + "Help/";
}

void OpenHelpManual(QWidget* pOwner)
{
    // HomePath may fill its buffer without a terminating NUL.
    const std::string strHome(AppSettings.HomePath, strnlen(AppSettings.HomePath, sizeof AppSettings.HomePath));
    const std::string strDirectory = HelpDirectory(strHome);
    const QFileInfo manual(QString::fromLocal8Bit(strDirectory.c_str()) + kHelpManualFile);
    if (!manual.isFile()) {
        AfxMessageBox("The manual " + manual.absoluteFilePath().toStdString() + " was not found.",
                      MB_OK | MB_ICONERROR);
        return;
    }
    // A launch that reports success only says a launcher ran: with no program
    // for HTML it would still show nothing.
    if (!DefaultApplication("text/html").empty()
        && ShellExecute(nullptr, nullptr, kHelpManualFile, nullptr, strDirectory.c_str(), SW_SHOWNORMAL) > 32)
        return;
    CHelpWindow::Open(pOwner, QUrl::fromLocalFile(manual.absoluteFilePath()));
}
