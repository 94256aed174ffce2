#pragma once
// Where a hive lives on disk and how it is read and replaced. Writers take an
// advisory lock (flock on "<file>.lock"), read the file again, apply their
// change and rename a fully written, fsynced temporary file over it, so a
// reader sees either the old or the new file and concurrent writers lose
// nothing. When the file is a symbolic link, the file it leads to is the one
// replaced, and the link stays. Only a regular file smaller than 16 MiB is
// read; anything else, like a file that cannot be parsed, is renamed
// "<file>.bad" (or "<file>.N.bad" when that exists), reported in one line on
// stderr, and the hive starts empty.
#include "platform/registry/RegHive.h"
#include <functional>
#include <memory>
#include <string>

class CRegHiveFile
{
public:
    static constexpr long long kMaxFileBytes = 16LL << 20;  // a hive file is smaller than this

    // The advisory lock of one hive file, held for the object's lifetime.
    // Locks of the same file held by two objects exclude each other, also
    // within one process.
    class CLock
    {
    public:
        explicit CLock(int fd) : m_fd(fd) {}
        ~CLock();
        CLock(const CLock&) = delete;
        CLock& operator=(const CLock&) = delete;

    private:
        int m_fd;
    };

    // strRoot names the hive in the file ("HKEY_CURRENT_USER"). A private hive
    // gets its folder created 0700 and its file 0600; others 0755 and 0644.
    CRegHiveFile(std::string strPath, std::string strRoot, bool bPrivate);

    // $XDG_CONFIG_HOME/orvex/user.reg (default ~/.config), private.
    static CRegHiveFile CurrentUser();
    // <first absolute entry of $XDG_CONFIG_DIRS>/orvex/machine.reg (default /etc/xdg).
    static CRegHiveFile LocalMachine();

    // The hive's content; empty when the file is missing or unreadable. Reads
    // and parses the whole file. bLocked: the caller holds Lock().
    CRegHive Read(bool bLocked = false) const;

    // True when the folders of the file and of the file a link leads to exist,
    // or can be created, and can be written.
    bool IsWritable() const;

    // Creates the folder and waits for the lock; null (after one line on
    // stderr) when either fails.
    std::unique_ptr<CLock> Lock() const;

    // Under the lock (already held by the caller when bLocked): reads the file
    // again and calls apply on its content; when apply returns true, replaces
    // the file. On failure writes one line on stderr, leaves the old file as it
    // was and no temporary file behind, and returns false.
    bool Update(const std::function<bool(CRegHive&)>& apply, bool bLocked = false) const;

private:
    enum class LoadResult { Loaded, Missing, Unreadable, Corrupt };

    LoadResult Load(CRegHive& hive, std::string& strError) const;
    bool SetAside(const std::string& strReason) const;
    bool MakeFolder() const;
    bool WriteWhole(const std::string& text) const;
    std::string Folder() const;
    std::string Target() const;
    void Report(const std::string& strWhat) const;

    std::string m_strPath;
    std::string m_strRoot;
    bool m_bPrivate;
};
