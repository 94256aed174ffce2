#include "mib/MibPath.h"
#include <QCoreApplication>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string Environment(const char* pszName)
{
    const char* pszValue = std::getenv(pszName);
    return pszValue ? pszValue : "";
}

std::string DataHome()
{
    const std::string strData = Environment("XDG_DATA_HOME");
    return strData.empty() ? Environment("HOME") + "/.local/share" : strData;
}

std::string Expand(std::string strEntry)
{
    static const std::string kData = "$XDG_DATA_HOME";
    if (strEntry.rfind(kData, 0) == 0)
        strEntry = DataHome() + strEntry.substr(kData.size());
    else if (strEntry.rfind("~/", 0) == 0)
        strEntry = Environment("HOME") + strEntry.substr(1);
    if (strEntry.size() >= 2 && strEntry.compare(strEntry.size() - 2, 2, "/*") == 0)
        strEntry.resize(strEntry.size() - 2);
    return strEntry;
}

bool IsHidden(const fs::path& path)
{
    const std::string strName = path.filename().string();
    return !strName.empty() && strName.front() == '.';
}

// The folder's files sorted by name, then each subfolder's the same way.
void AddFolder(const fs::path& folder, std::vector<std::string>* pFiles, int nDepth = 0)
{
    std::error_code ec;
    std::vector<fs::path> files, folders;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        if (IsHidden(entry.path()))
            continue;
        if (entry.is_directory(ec))
            folders.push_back(entry.path());
        else if (entry.is_regular_file(ec))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    std::sort(folders.begin(), folders.end());
    for (const fs::path& file : files)
        pFiles->push_back(file.string());
    if (nDepth < 8)  // a link loop must not run forever
        for (const fs::path& sub : folders)
            AddFolder(sub, pFiles, nDepth + 1);
}

void AddEntry(const std::string& strEntry, std::vector<std::string>* pFiles)
{
    std::error_code ec;
    const fs::path path(strEntry);
    if (fs::is_directory(path, ec))
        AddFolder(path, pFiles);
    else if (fs::is_regular_file(path, ec))
        pFiles->push_back(path.string());
}

} // namespace

namespace MibPath {

std::string UserFolder()
{
    return DataHome() + "/orvex/mibs";
}

std::string BaseFolder()
{
    const std::string strExeDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath().toStdString()
                                                               : fs::read_symlink("/proc/self/exe").parent_path().string();
    std::error_code ec;
    for (const std::string& strCandidate : {strExeDir + "/mibs", strExeDir + "/../share/orvex/mibs"})
        if (fs::is_directory(strCandidate, ec))
            return fs::weakly_canonical(strCandidate, ec).string();
    return "";
}

std::vector<std::string> Files(const std::string& strPath, const std::string& strBaseFolder)
{
    std::vector<std::string> files;
    size_t nStart = 0;
    while (nStart <= strPath.size()) {
        const size_t nEnd = std::min(strPath.find(':', nStart), strPath.size());
        const std::string strEntry = strPath.substr(nStart, nEnd - nStart);
        if (!strEntry.empty())
            AddEntry(Expand(strEntry), &files);
        nStart = nEnd + 1;
    }
    if (!strBaseFolder.empty())
        AddEntry(strBaseFolder, &files);
    return files;
}

bool CopyToUserFolder(const std::string& strFile, std::string* pstrError)
{
    std::error_code ec;
    const fs::path folder(UserFolder());
    fs::create_directories(folder, ec);
    if (!ec)
        fs::copy_file(strFile, folder / fs::path(strFile).filename(), fs::copy_options::overwrite_existing, ec);
    if (ec && pstrError)
        *pstrError = ec.message();
    return !ec;
}

} // namespace MibPath
