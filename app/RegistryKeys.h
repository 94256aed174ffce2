#pragma once
// Registry keys of the application, spelled as the system has always used them.

// Current user: the settings and the host history.
inline constexpr const char* kSettingsKey = "SOFTWARE\\ZudavO2\\Settings\\";
// Local machine: the installation folder.
inline constexpr const char* kAppKey = "SOFTWARE\\ZudavO2\\App\\";
