// Tree building: each walk record becomes nodes along its name path. The walk
// returns names in ascending order, so a record shares a leading part with the
// one before it and only the part that differs is created anew; the grid keeps
// no index of its nodes beyond the last node placed at each depth.
#include "grid/RowIcons.h"
#include "grid/OidTreeGrid.h"
#include "snmp/AppSettings.h"
#include "snmp/WalkMessages.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

std::unique_ptr<CNodeInfo> NewNodeInfo(const std::string& strLabel, int nImage)
{
    auto pInfo = std::make_unique<CNodeInfo>();
    pInfo->SetText(strLabel);
    pInfo->SetImageIndex(nImage);
    pInfo->SetChecked(TRUE);
    pInfo->SetSubText(COidTreeGrid::cellOid, std::string());  // three cells, all empty
    return pInfo;
}

// A name's leading "." (a name outside the internet subtree, written in full)
// belongs to its first component, so such names get top nodes of their own.
bool IsSeparator(const char* pszName, int i)
{
    return i > 0 && pszName[i] == '.';
}

// How much of a name the buffers take: all of it when it fits, else the
// components that fit whole (none when even the first one does not).
std::size_t HeadLength(std::string_view strName, std::size_t nRoom)
{
    if (strName.size() <= nRoom)
        return strName.size();
    const std::size_t nDot = strName.rfind('.', nRoom);
    return nDot == std::string_view::npos ? 0 : nDot;
}

} // namespace

void COidTreeGrid::PlaceRecord(const CWalkRecord& record)
{
    // A name too long for the buffers is placed as its head, cut after a whole
    // component, and one leaf under the head labelled with the rest: nothing is
    // dropped, so two names never end in the same path and label.
    const std::string_view strName(record.m_strName.c_str(), std::strlen(record.m_strName.c_str()));
    const std::size_t nHead = HeadLength(strName, kNameSize - 1);
    char szName[kNameSize] = {};
    std::memcpy(szName, strName.data(), nHead);
    const int nLen = static_cast<int>(nHead);
    if (nHead == strName.size()) {
        PlaceComponents(szName, nLen, &record);
    } else {
        // A head equal to the previous record's (a table of long indexes) stands already.
        if (std::strcmp(szName, m_szPrevName) != 0)
            PlaceComponents(szName, nLen, nullptr);
        const int nLevel = nLen ? 1 + static_cast<int>(std::count(szName + 1, szName + nLen, '.')) : 0;
        const std::string strRest(strName.substr(nLen ? nHead + 1 : 0));
        m_apLevelItem[nLevel] =
            nLevel == 0 ? AddTopNode(strRest) : AddPathNode(m_apLevelItem[nLevel - 1], strRest, &record);
    }
    std::memcpy(m_szPrevName, szName, sizeof m_szPrevName);
}

void COidTreeGrid::PlaceComponents(const char* szName, int nLen, const CWalkRecord* pCells)
{
    // The first component that differs from the previous name (the previous
    // name's terminating zeros count as characters). A name equal to the
    // previous one, or a leading part of it, yields its last component.
    int i = 0, nLevel = 0, nStart = 0;
    while (i < nLen) {
        if (IsSeparator(szName, i)) {
            ++nLevel;
            nStart = i + 1;
        }
        if (szName[i] != m_szPrevName[i]) {
            ++i;
            while (i < nLen && !IsSeparator(szName, i))
                ++i;
            break;
        }
        ++i;
    }

    // Place that component and every one after it; the last one carries the cells.
    while (nStart <= nLen && nLevel < kNameSize) {
        if (i == nStart) {
            // An empty component ends the placing; deeper entries would point
            // at nodes placed for other names (possibly freed by a cleaning).
            std::fill(m_apLevelItem + nLevel, std::end(m_apLevelItem), nullptr);
            break;
        }
        const std::string strComponent(szName + nStart, static_cast<std::size_t>(i - nStart));
        m_apLevelItem[nLevel] = nLevel == 0
            ? AddTopNode(strComponent)
            : AddPathNode(m_apLevelItem[nLevel - 1], strComponent, i == nLen ? pCells : nullptr);
        ++i;
        nStart = i;
        ++nLevel;
        while (i < nLen && !IsSeparator(szName, i))
            ++i;
    }
}

CTreeListCtrl::CTreeItem* COidTreeGrid::AddTopNode(const std::string& strComponent)
{
    CTreeItem* pPrevTop = m_apLevelItem[0];
    CTreeItem* pTop = AddRootNode(NewNodeInfo(strComponent + kQuerying, riTopNode));
    if (pPrevTop)
        FinishNode(pPrevTop, AppSettings.Cleaning.load() == 1);
    // The deeper entries belong to the finished top node, which its cleaning may change.
    std::fill(m_apLevelItem + 1, std::end(m_apLevelItem), nullptr);
    return pTop;
}

CTreeListCtrl::CTreeItem* COidTreeGrid::AddPathNode(CTreeItem* pParent, const std::string& strComponent,
                                                     const CWalkRecord* pCells)
{
    if (!pParent)
        return nullptr;
    std::unique_ptr<CNodeInfo> pInfo = NewNodeInfo(strComponent, riNode);
    if (pCells) {
        pInfo->SetSubText(cellType, pCells->m_strType);
        pInfo->SetSubText(cellValue, pCells->m_strValue);
        pInfo->SetSubText(cellOid, pCells->m_strOid);
    }
    return AddChildNode(pParent, std::move(pInfo), FALSE);
}

void COidTreeGrid::FinishTopNode(BOOL bMayClean)
{
    CTreeItem* pTop = m_apLevelItem[0];
    if (!pTop)
        return;
    // The query's building ends here: a second end message finds no top node,
    // and a stray record starts a top node of its own instead of growing a
    // subtree that a cleaning thread is reading.
    std::fill(std::begin(m_apLevelItem), std::end(m_apLevelItem), nullptr);
    std::memset(m_szPrevName, 0, sizeof m_szPrevName);
    FinishNode(pTop, bMayClean && AppSettings.Cleaning.load() == 1);
}

void COidTreeGrid::FinishNode(CTreeItem* pTop, BOOL bClean)
{
    const std::string strLabel = WithoutStatus(InfoOf(pTop)->GetText());
    SetLabel(pTop, bClean ? strLabel + kCleaning : strLabel);
    RefreshRow(pTop);
    if (bClean)
        StartCleaning(pTop);
}

void COidTreeGrid::StartCleaning(CTreeItem* pTop)
{
    ++m_pQuery->m_nCleaners;
    ++m_nOpenCleanings;
    auto pBlock = std::make_unique<CCleanBlock>(CCleanBlock{this, pTop, WindowHandle(), m_pQuery});
    if (!LaunchCleaner(std::move(pBlock))) {
        // No thread: nothing will end this cleaning, so it ends here.
        --m_pQuery->m_nCleaners;
        --m_nOpenCleanings;
        SetLabel(pTop, WithoutStatus(InfoOf(pTop)->GetText()));
        RefreshRow(pTop);
    }
}
