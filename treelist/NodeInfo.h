#pragma once
// The data behind one row of the tree-list control: the label (column 0), the
// cell texts of columns 1..n, and per-cell attributes (control type, background
// colour, choice list), plus check state, icon and tooltip bits.
// Plain class, no virtual functions; owns its choice lists.
//
// A tree of a million nodes holds a million of these, so the cells are packed
// into one string and the per-cell attributes, which few nodes have, live in a
// block of their own allocated on first use.
#include "platform/WinTypes.h"
#include <map>
#include <memory>
#include <string>
#include <vector>

using CStringList = std::vector<std::string>;

class CNodeInfo
{
public:
    // Cell control types that have behaviour; any other value behaves as ctNone.
    enum CONTROLTYPE : int {
        ctNone = 0,
        ctComboBox = 1,
        ctSpin = 2,
        ctButton = 4,
        ctColorSwatch = 5,
        ctCheckBox = 7,
    };
    static constexpr COLORREF NoColor = static_cast<COLORREF>(-1);

    CNodeInfo() = default;
    CNodeInfo(const CNodeInfo&) = delete;
    CNodeInfo& operator=(const CNodeInfo&) = delete;

    std::string& GetText() { return m_strText; }
    const std::string& GetText() const { return m_strText; }
    void SetText(const std::string& text) { m_strText = text; }

    // Cell i is column i + 1. GetSubText gives an empty text for an index out
    // of range. Both cost O(length of the cells before i).
    std::string GetSubText(int i) const;
    void SetSubText(int i, const std::string& text);  // grows the cells; gaps are empty
    int GetSubTextCount() const { return m_nCells; }

    // FALSE and t = ctNone when cell i has no control type.
    BOOL CellControlType(int i, CONTROLTYPE& t) const;
    void SetCellControlType(int i, CONTROLTYPE t);
    // NoColor when cell i has no colour.
    COLORREF CellColor(int i) const;
    void SetCellColor(int i, COLORREF color);
    // The stored list (owned by this info) or FALSE and null.
    BOOL GetChoices(int i, CStringList*& pList) const;
    // Stores a copy of *pSource (the caller keeps pSource); null stores an empty list.
    void SetChoices(int i, const CStringList* pSource);

    BOOL IsChecked() const { return m_bChecked; }
    void SetChecked(BOOL bChecked) { m_bChecked = bChecked ? TRUE : FALSE; }
    int ImageIndex() const { return m_nImage; }
    void SetImageIndex(int nImage) { m_nImage = nImage; }
    // Bit i set: column i's text was shortened when last drawn (hover shows it whole).
    DWORD TipMask() const { return m_nTipMask; }
    void SetTipMask(DWORD nMask) { m_nTipMask = nMask; }

    // Copies texts, check state, image and tooltip bits; control types, choice
    // lists and colours only for cells below src's cell count.
    void CopyFrom(const CNodeInfo& src);

private:
    struct CCellAttributes
    {
        std::map<int, CONTROLTYPE> controlTypes;
        std::map<int, COLORREF> cellColors;
        std::map<int, std::unique_ptr<CStringList>> choiceLists;
    };
    CCellAttributes& Attributes();
    // Where cell i's length prefix starts in m_strCells; its end for i = m_nCells.
    std::size_t CellOffset(int i) const;

    DWORD m_nTipMask = 0;
    int m_nImage = -1;
    BOOL m_bChecked = FALSE;
    int m_nCells = 0;
    std::string m_strText;
    // Each cell in order: its length (7 bits a byte, low bits first, the high
    // bit set on all but the last byte), then its bytes, which may be any.
    std::string m_strCells;
    std::unique_ptr<CCellAttributes> m_pAttributes;  // Owned; null until a cell gets an attribute
};
