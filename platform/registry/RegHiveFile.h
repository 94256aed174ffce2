#pragma once
// Where a hive lives on disk and how it is read and replaced. Writers take an
// advisory lock (flock on "<file>.lock"), read the file again, apply their
// change and rename a fully written, fsynced temporary file over it, so a
// reader sees either the old or the new file and concurrent writers lose
// nothing. A file that cannot be parsed is renamed "<file>.bad" (or
// "<file>.N.bad" when that exists), reported in one line on stderr, and the
// hive starts empty.
#include "platform/registry/RegHive.h"
#include <functional>
#include <string>

class CRegHiveFile
{
public:
    // strRoot names the hive in the file ("HKEY_CURRENT_USER"). A private hive
    // gets its folder created 0700 and its file 0600; others 0755 and 0644.
    CRegHiveFile(std::string strPath, std::string strRoot, bool bPrivate);

    // $XDG_CONFIG_HOME/orvex/user.reg (default ~/.config), private.
    static CRegHiveFile CurrentUser();
    // <first absolute entry of $XDG_CONFIG_DIRS>/orvex/machine.reg (default /etc/xdg).
    static CRegHiveFile LocalMachine();

    // The hive's content; empty when the file is missing or unreadable. Reads
    // and parses the whole file.
    CRegHive Read() const;

    // True when the folder exists, or can be created, and can be written.
    bool IsWritable() const;

    // Under the lock: reads the file again, calls apply on its content and
    // replaces the file. On failure writes one line on stderr, leaves the old
    // file as it was and no temporary file behind, and returns false.
    bool Update(const std::function<void(CRegHive&)>& apply) const;

private:
    enum class LoadResult { Loaded, Missing, Unreadable, Corrupt };

    LoadResult Load(CRegHive& hive, std::string& strError) const;
    bool SetAside(const std::string& strReason) const;
    bool MakeFolder() const;
    bool WriteWhole(const std::string& text) const;
    std::string Folder() const;
    void Report(const std::string& strWhat) const;

    std::string m_strPath;
    std::string m_strRoot;
    bool m_bPrivate;
};
