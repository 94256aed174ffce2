#pragma once
// The help command: opens the manual in the "Help/" folder of the installation.
#include <string>

class QWidget;

constexpr const char* kHelpManualFile = "Orvex.html";

// The folder of the manual: homePath followed by "Help/" ("Help/" alone, relative to
// the current folder, when homePath is empty). No length limit.
std::string HelpDirectory(const std::string& strHomePath);

// Opens the manual from HelpDirectory(AppSettings.HomePath): through the desktop
// when it has a program for HTML that starts, else in Orvex's own help window
// owned by pOwner (may be null). A missing manual is reported in a message box.
// Never shows nothing. UI thread; may wait briefly for the desktop's answer.
void OpenHelpManual(QWidget* pOwner);
