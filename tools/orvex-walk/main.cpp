// orvex-walk: runs one MIB walk with the walk thread and messages a query uses,
// received on an event loop without any window, and prints every record as
// OID<TAB>name<TAB>type<TAB>value, named with the loaded MIB modules. Settings
// come from the user's registry hive;
// options override them for this run only and are never saved.
#include "app/CommandLineHelp.h"
#include "app/SettingsStore.h"
#include "grid/OidTreeExport.h"
#include "snmp/AppSettings.h"
#include "snmp/NamePathRows.h"
#include "snmp/SnmpwalkText.h"
#include "snmp/MibWalk.h"
#include "snmp/WalkMessages.h"
#include "snmp/WalkOptions.h"
#include "snmp/WalkTarget.h"
#include "treelist/LineText.h"
#include "InterruptNotifier.h"
#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const char kUsage[] = "usage: orvex-walk [OPTION]... [--mibs PATH | --no-mibs] HOST[:PORT] COMMUNITY\n"
                      "       orvex-walk [OPTION]... --snmp-version 3 --user NAME [OPTION]... HOST[:PORT]\n"
                      "OPTIONs include --format records|csv|json|snmpwalk\n";

// One line per record: fields escaped as in the tree's text, so a value can
// neither split its record nor forge another.
void WriteRecord(const CWalkRecord& record, std::FILE* pOut)
{
    std::string strLine;
    for (const std::string* pField : {&record.m_strOid, &record.m_strName, &record.m_strType}) {
        AppendLineField(strLine, *pField);
        strLine += '\t';
    }
    AppendLineField(strLine, record.m_strValue);
    strLine += '\n';
    std::fwrite(strLine.data(), 1, strLine.size(), pOut);
}

void WriteText(std::string_view strText)
{
    std::fwrite(strText.data(), 1, strText.size(), stdout);
}

// How each record is printed, in the format asked for; the tree forms stream
// the nodes of the records' name paths.
class CRecordWriter
{
public:
    explicit CRecordWriter(EWalkFormat eFormat) : m_eFormat(eFormat)
    {
        if (eFormat != EWalkFormat::Csv && eFormat != EWalkFormat::Json)
            return;
        m_pExport = std::make_unique<CTreeExport>(
            NewOidTreeExport(eFormat == EWalkFormat::Csv ? CTreeExport::efCsv : CTreeExport::efJson, WriteText));
        m_pRows = std::make_unique<CNamePathRows>([this](int nDepth, const std::string& strLabel, const CWalkRecord* p) {
            static const std::vector<std::string> kNoCells;
            m_pExport->Node(nDepth, strLabel, p ? std::vector<std::string>{p->m_strType, p->m_strValue, p->m_strOid} : kNoCells);
        });
    }

    void Write(const CWalkRecord& record)
    {
        if (m_pRows)
            m_pRows->Add(record);
        else if (m_eFormat == EWalkFormat::Snmpwalk)
            WriteText(SnmpwalkLine(record));
        else
            WriteRecord(record, stdout);
    }
    // Closes what the format leaves open (JSON's arrays).
    void Finish()
    {
        if (m_pExport)
            m_pExport->Finish();
    }

private:
    EWalkFormat m_eFormat;
    std::unique_ptr<CTreeExport> m_pExport;  // Owned; the tree forms only
    std::unique_ptr<CNamePathRows> m_pRows;  // Owned; the tree forms only
};

// The owner of the walk: prints what arrives and remembers how the walk ended.
class CWalkPrinter : public CWalkTarget
{
public:
    CWalkPrinter(const CWalkOptions& options, EWalkFormat eFormat)
        : m_window(nullptr, [this](UINT message, WPARAM wParam, LPARAM lParam) { return OnMessage(message, wParam, lParam); }),
          m_writer(eFormat)
    {
        m_request = CWalkRequest{options.m_strHost, options.m_strCommunity, options.Profile()};
        m_request.m_bSnmpwalkValues = eFormat == EWalkFormat::Snmpwalk;
        m_pWalk->m_bRun = 1;
        m_hWalkWnd = m_window.Handle();
    }

    int ExitCode() const { return m_bError ? kExitError : m_bDone ? kExitDone : kExitError; }
    // Prints the records that have arrived but wait for the event loop, and
    // ends the output.
    void PrintArrived()
    {
        m_window.DeliverQueued();
        m_writer.Finish();
    }

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_WALK_RECORD) {
            if (const std::unique_ptr<CWalkRecord> pRecord = TakeWalkRecord(wParam))
                m_writer.Write(*pRecord);
        } else if (message == WM_WALK_ERROR) {
            m_bError = true;
            if (const std::unique_ptr<char[]> pszText = TakeWalkErrorText(lParam)) {
                std::fflush(stdout);  // records before the text stay before it
                const std::size_t nLength = std::strlen(pszText.get());
                std::fputs(pszText.get(), stderr);
                if (nLength == 0 || pszText[nLength - 1] != '\n')
                    std::fputc('\n', stderr);
            }
        } else if (message == WM_WALK_DONE) {
            m_bDone = true;
        }
        return 0;
    }

    bool m_bError = false;
    bool m_bDone = false;
    CMsgWindow m_window;
    CRecordWriter m_writer;
};

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (AsksForHelp(args)) {
        std::fputs(HelpText(OrvexWalkHelp()).c_str(), stdout);
        return kExitDone;
    }
    if (AsksForVersion(args)) {
        std::fputs(VersionText("orvex-walk").c_str(), stdout);
        return kExitDone;
    }
    std::string strError;
    const std::optional<CWalkOptions> options = CWalkOptions::Parse(args, strError);
    const std::optional<EWalkFormat> eFormat = options ? options->Format("records") : std::nullopt;
    if (options && !eFormat)
        strError = "--format takes records, csv, json or snmpwalk";
    if (!eFormat) {
        if (!strError.empty())
            std::fprintf(stderr, "orvex-walk: %s\n", strError.c_str());
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    QCoreApplication app(argc, argv);
    LoadSettings();
    AppSettings.ShowEnumLabels = 0;  // scripts read the numbers the agent sent
    options->ApplyToSettings();
    options->LoadMibs();

    CWalkPrinter printer(*options, *eFormat);
    // A reader at a terminal sees each record as it arrives; a file or a pipe
    // gets large writes.
    static char s_outBuffer[1 << 16];
    std::setvbuf(stdout, s_outBuffer, isatty(STDOUT_FILENO) ? _IOLBF : _IOFBF, sizeof s_outBuffer);
    // Records are written whole on this thread: the ones that have arrived are
    // printed and flushed, and the process then ends by the signal, as the
    // shell expects.
    const CInterruptNotifier interrupt([&printer](int nSignal) {
        printer.PrintArrived();
        std::fflush(stdout);
        std::signal(nSignal, SIG_DFL);
        std::raise(nSignal);
    });

    // The walk's own thread function; joined rather than detached so that the
    // process never ends under a running walk.
    std::thread walk([&printer] {
        MibWalkThread(printer.m_pWalk, CWalkStart{printer.m_request, printer.m_hWalkWnd});
        // Queued behind every message the walk posted, so it is handled last.
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
    });
    app.exec();
    walk.join();
    printer.PrintArrived();
    std::fflush(stdout);
    return printer.ExitCode();
}
