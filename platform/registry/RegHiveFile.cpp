#include "platform/registry/RegHiveFile.h"
#include "platform/registry/RegFileFormat.h"
#include <algorithm>
#include <cerrno>
#include <climits>
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

// The descriptor of the lock file, flock-ed; -1 on failure.
int LockFile(const std::string& strPath, mode_t mode)
{
    const int fd = ::open(strPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, mode);
    if (fd < 0)
        return -1;
    int rc;
    while ((rc = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {}
    if (rc == 0)
        return fd;
    const int err = errno;
    ::close(fd);
    errno = err;
    return -1;
}

// Where a chain of symbolic links ends (the path itself when it is no link);
// the end need not exist.
std::string FollowLinks(std::string strPath)
{
    for (int nHops = 0; nHops < 40; ++nHops)
    {
        char buf[PATH_MAX];
        const ssize_t n = ::readlink(strPath.c_str(), buf, sizeof buf);
        if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buf)
            break;
        const std::string strLink(buf, static_cast<std::size_t>(n));
        strPath = strLink.front() == '/' ? strLink : ParentOf(strPath) + "/" + strLink;
    }
    return strPath;
}

bool IsRegularFile(const std::string& strPath)
{
    struct stat st;
    return ::stat(strPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Renames without ever replacing an existing file; also for folders, FIFOs and links.
bool RenameNoReplace(const std::string& strFrom, const std::string& strTo)
{
    if (::renameat2(AT_FDCWD, strFrom.c_str(), AT_FDCWD, strTo.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: link() never replaces either.
    return ::link(strFrom.c_str(), strTo.c_str()) == 0 && ::unlink(strFrom.c_str()) == 0;
}

// Reads at most nLimit + 1 bytes, so that a file growing while it is read
// cannot make the reader hold more than that.
bool ReadUpTo(int fd, std::size_t nLimit, std::string& text)
{
    char buf[65536];
    while (text.size() <= nLimit)
    {
        const ssize_t n = ::read(fd, buf, std::min(sizeof buf, nLimit + 1 - text.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        text.append(buf, static_cast<std::size_t>(n));
    }
    return true;
}
}  // namespace

CRegHiveFile::CLock::~CLock()
{
    if (m_fd >= 0)
        ::close(m_fd);  // releases the lock
}

namespace
{
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
    // Non-blocking, so that a FIFO in its place cannot hang the open.
    const int fd = ::open(m_strPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
    {
        strError = std::strerror(errno);
        return errno == ENOENT ? LoadResult::Missing : LoadResult::Unreadable;
    }
    constexpr auto kLimit = static_cast<std::size_t>(kMaxFileBytes - 1);
    struct stat st;
    std::string text;
    LoadResult result = LoadResult::Loaded;
    if (::fstat(fd, &st) != 0)
    {
        strError = std::strerror(errno);
        result = LoadResult::Unreadable;
    }
    else if (!S_ISREG(st.st_mode))
    {
        strError = "not a regular file";
        result = LoadResult::Corrupt;
    }
    else if (!ReadUpTo(fd, kLimit, text))
    {
        strError = std::strerror(errno);
        result = LoadResult::Unreadable;
    }
    else if (text.size() > kLimit)
    {
        strError = "16 MiB or larger";
        result = LoadResult::Corrupt;
    }
    ::close(fd);
    if (result != LoadResult::Loaded)
        return result;
    return ParseRegHive(text, m_strRoot, hive, strError) ? LoadResult::Loaded : LoadResult::Corrupt;
}

CRegHive CRegHiveFile::Read(bool bLocked) const
{
    CRegHive hive;
    std::string strError;
    if (Load(hive, strError) != LoadResult::Corrupt)
        return hive;
    if (bLocked)
    {
        SetAside(strError);
        return hive;
    }
    // Set aside only under the lock: another instance may be replacing the file right now.
    const int fd = LockFile(m_strPath + ".lock", m_bPrivate ? 0600 : 0644);
    if (fd < 0)
        Report("cannot be read (" + strError + "); left as it is, defaults apply");
    else if (const CLock lock(fd); Load(hive, strError) == LoadResult::Corrupt)
        SetAside(strError);
    return hive;
}

bool CRegHiveFile::SetAside(const std::string& strReason) const
{
    // A damaged file a link leads to goes aside beside itself, and the link
    // stays for the new file; anything else that is no regular file (a device,
    // a FIFO, a folder, a link to one) is moved away under the hive's own name.
    const std::string strVictim = IsRegularFile(m_strPath) ? Target() : m_strPath;
    std::string strBad = strVictim + ".bad";
    struct stat st;
    for (int n = 1; ::lstat(strBad.c_str(), &st) == 0; ++n)
        strBad = strVictim + "." + std::to_string(n) + ".bad";
    if (!RenameNoReplace(strVictim, strBad))
    {
        Report("cannot be read (" + strReason + ") and cannot be kept aside ("
               + std::strerror(errno) + "); it is left untouched and not written");
        return false;
    }
    Report("cannot be read (" + strReason + "); kept as " + strBad + ", defaults apply");
    return true;
}

bool CRegHiveFile::IsWritable() const
{
    const auto writable = [](std::string strDir) {
        struct stat st;
        while (::stat(strDir.c_str(), &st) != 0)
        {
            if (errno != ENOENT || strDir == "/")
                return false;
            strDir = ParentOf(strDir);
        }
        return S_ISDIR(st.st_mode) && ::access(strDir.c_str(), W_OK | X_OK) == 0;
    };
    return writable(Folder()) && writable(ParentOf(Target()));
}

std::string CRegHiveFile::Target() const
{
    return FollowLinks(m_strPath);
}

std::unique_ptr<CRegHiveFile::CLock> CRegHiveFile::Lock() const
{
    if (!MakeFolder())
    {
        Report(std::string("not written: cannot create its folder (") + std::strerror(errno) + ")");
        return nullptr;
    }
    const int fd = LockFile(m_strPath + ".lock", m_bPrivate ? 0600 : 0644);
    if (fd < 0)
    {
        Report(std::string("not written: cannot lock it (") + std::strerror(errno) + ")");
        return nullptr;
    }
    return std::make_unique<CLock>(fd);
}

bool CRegHiveFile::MakeFolder() const
{
    return MakeFolders(Folder(), m_bPrivate ? 0700 : 0755);
}

bool CRegHiveFile::WriteWhole(const std::string& text) const
{
    // Through a link, the file it leads to is replaced, beside itself.
    const std::string strTarget = Target();
    const std::string strFolder = ParentOf(strTarget);
    const std::size_t slash = strTarget.find_last_of('/');
    std::string strTemp = strFolder + "/." + strTarget.substr(slash + 1) + ".XXXXXX";
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
    if (bOk && ::rename(strTemp.c_str(), strTarget.c_str()) != 0)
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
    const int dirFd = ::open(strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0)
    {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool CRegHiveFile::Update(const std::function<bool(CRegHive&)>& apply, bool bLocked) const
{
    const std::unique_ptr<CLock> lock = bLocked ? nullptr : Lock();
    if (!bLocked && !lock)
        return false;
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
    if (!apply(hive))
        return true;
    if (!WriteWhole(FormatRegHive(hive, m_strRoot)))
    {
        Report(std::string("not written (") + std::strerror(errno) + "); the old file is unchanged");
        return false;
    }
    return true;
}
