#include "platform/keyboard/KeyState.h"
#include <QCoreApplication>
#include <QKeyEvent>
#include <QObject>

namespace {

// X11 modifier masks carried in the native modifiers of input events.
constexpr quint32 kLockMask = 0x02;
constexpr quint32 kMod2Mask = 0x10;  // Num Lock on every common keymap

class CKeyWatcher : public QObject
{
public:
    bool m_bCaps = false;
    bool m_bNum = false;
    bool m_bScroll = false;

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::KeyPress || pEvent->type() == QEvent::KeyRelease) {
            auto* pKey = static_cast<QKeyEvent*>(pEvent);
            // Only events from the windowing system carry a scan code and a
            // trustworthy native modifier state.
            if (pKey->nativeScanCode() != 0)
                Update(pKey->nativeModifiers());
            if (pEvent->type() == QEvent::KeyPress && pKey->key() == Qt::Key_ScrollLock && !pKey->isAutoRepeat())
                m_bScroll = !m_bScroll;
        }
        return QObject::eventFilter(pObject, pEvent);
    }

private:
    void Update(quint32 nNative)
    {
        m_bCaps = (nNative & kLockMask) != 0;
        m_bNum = (nNative & kMod2Mask) != 0;
    }
};

CKeyWatcher* Watcher()
{
    static CKeyWatcher* s_pWatcher = [] {
        auto* pWatcher = new CKeyWatcher;  // Owned by the application object.
        pWatcher->setParent(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(pWatcher);
        return pWatcher;
    }();
    return s_pWatcher;
}

} // namespace

BOOL IsKeyToggled(int nVirtKey)
{
    if (!QCoreApplication::instance())
        return FALSE;
    const CKeyWatcher* pWatcher = Watcher();
    switch (nVirtKey) {
    case VK_CAPITAL: return pWatcher->m_bCaps;
    case VK_NUMLOCK: return pWatcher->m_bNum;
    case VK_SCROLL: return pWatcher->m_bScroll;
    default: return FALSE;
    }
}
