#pragma once
// The manual in a window of Orvex itself, for desktops with no program for HTML
// (or one that fails to start): a text browser with Back, Forward and Home that
// shows the manual's pictures and follows its links. UI thread only.
#include <QUrl>
#include <QWidget>

class QAction;
class QTextBrowser;

class CHelpWindow : public QWidget
{
    Q_OBJECT
public:
    // Shows url in pOwner's help window, made on first use and raised after.
    // The window is a top-level window owned by pOwner; with no owner it deletes
    // itself when closed. It never keeps the application running on its own.
    static CHelpWindow* Open(QWidget* pOwner, const QUrl& url);

    QTextBrowser* Browser() const { return m_pBrowser; }
    QAction* BackAction() const { return m_pBack; }
    QAction* ForwardAction() const { return m_pForward; }
    QAction* HomeAction() const { return m_pHome; }

private:
    explicit CHelpWindow(QWidget* pOwner);
    void ShowTitle();

    QTextBrowser* m_pBrowser;  // Child widget; Qt owns it.
    QAction* m_pBack;          // Actions of the window; Qt owns them.
    QAction* m_pForward;
    QAction* m_pHome;
};
