#pragma once
// Resource and command numbers. The framework's standard commands keep their
// standard numbers so that accelerators and prompts line up with them.
#include "platform/WinTypes.h"

// Resources
constexpr UINT IDR_MAINFRAME = 128;      // main menu, toolbar, accelerators, icon, title
constexpr UINT IDR_ORVEXTYPE = 129;      // document menu, document string, document icon
constexpr UINT IDB_SPLASH = 132;         // splash picture, 330 x 165
constexpr UINT IDB_GO = 136;             // query button image with "Go", 13 x 12
constexpr UINT IDB_STOP = 137;           // query button image with "Stop", 13 x 13
constexpr UINT IDP_OLE_INIT_FAILED = 100;
constexpr UINT AFX_IDS_APP_TITLE = 57344;
constexpr UINT AFX_IDS_IDLEMESSAGE = 57345;

// Commands of the system itself
constexpr UINT ID_SETTINGS = 32771;
constexpr UINT ID_HELP_MANUAL = 32773;
constexpr UINT ID_COPY_TREE = 32774;
constexpr UINT ID_EXPAND_ALL = 32775;
constexpr UINT ID_COLLAPSE_ALL = 32776;
constexpr UINT ID_EXPAND_NODE = 32777;
constexpr UINT ID_COLLAPSE_NODE = 32778;
constexpr UINT ID_FIND_PREVIOUS = 32779;

// The framework's standard commands
constexpr UINT ID_SEPARATOR = 0;
constexpr UINT ID_FILE_NEW = 0xE100;
constexpr UINT ID_FILE_OPEN = 0xE101;
constexpr UINT ID_FILE_CLOSE = 0xE102;
constexpr UINT ID_FILE_SAVE = 0xE103;
constexpr UINT ID_FILE_PRINT_SETUP = 0xE106;
constexpr UINT ID_FILE_PRINT = 0xE107;
constexpr UINT ID_FILE_PRINT_DIRECT = 0xE108;
constexpr UINT ID_FILE_PRINT_PREVIEW = 0xE109;
constexpr UINT ID_FILE_MRU_FILE1 = 0xE110;
constexpr UINT ID_EDIT_COPY = 0xE122;
constexpr UINT ID_EDIT_CUT = 0xE123;
constexpr UINT ID_EDIT_FIND = 0xE124;
constexpr UINT ID_EDIT_PASTE = 0xE125;
constexpr UINT ID_EDIT_REPEAT = 0xE128;
constexpr UINT ID_EDIT_UNDO = 0xE12B;
constexpr UINT ID_WINDOW_NEW = 0xE130;
constexpr UINT ID_WINDOW_ARRANGE = 0xE131;
constexpr UINT ID_WINDOW_CASCADE = 0xE132;
constexpr UINT ID_WINDOW_TILE_HORZ = 0xE133;
constexpr UINT ID_APP_ABOUT = 0xE140;
constexpr UINT ID_APP_EXIT = 0xE141;
constexpr UINT ID_NEXT_PANE = 0xE150;
constexpr UINT ID_PREV_PANE = 0xE151;
constexpr UINT ID_INDICATOR_CAPS = 0xE701;
constexpr UINT ID_INDICATOR_NUM = 0xE702;
constexpr UINT ID_INDICATOR_SCRL = 0xE703;
constexpr UINT ID_VIEW_TOOLBAR = 0xE800;
constexpr UINT ID_VIEW_STATUS_BAR = 0xE801;

// Child window ids of the main frame
constexpr UINT AFX_IDW_TOOLBAR = 128;    // the toolbar is created with its resource number
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
constexpr UINT AFX_IDW_MENUBAR = 0xE81A;
