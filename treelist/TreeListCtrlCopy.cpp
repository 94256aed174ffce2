// The whole tree as text on the clipboard: one line per node in pre-order,
// collapsed branches included but not the nodes a filter hides: the label, a
// TAB, then each cell text followed by a TAB, then LF. Line breaks, TABs and
// backslashes inside a text are escaped, so no text (an agent's value above
// all) can split its node or forge a line.
#include "platform/clipboard/Clipboard.h"
#include "platform/msgbox/MessageBox.h"
#include "treelist/LineText.h"
#include "treelist/TreeListCtrl.h"
#include <cstring>

namespace {

void AppendLine(std::string& text, const CNodeInfo& info)
{
    AppendLineField(text, info.GetText());
    text += '\t';
    for (int i = 0; i < info.GetSubTextCount(); ++i) {
        AppendLineField(text, info.GetSubText(i));
        text += '\t';
    }
    text += '\n';
}

} // namespace

std::string CTreeListCtrl::TreeAsText()
{
    std::string text;
    // A first guess of the size saves most of the string's regrowth.
    text.reserve(static_cast<std::size_t>(GetItemCount()) * 64);
    POSITION pos = FirstRootPosition();
    while (pos) {
        CTreeItem* pTop = NextRoot(pos);
        for (CTreeItem* pNode = pTop; pNode; pNode = NextInTree(pTop, pNode, FALSE, FALSE))
            if (!IsFilteredOut(pNode))
                AppendLine(text, *InfoOf(pNode));
    }
    return text;
}

void CTreeListCtrl::CopyTreeAsText()
{
    const std::string text = TreeAsText();
    if (!text.empty())
        PutTextOnClipboard(text);
}

int CTreeListCtrl::PutTextOnClipboard(const std::string& text)
{
    // The block has exactly one owner at a time: this function until the
    // clipboard accepts it, the clipboard afterwards; a refused block is freed here.
    HGLOBAL hMem = CGlobalMem::Alloc(GMEM_SHARE, text.size() + 1);
    std::memcpy(hMem->Lock(), text.c_str(), text.size() + 1);
    // Whoever else holds the clipboard open keeps it as it is: it is emptied,
    // written and closed only when this call opened it.
    const BOOL bOpen = OpenClipboard(this);
    if (!bOpen)
        AfxMessageBox("Connot open Clipboard", MB_OK | MB_ICONSTOP);
    if (bOpen)
        EmptyClipboard();
    if (!bOpen || !SetClipboardData(CF_TEXT, hMem))
        AfxMessageBox("Connot set clipboard data", MB_OK | MB_ICONSTOP);
    if (bOpen)
        CloseClipboard();
    return 0;
}
