#include "app/WalkCommand.h"
#include "app/HistoryTable.h"
#include "app/HostHistory.h"
#include "app/OrvexDoc.h"
#include "app/OrvexView.h"
#include "app/SettingsStore.h"
#include "grid/OidTreeExport.h"
#include "snmp/SnmpwalkText.h"
#include "platform/msgbox/MessageBox.h"
#include "snmp/AppSettings.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <thread>

namespace {

constexpr int kPollMs = 2;

bool AnyRootHasStatus(COidTreeGrid& grid)
{
    CTreeListCtrl::POSITION pos = grid.FirstRootPosition();
    while (pos)
        if (COidTreeGrid::HasStatus(grid.InfoOf(grid.NextRoot(pos))->GetText()))
            return true;
    return false;
}

// A message no window handles: its delivery only shows that what was queued
// before it has been handled.
constexpr UINT kQueueMark = 7898;

// Handles whatever the walk left queued for the grid: a send from another
// thread is delivered behind the messages posted before it.
void HandleQueuedMessages(HWND hWnd)
{
    std::atomic<bool> bHandled{false};
    std::thread sender([&] {
        SendMessage(hWnd, kQueueMark, 0, 0);
        bHandled = true;
    });
    while (!bHandled.load())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    sender.join();
}

bool NothingRuns(COidTreeGrid& grid, bool bError)
{
    return !grid.ThreadsRunning() && (bError || !AnyRootHasStatus(grid));
}

// The query has ended once no thread runs and no top node is still marked as
// being queried or cleaned, or once an error text ended it. The walk lets go of
// the grid before its records and end message are handled (a fast agent's whole
// walk can be queued still), so the queue is handled before the tree is trusted:
// a record placed then marks its top node until the end message is handled.
bool QueryEnded(COidTreeGrid& grid, bool bError)
{
    if (!NothingRuns(grid, bError))
        return false;
    HandleQueuedMessages(grid.WindowHandle());
    return NothingRuns(grid, bError);
}

// Puts back, when it goes, the base OID the options may override.
class CBaseRestore
{
public:
    CBaseRestore() : m_strBase(AppSettings.Base()) {}
    ~CBaseRestore() { AppSettings.SetBase(m_strBase); }

private:
    std::string m_strBase;
};

} // namespace

std::optional<CWalkCommand> CWalkCommand::Parse(const std::vector<std::string>& args, std::string& strError)
{
    std::optional<CWalkOptions> options = CWalkOptions::Parse(args, strError);
    if (!options)
        return std::nullopt;
    const std::optional<EWalkFormat> eFormat = options->Format("tree");
    if (!eFormat) {
        strError = "--format takes tree, csv, json or snmpwalk";
        return std::nullopt;
    }
    return CWalkCommand(std::move(*options), *eFormat);
}

int CWalkCommand::Run(std::FILE* pOut, std::FILE* pErr) const
{
    LoadSettings();
    const CBaseRestore restore;
    ApplyToSettings();
    LoadMibs();
    g_history.Init("Host", kHistoryColumns, 30);  // the view records the query; it is never saved
    bool bError = false;
    SetMessageBoxHook([&](HWND, const std::string& text, const std::string&, UINT) {
        std::fputs(text.c_str(), pErr);
        if (text.empty() || text.back() != '\n')
            std::fputc('\n', pErr);
        bError = true;
        return IDOK;
    });
    int nExit = kExitDone;
    {
        COrvexDoc doc;
        COrvexView view(&doc);
        view.resize(800, 600);
        // The snmpwalk form is printed from the records, which carry the
        // values as net-snmp's tools print them.
        std::string strSnmpwalk;
        if (m_eFormat == EWalkFormat::Snmpwalk)
            view.Grid().SetRecordListener([&](const CWalkRecord& record) { strSnmpwalk += SnmpwalkLine(record); });
        view.SetQuery(m_strHost, m_strCommunity);
        view.SetProfile(Profile());
        view.OnGo();
        if (view.Caption() == "Stop") {
            QEventLoop loop;
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, [&] {
                if (QueryEnded(view.Grid(), bError))
                    loop.quit();
            });
            poll.start(kPollMs);
            loop.exec();
            // An error text posted before the walk let go is delivered now.
            QCoreApplication::processEvents();
        }
        WriteTree(view.Grid(), strSnmpwalk, pOut);
        std::fflush(pOut);
        nExit = bError ? kExitError : kExitDone;
    }
    SetMessageBoxHook({});
    g_history.Release();
    return nExit;
}

void CWalkCommand::WriteTree(COidTreeGrid& grid, const std::string& strSnmpwalk, std::FILE* pOut) const
{
    const auto Write = [pOut](std::string_view strText) { std::fwrite(strText.data(), 1, strText.size(), pOut); };
    switch (m_eFormat) {
    case EWalkFormat::Default: Write(grid.TreeAsText()); break;
    case EWalkFormat::Snmpwalk: Write(strSnmpwalk); break;
    case EWalkFormat::Csv:
    case EWalkFormat::Json: {
        CTreeExport out = NewOidTreeExport(m_eFormat == EWalkFormat::Csv ? CTreeExport::efCsv : CTreeExport::efJson, Write);
        grid.ExportTree(out);
        break;
    }
    }
}

int RunWalkCommand(const std::vector<std::string>& args, std::FILE* pOut, std::FILE* pErr)
{
    std::string strError;
    const std::optional<CWalkCommand> command = CWalkCommand::Parse(args, strError);
    if (!command) {
        if (!strError.empty())
            std::fprintf(pErr, "orvex --walk: %s\n", strError.c_str());
        std::fputs(CWalkCommand::kUsage, pErr);
        return kExitUsage;
    }
    return command->Run(pOut, pErr);
}
