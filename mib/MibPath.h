#pragma once
// Where MIB modules come from: the "MibPath" setting (folders and files
// separated by ":"), the user's own folder and Orvex's base modules.
#include <string>
#include <vector>

namespace MibPath {

// The setting's default: the user's folder, Debian's net-snmp folder and the
// folders Debian's MIB downloader fills.
constexpr const char* kDefault = "$XDG_DATA_HOME/orvex/mibs:/usr/share/snmp/mibs:/var/lib/mibs/*";

// $XDG_DATA_HOME/orvex/mibs (~/.local/share/orvex/mibs when the variable is unset).
std::string UserFolder();

// The base modules' folder: "mibs" beside the executable, else
// "../share/orvex/mibs" from it; empty when neither exists.
std::string BaseFolder();

// The module files of a path, in the order that wins: entries as listed, a
// folder's files (sorted by name) before its subfolders', then the base
// folder's files. "$XDG_DATA_HOME" and a leading "~" are expanded; an entry
// ending in "/*" stands for the folder. Missing entries are skipped; hidden
// files and folders are left out. Reads the folders: cost of a directory walk.
std::vector<std::string> Files(const std::string& strPath, const std::string& strBaseFolder);

// Copies a module file into the user's folder (made when missing) so that it
// stays loaded; false with *pstrError set when it cannot be copied.
bool CopyToUserFolder(const std::string& strFile, std::string* pstrError);

} // namespace MibPath
