#pragma once
// Registry keys of the application, spelled as the system uses them.

// Current user: the settings and the host history.
inline constexpr const char* kSettingsKey = "SOFTWARE\\Orvex\\Settings\\";
// Local machine: the installation folder.
inline constexpr const char* kAppKey = "SOFTWARE\\Orvex\\App\\";
