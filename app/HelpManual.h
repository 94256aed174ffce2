#pragma once
// The help command: opens the manual in the "Help/" folder of the installation.
#include <string>

constexpr const char* kHelpManualFile = "Orvex.html";

// The folder of the manual: homePath followed by "Help/" ("Help/" alone, relative to
// the current folder, when homePath is empty). No length limit.
std::string HelpDirectory(const std::string& strHomePath);

// Asks the shell to open the manual from HelpDirectory(AppSettings.HomePath).
// Shows nothing of its own when the manual or a viewer is missing.
void OpenHelpManual();
