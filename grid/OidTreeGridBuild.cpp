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

} // namespace

void COidTreeGrid::PlaceRecord(const CWalkRecord& record)
{
    // A name of kNameSize characters or more is cut to fit the buffers, so
    // nothing is written past them and every depth stays below kNameSize.
    char szName[kNameSize] = {};
    const std::size_t nMax = std::min<std::size_t>(record.m_strName.size(), kNameSize - 1);
    const int nLen = static_cast<int>(strnlen(record.m_strName.c_str(), nMax));
    std::memcpy(szName, record.m_strName.data(), static_cast<std::size_t>(nLen));

    // The first component that differs from the previous name (the previous
    // name's terminating zeros count as characters). A name equal to the
    // previous one, or a leading part of it, yields its last component.
    int i = 0, nLevel = 0, nStart = 0;
    while (i < nLen) {
        if (szName[i] == '.') {
            ++nLevel;
            nStart = i + 1;
        }
        if (szName[i] != m_szPrevName[i]) {
            ++i;
            while (i < nLen && szName[i] != '.')
                ++i;
            break;
        }
        ++i;
    }

    // Place that component and every one after it.
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
            : AddPathNode(m_apLevelItem[nLevel - 1], strComponent, i == nLen ? &record : nullptr);
        ++i;
        nStart = i;
        ++nLevel;
        while (i < nLen && szName[i] != '.')
            ++i;
    }
    std::memcpy(m_szPrevName, szName, sizeof m_szPrevName);
}

CTreeListCtrl::CTreeItem* COidTreeGrid::AddTopNode(const std::string& strComponent)
{
    CTreeItem* pPrevTop = m_apLevelItem[0];
    CTreeItem* pTop = AddRootNode(NewNodeInfo(strComponent + kQuerying, riTopNode).release());
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
    return AddChildNode(pParent, pInfo.release(), FALSE);
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
