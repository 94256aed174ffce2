#include "platform/shell/Shell.h"
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <mutex>

namespace {

std::mutex g_mutexHook;
ShellOpenHook g_hook;

bool OpenUrl(const QUrl& url)
{
    ShellOpenHook hook;
    {
        std::lock_guard<std::mutex> lock(g_mutexHook);
        hook = g_hook;
    }
    return hook ? hook(url) : QDesktopServices::openUrl(url);
}

QString Text(const char* p) { return p ? QString::fromLocal8Bit(p) : QString(); }

} // namespace

void SetShellOpenHook(ShellOpenHook hook)
{
    std::lock_guard<std::mutex> lock(g_mutexHook);
    g_hook = std::move(hook);
}

std::string DefaultApplication(const char* pszMimeType)
{
    constexpr int kQueryMs = 5000;
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), Text(pszMimeType)});
    if (!query.waitForFinished(kQueryMs) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) {
        query.kill();
        query.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(query.readAllStandardOutput()).section('\n', 0, 0).trimmed().toStdString();
}

std::intptr_t ShellExecute(HWND, const char*, const char* file, const char*, const char* directory, int)
{
    const QString strFile = Text(file);
    if (strFile.isEmpty())
        return SE_ERR_FNF;
    const QDir dir(Text(directory).isEmpty() ? QDir::currentPath() : QDir(Text(directory)).absolutePath());
    const QFileInfo info(dir, strFile);
    // The desktop handler would report a missing file in a window of its own; the
    // caller wants nothing shown in that case.
    if (!info.isFile())
        return SE_ERR_FNF;
    return OpenUrl(QUrl::fromLocalFile(info.absoluteFilePath())) ? 42 : SE_ERR_NOASSOC;
}
