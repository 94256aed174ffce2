#pragma once
// Shows the busy cursor over the application for the object's lifetime.
// Nests: the cursor returns when the last one goes. UI thread only.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
