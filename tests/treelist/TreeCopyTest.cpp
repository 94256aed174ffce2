// The tree as text on the clipboard: the exact bytes, hidden nodes included,
// nothing for an empty tree, both messages when the clipboard is held or
// fails, and the text block owned exactly once.
#include "TreeTestUtil.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/msgbox/MessageBox.h"
#include <cstring>

using namespace treetest;

namespace {

struct SBoxes
{
    std::vector<std::string> texts;
    SBoxes()
    {
        SetMessageBoxHook([this](HWND, const std::string& text, const std::string& caption, UINT type) {
            EXPECT_EQ(caption, "Orvex");
            EXPECT_EQ(type & 0xF0, MB_ICONSTOP);
            texts.push_back(text);
            return IDOK;
        });
    }
    ~SBoxes() { SetMessageBoxHook(nullptr); }
};

void PutOnClipboard(const std::string& text)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL hMem = CGlobalMem::Alloc(GMEM_SHARE, text.size() + 1);
    std::memcpy(hMem->Lock(), text.c_str(), text.size() + 1);
    ASSERT_TRUE(SetClipboardData(CF_TEXT, hMem));
    CloseClipboard();
}

const char* const kOpenFailed = "Connot open Clipboard";
const char* const kSetFailed = "Connot set clipboard data";

} // namespace

TEST(TreeCopy, EveryNodeInPreOrderByteForByte)
{
    SBoxes boxes;
    CTestTree tree;
    Node* pSystem = tree.AddRootNode(Info("system", {"", "", ""}));
    tree.AddChildNode(pSystem, Info("sysDescr.0", {"OCTETSTRING", "Linux box", ".1.3.6.1.2.1.1.1.0"}), FALSE);
    tree.AddChildNode(pSystem, Info("sysUpTime.0", {"TIMETICKS", "1:02:03", ".1.3.6.1.2.1.1.3.0"}), FALSE);
    // Collapsed parts, deeper levels, a second root with its status, a TAB in a
    // value (escaped, like line ends and backslashes), 8-bit bytes, a node
    // without cells.
    Node* pIf = tree.AddRootNode(Info("interfaces (Querying...)", {"", "", ""}));
    Node* pTable = tree.AddChildNode(pIf, Info("ifTable", {"", "", ""}), FALSE);
    Node* pEntry = tree.AddChildNode(pTable, Info("ifEntry", {}), FALSE);
    tree.AddChildNode(pEntry, Info("ifDescr.1", {"OCTETSTRING", "eth\t0 caf\xE9", ".1.3.6.1.2.1.2.2.1.2.1"}), FALSE);
    tree.AddChildNode(pIf, Info("ifNumber.0", {"INTEGER", "1", ".1.3.6.1.2.1.2.1.0"}), FALSE);
    tree.ExpandNode(pSystem, 0);
    tree.SendCtrlMessage(WM_TREELIST_COPYTEXT, 0, 0);  // the header menu's way
    const std::string strExpected = "system\t\t\t\t\n"
                                    "sysDescr.0\tOCTETSTRING\tLinux box\t.1.3.6.1.2.1.1.1.0\t\n"
                                    "sysUpTime.0\tTIMETICKS\t1:02:03\t.1.3.6.1.2.1.1.3.0\t\n"
                                    "interfaces (Querying...)\t\t\t\t\n"
                                    "ifTable\t\t\t\t\n"
                                    "ifEntry\t\n"
                                    "ifDescr.1\tOCTETSTRING\teth\\t0 caf\xE9\t.1.3.6.1.2.1.2.2.1.2.1\t\n"
                                    "ifNumber.0\tINTEGER\t1\t.1.3.6.1.2.1.2.1.0\t\n";
    EXPECT_EQ(GetClipboardText(), strExpected);
    PutOnClipboard("other");
    tree.CopyTreeAsText();
    EXPECT_EQ(GetClipboardText(), strExpected);
    EXPECT_EQ(tree.GetItemCount(), 4);  // copying shows nothing new
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_EQ(CGlobalMem::LiveCount(), 1);  // the clipboard's own block, none left over
}

// One node is one line whatever its texts hold: CR, LF and TAB are written as
// \r, \n and \t, and a backslash as \\ so that the text reads back exactly.
TEST(TreeCopy, LineBreaksTabsAndBackslashesInTextsAreEscaped)
{
    CTestTree tree;
    Node* pTop = tree.AddRootNode(Info("a\tb", {"", "", ""}));
    tree.AddChildNode(pTop, Info("sysDescr.0", {"OCTETSTRING", "Linux\r\nnext\tline\\n", ".1.3\n"}), FALSE);
    tree.AddChildNode(pTop, Info("c:\\dir", {"", "\n\n", "\\"}), FALSE);
    EXPECT_EQ(tree.TreeAsText(), "a\\tb\t\t\t\t\n"
                                 "sysDescr.0\tOCTETSTRING\tLinux\\r\\nnext\\tline\\\\n\t.1.3\\n\t\n"
                                 "c:\\\\dir\t\t\\n\\n\t\\\\\t\n");
}

TEST(TreeCopy, EmptyTreeHeldOrFailingClipboardAndTheBlockFreedOnce)
{
    SBoxes boxes;
    CTestTree tree;
    PutOnClipboard("before");
    tree.CopyTreeAsText();  // an empty tree copies nothing
    EXPECT_EQ(GetClipboardText(), "before");
    EXPECT_TRUE(boxes.texts.empty());
    tree.AddRootNode(Info("only", {"a"}));

    // Another holder keeps the clipboard open: both messages, contents kept,
    // and the holder's clipboard is neither emptied nor closed.
    ASSERT_TRUE(OpenClipboard(nullptr));
    tree.CopyTreeAsText();
    EXPECT_EQ(boxes.texts, (std::vector<std::string>{kOpenFailed, kSetFailed}));
    EXPECT_EQ(GetClipboardText(), "before");
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(CGlobalMem::LiveCount(), 1);  // the clipboard's own block, none left over

    // Opened but refused: emptied, one message, the block freed here.
    boxes.texts.clear();
    SetClipboardFaults(FALSE, TRUE);
    tree.CopyTreeAsText();
    SetClipboardFaults(FALSE, FALSE);
    EXPECT_EQ(boxes.texts, (std::vector<std::string>{kSetFailed}));
    EXPECT_EQ(GetClipboardText(), "");
    EXPECT_EQ(CGlobalMem::LiveCount(), 0);  // the clipboard was emptied and the refused block freed

    EXPECT_TRUE(OpenClipboard(nullptr)) << "left closed";
    CloseClipboard();
}
