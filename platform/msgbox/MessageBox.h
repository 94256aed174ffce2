#pragma once
// Modal message boxes: caption, icon, OK. Tests replace the box with a hook that
// records what would have been shown.
#include "platform/WinTypes.h"
#include "platform/winmsg/WinMsg.h"
#include <functional>
#include <string>

constexpr UINT MB_OK = 0x00;
constexpr UINT MB_ICONSTOP = 0x10;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr int IDOK = 1;

// Shows text in a modal box owned by the window behind hWndOwner (null: the
// active window), on the UI thread. Returns IDOK. Texts are 8-bit, shown as Latin-1.
int MessageBox(HWND hWndOwner, const std::string& text, const std::string& caption, UINT type);

// The framework's standard box: captioned with the application title ("Orvex").
int AfxMessageBox(const std::string& text, UINT type = MB_OK | MB_ICONERROR);

using MessageBoxHook = std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT type)>;
// Replaces every box with the hook (tests); an empty hook restores the real boxes.
void SetMessageBoxHook(MessageBoxHook hook);
