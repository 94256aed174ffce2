#include "platform/registry/RegHiveFile.h"
#include "platform/registry/RegFileFormat.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr const char* kUserRoot = "HKEY_CURRENT_USER";
constexpr const char* kMachineRoot = "HKEY_LOCAL_MACHINE";

std::string UserConfigDir()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    if (!home || !*home)
    {
        const passwd* pw = getpwuid(getuid());
        home = pw ? pw->pw_dir : "/";
    }
    return std::string(home) + "/.config";
}

std::string MachineConfigDir()
{
    const char* xdg = std::getenv("XDG_CONFIG_DIRS");
    std::string_view dirs = xdg ? xdg : "";
    while (!dirs.empty())
    {
        const std::size_t colon = dirs.find(':');
        const std::string_view dir = dirs.substr(0, colon);
        if (!dir.empty() && dir.front() == '/')
            return std::string(dir);
        dirs.remove_prefix(colon == std::string_view::npos ? dirs.size() : colon + 1);
    }
    return "/etc/xdg";
}

std::string ParentOf(const std::string& strPath)
{
    const std::size_t slash = strPath.find_last_of('/');
    return slash == 0 || slash == std::string::npos ? "/" : strPath.substr(0, slash);
}

bool PathExists(const std::string& strPath)
{
    struct stat st;
    return ::stat(strPath.c_str(), &st) == 0;
}

// Holds flock on a lock file for its lifetime.
class CFileLock
{
public:
    CFileLock(const std::string& strPath, mode_t mode)
        : m_fd(::open(strPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, mode))
    {
        while (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {}
    }
    ~CFileLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);  // releases the lock
    }
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;
    bool IsHeld() const { return m_fd >= 0; }

private:
    int m_fd;
};

// mkdir -p, with exactly this mode (whatever the umask) on every folder it creates.
bool MakeFolders(const std::string& strDir, mode_t mode)
{
    if (PathExists(strDir))
        return true;
    if (strDir != "/" && !MakeFolders(ParentOf(strDir), mode))
        return false;
    return (::mkdir(strDir.c_str(), mode) == 0 || errno == EEXIST) && ::chmod(strDir.c_str(), mode) == 0;
}

bool WriteAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size())
    {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}
}  // namespace

CRegHiveFile::CRegHiveFile(std::string strPath, std::string strRoot, bool bPrivate)
    : m_strPath(std::move(strPath)), m_strRoot(std::move(strRoot)), m_bPrivate(bPrivate)
{
}

CRegHiveFile CRegHiveFile::CurrentUser()
{
    return CRegHiveFile(UserConfigDir() + "/orvex/user.reg", kUserRoot, true);
}

CRegHiveFile CRegHiveFile::LocalMachine()
{
    return CRegHiveFile(MachineConfigDir() + "/orvex/machine.reg", kMachineRoot, false);
}

std::string CRegHiveFile::Folder() const
{
    return ParentOf(m_strPath);
}

void CRegHiveFile::Report(const std::string& strWhat) const
{
    std::fprintf(stderr, "orvex: registry file %s: %s\n", m_strPath.c_str(), strWhat.c_str());
}

CRegHiveFile::LoadResult CRegHiveFile::Load(CRegHive& hive, std::string& strError) const
{
    std::FILE* f = std::fopen(m_strPath.c_str(), "rbe");
    if (!f)
    {
        strError = std::strerror(errno);
        return errno == ENOENT ? LoadResult::Missing : LoadResult::Unreadable;
    }
    std::string text;
    char buf[8192];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        text.append(buf, n);
    const bool bFailed = std::ferror(f);
    strError = bFailed ? std::strerror(errno) : "";
    std::fclose(f);
    if (bFailed)
        return LoadResult::Unreadable;
    return ParseRegHive(text, m_strRoot, hive, strError) ? LoadResult::Loaded : LoadResult::Corrupt;
}

CRegHive CRegHiveFile::Read() const
{
    CRegHive hive;
    std::string strError;
    if (Load(hive, strError) != LoadResult::Corrupt)
        return hive;
    // Set aside only under the lock: another instance may be replacing the file right now.
    const CFileLock lock(m_strPath + ".lock", m_bPrivate ? 0600 : 0644);
    if (!lock.IsHeld())
        Report("cannot be parsed (" + strError + "); left as it is, defaults apply");
    else if (Load(hive, strError) == LoadResult::Corrupt)
        SetAside(strError);
    return hive;
}

bool CRegHiveFile::SetAside(const std::string& strReason) const
{
    std::string strBad = m_strPath + ".bad";
    for (int n = 1; PathExists(strBad); ++n)
        strBad = m_strPath + "." + std::to_string(n) + ".bad";
    // link() never replaces an existing file, unlike rename().
    if (::link(m_strPath.c_str(), strBad.c_str()) != 0 || ::unlink(m_strPath.c_str()) != 0)
    {
        Report("cannot be parsed (" + strReason + ") and cannot be kept aside ("
               + std::strerror(errno) + "); it is left untouched and not written");
        return false;
    }
    Report("cannot be parsed (" + strReason + "); kept as " + strBad + ", defaults apply");
    return true;
}

bool CRegHiveFile::IsWritable() const
{
    std::string strDir = Folder();
    struct stat st;
    while (::stat(strDir.c_str(), &st) != 0)
    {
        if (errno != ENOENT || strDir == "/")
            return false;
        strDir = ParentOf(strDir);
    }
    return S_ISDIR(st.st_mode) && ::access(strDir.c_str(), W_OK | X_OK) == 0;
}

bool CRegHiveFile::MakeFolder() const
{
    return MakeFolders(Folder(), m_bPrivate ? 0700 : 0755);
}

bool CRegHiveFile::WriteWhole(const std::string& text) const
{
    const std::size_t slash = m_strPath.find_last_of('/');
    std::string strTemp = Folder() + "/." + m_strPath.substr(slash + 1) + ".XXXXXX";
    const int fd = ::mkostemp(strTemp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool bOk = ::fchmod(fd, m_bPrivate ? 0600 : 0644) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
    int err = errno;
    if (::close(fd) != 0 && bOk)
    {
        bOk = false;
        err = errno;
    }
    if (bOk && ::rename(strTemp.c_str(), m_strPath.c_str()) != 0)
    {
        bOk = false;
        err = errno;
    }
    if (!bOk)
    {
        ::unlink(strTemp.c_str());
        errno = err;
        return false;
    }
    // Make the rename itself durable.
    const int dirFd = ::open(Folder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0)
    {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool CRegHiveFile::Update(const std::function<void(CRegHive&)>& apply) const
{
    if (!MakeFolder())
    {
        Report(std::string("not written: cannot create its folder (") + std::strerror(errno) + ")");
        return false;
    }
    const CFileLock lock(m_strPath + ".lock", m_bPrivate ? 0600 : 0644);
    if (!lock.IsHeld())
    {
        Report(std::string("not written: cannot lock it (") + std::strerror(errno) + ")");
        return false;
    }
    CRegHive hive;
    std::string strError;
    switch (Load(hive, strError))
    {
    case LoadResult::Unreadable:
        Report("not written: cannot read it (" + strError + ")");
        return false;
    case LoadResult::Corrupt:
        if (!SetAside(strError))
            return false;
        break;
    case LoadResult::Loaded:
    case LoadResult::Missing:
        break;
    }
    apply(hive);
    if (!WriteWhole(FormatRegHive(hive, m_strRoot)))
    {
        Report(std::string("not written (") + std::strerror(errno) + "); the old file is unchanged");
        return false;
    }
    return true;
}
