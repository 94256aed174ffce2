#pragma once
// The data behind one row of the tree-list control: the label (column 0), the
// cell texts of columns 1..n, and per-cell attributes (control type, background
// colour, choice list), plus check state, icon and tooltip bits.
// Plain class, no virtual functions; owns its choice lists.
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

    // Cell i is column i + 1. GetSubText gives an empty text for an index out of range.
    std::string GetSubText(int i) const;
    void SetSubText(int i, const std::string& text);  // grows the cells; gaps are empty
    int GetSubTextCount() const { return static_cast<int>(m_subTexts.size()); }

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
    DWORD m_nTipMask = 0;
    std::map<int, CONTROLTYPE> m_controlTypes;
    std::map<int, COLORREF> m_cellColors;
    std::map<int, std::unique_ptr<CStringList>> m_choiceLists;
    std::string m_strText;
    std::vector<std::string> m_subTexts;
    BOOL m_bChecked = FALSE;
    int m_nImage = -1;
};
