#pragma once
// Registry storage of the settings record AppSettings (snmp/AppSettings.h) and
// of the host history g_history (app/HistoryTable.h). UI thread only. Loading
// only reads; saving writes only what this process changed, merged under the
// hive's lock with what is on disk, so instances running side by side keep
// each other's changes. Callers may ignore the results: every failure falls
// back to defaults.
#include <string>

// Initialises and loads g_history ("Host", 2 columns, 30 rows), then reads the
// settings from the current user's key. A value that is missing, or longer
// than its field, sets that field to its default.
// Returns 1 when the key could not be opened (every field then has its default), 0 when it was read.
int LoadSettings();

// Fixes AppSettings.HomePath: the machine hive's "HomePath" when that folder
// holds the manual (Help/), else HomeFolderOf the running executable's folder,
// which is then stored. HomePath is filled in either way when the executable's
// folder is known.
// Returns 1 when the machine key could not be opened for writing, 0 when it could.
int LoadHomePath();

// Where an executable in strExecutableFolder (ending in "/") finds its manual
// and resources: that folder itself when it holds Help/ (a build tree), else
// PREFIX/share/orvex/ for an executable in PREFIX/bin/ when that holds Help/ (an
// installation), else the folder itself. Looks at the file system.
std::string HomeFolderOf(const std::string& strExecutableFolder);

// Saves the history's additions and the settings that differ from what was
// loaded (or last saved), then releases g_history. Writes nothing, and
// creates no file, when nothing changed. A failure is told in one line on
// standard error.
// Returns 1 when the settings could not be saved, 0 when they were (or nothing had changed).
int SaveSettings();
