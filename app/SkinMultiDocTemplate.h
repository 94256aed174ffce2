#pragma once
// The document template: makes documents, and for each a child frame holding a
// view, inside the main frame's window area. It owns the open documents; a
// document goes when its last window closes.
#include "platform/WinTypes.h"
#include <memory>
#include <string>
#include <vector>

class CChildFrame;
class CMainFrame;
class COrvexDoc;

class CSkinMultiDocTemplate
{
public:
    // nIDResource: the document's menu and string resource (129).
    explicit CSkinMultiDocTemplate(UINT nIDResource);
    ~CSkinMultiDocTemplate();
    CSkinMultiDocTemplate(const CSkinMultiDocTemplate&) = delete;
    CSkinMultiDocTemplate& operator=(const CSkinMultiDocTemplate&) = delete;

    UINT GetResourceID() const { return m_nIDResource; }
    // Part nIndex of the document string (0 window title, 1 document name, ...).
    std::string GetDocString(int nIndex) const;

    // Where windows open; set once the main frame exists (Not owned).
    void SetMainFrame(CMainFrame* pFrame) { m_pMainFrame = pFrame; }

    // A new document (pszPathName null) or one opened from a file, shown in a new
    // maximised window. Null when the document cannot be opened or there is no
    // main frame yet.
    COrvexDoc* OpenDocumentFile(const char* pszPathName);
    // A further window (frame and view) on pDoc. Null without a main frame.
    CChildFrame* CreateNewFrame(COrvexDoc* pDoc);

    std::size_t GetDocumentCount() const { return m_apDocs.size(); }
    COrvexDoc* GetDocument(std::size_t nIndex) const { return m_apDocs[nIndex].get(); }
    // The windows showing pDoc, in the order they were opened.
    std::vector<CChildFrame*> FramesOf(const COrvexDoc* pDoc) const;

private:
    void UpdateFrameTitles(const COrvexDoc* pDoc) const;
    static void NumberFrames(const std::vector<CChildFrame*>& frames);
    void OnFrameGone(const COrvexDoc* pDoc, const class QObject* pGone);

    UINT m_nIDResource;
    CMainFrame* m_pMainFrame = nullptr;  // Not owned.
    bool m_bClosing = false;
    std::vector<std::unique_ptr<COrvexDoc>> m_apDocs;
};
