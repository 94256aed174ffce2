#include "app/ResourceTables.h"
#include "app/ResourceIds.h"
#include <QtGlobal>
#include <map>

namespace {

const std::vector<CPopupDef> kMenuMain = {
    {"&File", {{ID_FILE_NEW, "&New\tCtrl+N"}, {ID_FILE_OPEN, "&Open...\tCtrl+O"}, {ID_SEPARATOR, ""},
               {ID_FILE_PRINT_SETUP, "P&rint Setup..."}, {ID_SEPARATOR, ""},
               {ID_FILE_MRU_FILE1, "Recent File"}, {ID_SEPARATOR, ""},
               {ID_FILE_CLOSE, "&Close"}, {ID_APP_EXIT, "E&xit"}}},
    {"&View", {{ID_VIEW_TOOLBAR, "&Toolbar"}, {ID_VIEW_STATUS_BAR, "&Status Bar"}}},
    {"&Help", {{ID_APP_ABOUT, "&About Orvex..."}}},
};

const std::vector<CPopupDef> kMenuDocument = {
    {"&File", {{ID_FILE_NEW, "&New\tCtrl+N"}, {ID_SEPARATOR, ""}, {ID_SETTINGS, "Settings"}, {ID_SEPARATOR, ""},
               {ID_FILE_PRINT, "&Print...\tCtrl+P"}, {ID_FILE_PRINT_PREVIEW, "Print Pre&view"},
               {ID_FILE_PRINT_SETUP, "P&rint Setup..."}, {ID_SEPARATOR, ""}, {ID_APP_EXIT, "E&xit"}}},
    {"&Edit", {{ID_COPY_TREE, "Copy Tree To Text Clipboard"}, {ID_SEPARATOR, ""},
               {ID_EXPAND_NODE, "Expand Node"}, {ID_COLLAPSE_NODE, "Collapse Node"}, {ID_SEPARATOR, ""},
               {ID_EXPAND_ALL, "Expand All"}, {ID_COLLAPSE_ALL, "Collapse All"}, {ID_SEPARATOR, ""},
               {ID_EDIT_FIND, "&Find...\tCtrl+F"}, {ID_EDIT_REPEAT, "Find &Next\tF3"},
               {ID_FIND_PREVIOUS, "Find &Previous\tShift+F3"}}},
    {"&View", {{ID_VIEW_TOOLBAR, "&Toolbar"}, {ID_VIEW_STATUS_BAR, "&Status Bar"}}},
    {"&Window", {{ID_WINDOW_NEW, "&New Window"}, {ID_WINDOW_CASCADE, "&Cascade"},
                 {ID_WINDOW_TILE_HORZ, "&Tile"}, {ID_WINDOW_ARRANGE, "&Arrange Icons"}}},
    {"&Help", {{ID_HELP_MANUAL, "Help"}, {ID_SEPARATOR, ""}, {ID_APP_ABOUT, "&About Orvex..."}}},
};

const std::vector<UINT> kToolBarMain = {
    ID_FILE_NEW, ID_SETTINGS, ID_SEPARATOR,
    ID_FILE_PRINT_SETUP, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT, ID_SEPARATOR,
    ID_EXPAND_NODE, ID_EXPAND_ALL, ID_SEPARATOR,
    ID_COLLAPSE_NODE, ID_COLLAPSE_ALL, ID_SEPARATOR,
    ID_COPY_TREE, ID_SEPARATOR,
    ID_HELP_MANUAL, ID_APP_ABOUT,
};

const std::vector<CAccelDef> kAccelMain = {
    {ID_FILE_NEW, "Ctrl+N"},      {ID_FILE_OPEN, "Ctrl+O"},         {ID_FILE_SAVE, "Ctrl+S"},
    {ID_FILE_PRINT, "Ctrl+P"},    {ID_EDIT_UNDO, "Ctrl+Z"},         {ID_EDIT_UNDO, "Alt+Backspace"},
    {ID_EDIT_CUT, "Ctrl+X"},      {ID_EDIT_CUT, "Shift+Del"},       {ID_EDIT_COPY, "Ctrl+C"},
    {ID_EDIT_COPY, "Ctrl+Ins"},   {ID_EDIT_PASTE, "Ctrl+V"},        {ID_EDIT_PASTE, "Shift+Ins"},
    {ID_NEXT_PANE, "F6"},         {ID_PREV_PANE, "Shift+F6"},
    {ID_EDIT_FIND, "Ctrl+F"},     {ID_EDIT_REPEAT, "F3"},           {ID_FIND_PREVIOUS, "Shift+F3"},
};

const std::map<UINT, const char*> kStrings = {
    {IDP_OLE_INIT_FAILED, "The application's component services could not be started."},
    {IDR_MAINFRAME, "Orvex"},
    {IDR_ORVEXTYPE, "\nOrvex\nOrvex\n\n\nOrvex.Document\nOrvex.Document"},
    {AFX_IDS_APP_TITLE, "Orvex"},
    {AFX_IDS_IDLEMESSAGE, "Ready"},
    {ID_SETTINGS, "Edit the Settings\nSettings"},
    {ID_HELP_MANUAL, "Open the Help Manual\nManual"},
    {ID_COPY_TREE, "Copy Tree To Clipboard\nCopy Tree"},
    {ID_EXPAND_ALL, "Expand All Nodes\nExpand All"},
    {ID_COLLAPSE_ALL, "Collapse All the Nodes\nCollapse All"},
    {ID_EXPAND_NODE, "Expand the Selected Node\nExpand Node"},
    {ID_COLLAPSE_NODE, "Callapse the Selected Node\nCollapse Node"},
    {ID_FILE_NEW, "Create a new document\nNew"},
    {ID_FILE_OPEN, "Open an existing document\nOpen"},
    {ID_FILE_CLOSE, "Close the active document\nClose"},
    {ID_FILE_SAVE, "Save the active document\nSave"},
    {ID_FILE_PRINT_SETUP, "Change the printer and printing options\nPrint Setup"},
    {ID_FILE_PRINT, "Print the active document\nPrint"},
    {ID_FILE_PRINT_PREVIEW, "Display full pages\nPrint Preview"},
    {ID_FILE_MRU_FILE1, "Open this document"},
    {ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy"},
    {ID_EDIT_CUT, "Cut the selection and put it on the Clipboard\nCut"},
    {ID_EDIT_PASTE, "Insert Clipboard contents\nPaste"},
    {ID_EDIT_UNDO, "Undo the last action\nUndo"},
    {ID_EDIT_FIND, "Find a name, value or OID in the tree, or filter the tree\nFind"},
    {ID_EDIT_REPEAT, "Find the next match\nFind Next"},
    {ID_FIND_PREVIOUS, "Find the previous match\nFind Previous"},
    {ID_WINDOW_NEW, "Open another window for the active document\nNew Window"},
    {ID_WINDOW_ARRANGE, "Arrange icons at the bottom of the window\nArrange Icons"},
    {ID_WINDOW_CASCADE, "Arrange windows so they overlap\nCascade Windows"},
    {ID_WINDOW_TILE_HORZ, "Arrange windows as non-overlapping tiles\nTile Windows"},
    {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
    {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
    {ID_NEXT_PANE, "Switch to the next window pane\nNext Pane"},
    {ID_PREV_PANE, "Switch back to the previous window pane\nPrevious Pane"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
};

} // namespace

const std::vector<CPopupDef>& MenuResource(UINT nID)
{
    static const std::vector<CPopupDef> kNone;
    if (nID == IDR_MAINFRAME)
        return kMenuMain;
    return nID == IDR_ORVEXTYPE ? kMenuDocument : kNone;
}

const std::vector<UINT>& ToolBarResource(UINT nID)
{
    static const std::vector<UINT> kNone;
    return nID == IDR_MAINFRAME ? kToolBarMain : kNone;
}

const std::vector<CAccelDef>& AcceleratorResource(UINT nID)
{
    static const std::vector<CAccelDef> kNone;
    return nID == IDR_MAINFRAME ? kAccelMain : kNone;
}

std::string LoadString(UINT nID)
{
    const auto it = kStrings.find(nID);
    return it == kStrings.end() ? std::string() : std::string(it->second);
}

std::string StringPart(const std::string& str, int nPart)
{
    std::size_t nBegin = 0;
    for (int n = 0; n < nPart; ++n) {
        nBegin = str.find('\n', nBegin);
        if (nBegin == std::string::npos)
            return {};
        ++nBegin;
    }
    return str.substr(nBegin, str.find('\n', nBegin) - nBegin);
}

static void InitOrvexQrc()
{
    Q_INIT_RESOURCE(orvex);
}

void InitAppResources()
{
    static const bool s_bDone = (InitOrvexQrc(), true);
    (void)s_bDone;
}
