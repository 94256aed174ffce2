#include "app/SkinMultiDocTemplate.h"
#include "app/ResourceTables.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/OrvexDoc.h"
#include "app/OrvexView.h"
#include <QMdiArea>
#include <algorithm>

CSkinMultiDocTemplate::CSkinMultiDocTemplate(UINT nIDResource)
    : m_nIDResource(nIDResource)
{
}

CSkinMultiDocTemplate::~CSkinMultiDocTemplate()
{
    // Frames hold plain pointers to their documents: they must go first.
    m_bClosing = true;
    if (m_pMainFrame)
        for (const auto& pDoc : m_apDocs)
            for (CChildFrame* pFrame : FramesOf(pDoc.get()))
                delete pFrame;
}

std::string CSkinMultiDocTemplate::GetDocString(int nIndex) const
{
    return StringPart(LoadString(m_nIDResource), nIndex);
}

COrvexDoc* CSkinMultiDocTemplate::OpenDocumentFile(const char* pszPathName)
{
    if (!m_pMainFrame)
        return nullptr;
    auto pDoc = std::make_unique<COrvexDoc>();
    const BOOL bOpened = pszPathName ? pDoc->OnOpenDocument(pszPathName) : pDoc->OnNewDocument();
    if (!bOpened)
        return nullptr;
    COrvexDoc* pResult = pDoc.get();
    m_apDocs.push_back(std::move(pDoc));
    QObject::connect(pResult, &COrvexDoc::TitleChanged, pResult, [this, pResult] { UpdateFrameTitles(pResult); });
    CreateNewFrame(pResult);
    return pResult;
}

CChildFrame* CSkinMultiDocTemplate::CreateNewFrame(COrvexDoc* pDoc)
{
    if (!m_pMainFrame)
        return nullptr;
    auto* pFrame = new CChildFrame(new COrvexView(pDoc));  // Owned by the window area once added.
    pFrame->setProperty("orvexDocument", QVariant::fromValue(static_cast<QObject*>(pDoc)));
    QObject::connect(pFrame, &QObject::destroyed, pDoc, [this, pDoc, pFrame] { OnFrameGone(pDoc, pFrame); });
    m_pMainFrame->AddChildFrame(pFrame);
    UpdateFrameTitles(pDoc);
    return pFrame;
}

std::vector<CChildFrame*> CSkinMultiDocTemplate::FramesOf(const COrvexDoc* pDoc) const
{
    std::vector<CChildFrame*> frames;
    if (!m_pMainFrame)
        return frames;
    for (QMdiSubWindow* pWindow : m_pMainFrame->MdiArea()->subWindowList(QMdiArea::CreationOrder)) {
        auto* pFrame = qobject_cast<CChildFrame*>(pWindow);
        if (pFrame && pFrame->property("orvexDocument").value<QObject*>() == pDoc)
            frames.push_back(pFrame);
    }
    return frames;
}

void CSkinMultiDocTemplate::UpdateFrameTitles(const COrvexDoc* pDoc) const
{
    NumberFrames(FramesOf(pDoc));
}

void CSkinMultiDocTemplate::NumberFrames(const std::vector<CChildFrame*>& frames)
{
    const bool bNumbered = frames.size() > 1;
    for (std::size_t n = 0; n < frames.size(); ++n)
        frames[n]->UpdateFrameTitle(bNumbered ? int(n + 1) : 0);
}

void CSkinMultiDocTemplate::OnFrameGone(const COrvexDoc* pDoc, const QObject* pGone)
{
    if (m_bClosing)
        return;
    // The area may still list the window that is going away.
    std::vector<CChildFrame*> frames = FramesOf(pDoc);
    std::erase_if(frames, [pGone](const CChildFrame* pFrame) { return pFrame == pGone; });
    if (!frames.empty()) {
        NumberFrames(frames);
        return;
    }
    const auto it = std::find_if(m_apDocs.begin(), m_apDocs.end(),
                                 [pDoc](const auto& p) { return p.get() == pDoc; });
    if (it != m_apDocs.end())
        m_apDocs.erase(it);
}
