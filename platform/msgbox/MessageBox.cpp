#include "platform/msgbox/MessageBox.h"
#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <mutex>

namespace {

std::mutex g_mutexHook;
MessageBoxHook g_hook;

QMessageBox::Icon IconOf(UINT type)
{
    switch (type & 0xF0) {
    case MB_ICONSTOP: return QMessageBox::Critical;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

MessageBoxHook CurrentHook()
{
    std::lock_guard<std::mutex> lock(g_mutexHook);
    return g_hook;
}

} // namespace

void SetMessageBoxHook(MessageBoxHook hook)
{
    std::lock_guard<std::mutex> lock(g_mutexHook);
    g_hook = std::move(hook);
}

int MessageBox(HWND hWndOwner, const std::string& text, const std::string& caption, UINT type)
{
    if (MessageBoxHook hook = CurrentHook())
        return hook(hWndOwner, text, caption, type);
    QWidget* owner = qobject_cast<QWidget*>(OwnerOf(hWndOwner));
    if (!owner)
        owner = QApplication::activeWindow();
    QMessageBox box(IconOf(type), QString::fromLatin1(caption.c_str()), QString::fromLatin1(text.c_str()),
                    QMessageBox::Ok, owner);
    box.exec();
    return IDOK;
}

int AfxMessageBox(const std::string& text, UINT type)
{
    return MessageBox(nullptr, text, "Orvex", type);
}
