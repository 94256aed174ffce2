#include "platform/clipboard/Clipboard.h"
#include "platform/clipboard/TextBlockMimeData.h"
#include <QClipboard>
#include <QGuiApplication>
#include <cstring>
#include <memory>

namespace {

struct SClipboardState
{
    bool bOpen = false;
    bool bFailOpen = false;
    bool bFailSet = false;
};

SClipboardState g_clip;

} // namespace

BOOL OpenClipboard(const QObject* /*pOwner*/)
{
    if (g_clip.bOpen || g_clip.bFailOpen)
        return FALSE;
    g_clip.bOpen = true;
    return TRUE;
}

BOOL EmptyClipboard()
{
    if (!g_clip.bOpen)
        return FALSE;
    QGuiApplication::clipboard()->clear();
    return TRUE;
}

BOOL SetClipboardData(UINT nFormat, HGLOBAL& hMem)
{
    if (!g_clip.bOpen || g_clip.bFailSet || nFormat != CF_TEXT || !hMem)
        return FALSE;
    const std::size_t nLength = strnlen(hMem->Lock(), hMem->Size());
    // Owned by the clipboard from here, which deletes it when emptied or set again.
    QGuiApplication::clipboard()->setMimeData(std::make_unique<CTextBlockMimeData>(std::move(hMem), nLength).release());
    return TRUE;
}

BOOL CloseClipboard()
{
    if (!g_clip.bOpen)
        return FALSE;
    g_clip.bOpen = false;
    return TRUE;
}

std::string GetClipboardText()
{
    return QGuiApplication::clipboard()->text().toLatin1().toStdString();
}

void SetClipboardFaults(BOOL bFailOpen, BOOL bFailSet)
{
    g_clip.bFailOpen = bFailOpen != FALSE;
    g_clip.bFailSet = bFailSet != FALSE;
}
