#pragma once
// Registry storage of the settings record AppSettings (snmp/AppSettings.h) and
// of the host history g_history (app/HistoryTable.h). UI thread only. Each call
// reads or writes the hive files once; results are 0 or 1 and callers may
// ignore them: every failure falls back to defaults.
#include <string>

// Initialises and loads g_history ("Host", 2 columns, 30 rows), then reads the
// settings from the current user's key. A value that is missing, or longer
// than its field, sets that field to its default. Returns 1 when the key could
// not be opened (every field then has its default), else 0.
int LoadSettings();

// Fixes AppSettings.HomePath: the machine hive's "HomePath" when that folder
// holds the manual (Help/), else HomeFolderOf the running executable's folder,
// which is then stored. Returns 1 when the machine key could not be opened for
// writing, else 0; HomePath is filled in either case when the executable's
// folder is known.
int LoadHomePath();

// Where an executable in strExecutableFolder (ending in "/") finds its manual
// and resources: that folder itself when it holds Help/ (a build tree), else
// PREFIX/share/orvex/ for an executable in PREFIX/bin/ when that holds Help/ (an
// installation), else the folder itself. Looks at the file system.
std::string HomeFolderOf(const std::string& strExecutableFolder);

// Saves and releases g_history, then writes every setting to the current
// user's key. Returns 1 when the key could not be created or opened (nothing
// written), else 0.
int SaveSettings();
