#include "platform/registry/RegFileFormat.h"
#include "platform/registry/Registry.h"
#include "support/RegistryProbe.h"
#include "support/TempXdg.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <functional>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
const std::string kKey = "SOFTWARE\\Test\\Settings";

class RegistryTest : public ::testing::Test
{
protected:
    std::string UserFile() const { return m_xdg.UserHiveFile().toStdString(); }
    // Writes and reads back every value, each through its own handles.
    static void ExpectRoundTrips(const std::string& strKey,
                                 const std::vector<std::pair<std::string, CRegProbeValue>>& values)
    {
        for (const auto& [name, value] : values)
            ASSERT_EQ(RegProbePut(HKEY_CURRENT_USER, strKey, name, value.dwType, value.data), ERROR_SUCCESS);
        for (const auto& [name, value] : values)
            EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, strKey, name), value) << name;
    }

    CTempXdg m_xdg;
};

mode_t ModeOf(const QString& path)
{
    struct stat st = {};
    ::stat(path.toLocal8Bit().constData(), &st);
    return st.st_mode & 07777;
}
}  // namespace

TEST_F(RegistryTest, ValuesKeepTypeAndExactBytesInPrivateFiles)
{
    const mode_t oldMask = umask(0);
    std::vector<BYTE> cell255(255, 0);
    cell255[0] = 'h';
    ExpectRoundTrips(kKey, {{"Base", {REG_SZ, RegProbeBytes(".1.3", true)}},
                            {"Cleaning", {REG_BINARY, {0x01}}},
                            {"Timeout", {REG_DWORD, {0x1e, 0, 0, 0}}},
                            {"Cache(Host)0-0", {REG_DWORD, cell255}},
                            {"Odd", {7, {}}}});
    ASSERT_EQ(RegProbePutDword(HKEY_LOCAL_MACHINE, kKey, "Shared", 1), ERROR_SUCCESS);
    umask(oldMask);

    EXPECT_EQ(RegProbeReadFile(UserFile()).rfind(
                  "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Test\\Settings]\n"
                  "\"Base\"=\".1.3\"\n\"Cleaning\"=hex:01\n\"Timeout\"=dword:0000001e\n"
                  "\"Cache(Host)0-0\"=hex(4):68,00,", 0), 0u);
    EXPECT_NE(RegProbeReadFile(UserFile()).find("\"Odd\"=hex(7):\n"), std::string::npos);
    EXPECT_EQ(ModeOf(m_xdg.UserHiveDir()), 0700u);
    EXPECT_EQ(ModeOf(m_xdg.UserHiveFile()), 0600u);
    EXPECT_EQ(ModeOf(m_xdg.MachineHiveFile()), 0644u);
}

TEST_F(RegistryTest, QueriesReportSizesAndAccessIsEnforced)
{
    ASSERT_EQ(RegProbePut(HKEY_CURRENT_USER, kKey, "Base", REG_SZ, RegProbeBytes(".1.3.6", true)), ERROR_SUCCESS);
    HKEY hKey = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_QUERY_VALUE, &hKey), ERROR_SUCCESS);
    DWORD dwType = 0, cb = 0;
    EXPECT_EQ(RegQueryValueEx(hKey, "Base", nullptr, &dwType, nullptr, &cb), ERROR_SUCCESS);
    EXPECT_EQ(cb, 7u);
    EXPECT_EQ(dwType, REG_SZ);
    char buf[8] = "xxxxxxx";
    cb = 6;
    EXPECT_EQ(RegQueryValueEx(hKey, "Base", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &cb), ERROR_MORE_DATA);
    EXPECT_EQ(cb, 7u);
    EXPECT_STREQ(buf, "xxxxxxx");
    cb = 7;
    EXPECT_EQ(RegQueryValueEx(hKey, "base", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &cb), ERROR_SUCCESS);
    EXPECT_STREQ(buf, ".1.3.6");
    EXPECT_EQ(RegQueryValueEx(hKey, "Missing", nullptr, nullptr, nullptr, &cb), ERROR_FILE_NOT_FOUND);

    // Query-only handles cannot write, and the refused value never reaches the file.
    const BYTE one = 1;
    EXPECT_EQ(RegSetValueEx(hKey, "Cleaning", 0, REG_BINARY, &one, 1), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegCloseKey(hKey), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(hKey), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(RegProbeGet(HKEY_CURRENT_USER, kKey, "Cleaning"));
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_SET_VALUE, &hKey), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueEx(hKey, "Base", nullptr, nullptr, nullptr, &cb), ERROR_ACCESS_DENIED);
    RegCloseKey(hKey);

    // A hive whose folder can never exist refuses creation up front.
    const std::string strBlocker = UserFile() + ".blocker";
    RegProbeWriteFile(strBlocker, "x");
    setenv("XDG_CONFIG_DIRS", strBlocker.c_str(), 1);
    EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, kKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(hKey, nullptr);
}

TEST_F(RegistryTest, KeyPathsOpenCreateAndCompareLikeWindows)
{
    HKEY hKey = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_READ, &hKey), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(QFile::exists(m_xdg.UserHiveFile()));  // a failed open writes nothing

    // A key created without values exists once closed, in any letter case, with or without the final "\".
    const std::pair<const char*, DWORD> creates[] = {{"SOFTWARE\\Test\\Settings\\", REG_CREATED_NEW_KEY},
                                                     {"software\\TEST\\settings", REG_OPENED_EXISTING_KEY}};
    for (const auto& [path, dwExpected] : creates)
    {
        DWORD dwDisposition = 0;
        ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey,
                                 &dwDisposition), ERROR_SUCCESS);
        EXPECT_EQ(dwDisposition, dwExpected);
        EXPECT_EQ(RegCloseKey(hKey), ERROR_SUCCESS);
    }
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Test", 0, KEY_READ, &hKey), ERROR_SUCCESS);
    HKEY hChild = nullptr;
    EXPECT_EQ(RegOpenKeyEx(hKey, "Settings\\", 0, KEY_READ, &hChild), ERROR_SUCCESS);
    RegCloseKey(hChild);
    RegCloseKey(hKey);
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\\\Test", 0, KEY_READ, &hKey), ERROR_BAD_PATHNAME);

    CTempXdg other;  // the variables are read at every open
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_READ, &hKey), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, ChangesFromOtherHandlesAndProcessesSurvive)
{
    ASSERT_EQ(RegProbePutDword(HKEY_CURRENT_USER, kKey, "Old", 7), ERROR_SUCCESS);
    HKEY hFirst = nullptr, hSecond = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_ALL_ACCESS, &hFirst), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_ALL_ACCESS, &hSecond), ERROR_SUCCESS);
    const BYTE a = 'a', b = 'b';
    ASSERT_EQ(RegSetValueEx(hFirst, "First", 0, REG_BINARY, &a, 1), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(hSecond, "Second", 0, REG_BINARY, &b, 1), ERROR_SUCCESS);

    // While both are open another process writes the file, then someone edits it by hand.
    const pid_t child = fork();
    if (child == 0)
        _exit(RegProbePutDword(HKEY_CURRENT_USER, kKey, "FromChild", 42) == ERROR_SUCCESS ? 0 : 1);
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(status, 0);
    RegProbeWriteFile(UserFile(), RegProbeReadFile(UserFile()) + "[HKEY_CURRENT_USER\\Hand]\n\"H\"=dword:1\n");

    EXPECT_EQ(RegCloseKey(hFirst), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(hSecond), ERROR_SUCCESS);
    const std::pair<const char*, BYTE> survivors[] = {{"Old", 7}, {"First", 'a'}, {"Second", 'b'}, {"FromChild", 42}};
    for (const auto& [name, byte] : survivors)
        EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, kKey, name)->data[0], byte) << name;
    EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, "Hand", "H")->data[0], 1);
}

TEST_F(RegistryTest, CorruptFileIsKeptAsideAndDefaultsApply)
{
    ASSERT_EQ(RegProbePutDword(HKEY_CURRENT_USER, kKey, "Timeout", 30), ERROR_SUCCESS);
    const std::string strBad = UserFile() + ".bad";
    const std::string garbage1 = "not a registry file\n", garbage2 = "Windows Registry Editor Version 5.00\n\"x\"=1\n";
    RegProbeWriteFile(UserFile(), garbage1);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(RegProbeGet(HKEY_CURRENT_USER, kKey, "Timeout"));
    const std::string strErr = testing::internal::GetCapturedStderr();
    EXPECT_EQ(RegProbeReadFile(strBad), garbage1);
    EXPECT_FALSE(QFile::exists(m_xdg.UserHiveFile()));
    EXPECT_NE(strErr.find(strBad), std::string::npos);
    EXPECT_NE(strErr.find("line 1"), std::string::npos);
    EXPECT_EQ(std::count(strErr.begin(), strErr.end(), '\n'), 1);

    // Damage found at close: the first .bad stays, the new one gets another name.
    HKEY hKey = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, kKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
              ERROR_SUCCESS);
    RegProbeWriteFile(UserFile(), garbage2);
    const BYTE one = 1;
    RegSetValueEx(hKey, "Cleaning", 0, REG_BINARY, &one, 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(RegCloseKey(hKey), ERROR_SUCCESS);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(RegProbeReadFile(strBad), garbage1);
    EXPECT_EQ(RegProbeReadFile(UserFile() + ".1.bad"), garbage2);
    EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, kKey, "Cleaning")->data, std::vector<BYTE>{1});
}

TEST_F(RegistryTest, FailedWriteLeavesOldFileAndNoTemporary)
{
    ASSERT_EQ(RegProbePutDword(HKEY_CURRENT_USER, kKey, "Timeout", 16), ERROR_SUCCESS);
    const std::string before = RegProbeReadFile(UserFile());

    // A file-size limit makes the write fail part-way, as a full disk would.
    rlimit old = {};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = before.size() + 100;
    setrlimit(RLIMIT_FSIZE, &small);
    testing::internal::CaptureStderr();
    const LSTATUS rc = RegProbePut(HKEY_CURRENT_USER, kKey, "Big", REG_BINARY, std::vector<BYTE>(4000, 0xAB));
    const std::string strErr = testing::internal::GetCapturedStderr();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(rc, ERROR_CANTWRITE);
    EXPECT_NE(strErr.find("not written"), std::string::npos);
    EXPECT_EQ(RegProbeReadFile(UserFile()), before);
    EXPECT_EQ(QDir(m_xdg.UserHiveDir()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"user.reg", "user.reg.lock"}));
}

TEST_F(RegistryTest, AwkwardNamesAndDataSurvive)
{
    ExpectRoundTrips("SOFTWARE\\Q\"uo%te\\New\nLine \xE9\xFF",
                     {{"Back\\slash \"quoted\"", {REG_SZ, RegProbeBytes("C:\\Path \"x\"", true)}},
                      {"New\nline\r\t\x01", {REG_SZ, RegProbeBytes("two\nlines\r\n", true)}},
                      {"Caf\xE9 \xFF", {REG_SZ, RegProbeBytes("na\xEFve \x80\xFF", true)}},
                      {"NoNul", {REG_SZ, RegProbeBytes("abc")}},
                      {"Embedded", {REG_SZ, RegProbeBytes(std::string("a\0b", 3), true)}},
                      {"@", {REG_SZ, RegProbeBytes("at", true)}},
                      {"", {REG_SZ, RegProbeBytes("default", true)}}});
    const std::string text = RegProbeReadFile(UserFile());
    EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char c) { return c == '\n' || (c >= 0x20 && c < 0x7F); }));
    EXPECT_NE(text.find("\"Back\\\\slash \\\"quoted\\\"\"=\"C:\\\\Path \\\"x\\\"\""), std::string::npos);
}

TEST(RegFileFormat, ReadsHandWrittenFilesAndRejectsMalformedOnes)
{
    const std::string handWritten = "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n; comment\r\n"
                                    "[HKEY_CURRENT_USER\\A]\r\n\"Bin\"=hex:01,02,\\\r\n  03\r\n\"D\"=dword:1E\r\n";
    CRegHive hive;
    std::string strError;
    ASSERT_TRUE(ParseRegHive(handWritten, "HKEY_CURRENT_USER", hive, strError)) << strError;
    ASSERT_NE(hive.FindKey("a"), nullptr);
    EXPECT_EQ(hive.FindKey("a")->FindValue("bin")->data, (std::vector<BYTE>{1, 2, 3}));
    EXPECT_EQ(hive.FindKey("a")->FindValue("D")->data, (std::vector<BYTE>{0x1e, 0, 0, 0}));

    const std::string header = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n";
    const std::vector<std::pair<std::string, std::string>> malformed = {
        {"REGEDIT4\n", "line 1"},
        {"Windows Registry Editor Version 5.00\n\"x\"=dword:1\n", "line 2"},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n", "line 3"},
        {header + "\"x\"=hex:01,1g\n", "line 3"},
        {header + "\"x=\"y\"\n", "line 3"},
        {header + "\"x\"=dword:123456789\n", "line 3"},
    };
    for (const auto& [text, where] : malformed)
    {
        EXPECT_FALSE(ParseRegHive(text, "HKEY_CURRENT_USER", hive, strError)) << text;
        EXPECT_EQ(strError.rfind(where, 0), 0u) << text << " → " << strError;
    }
}

TEST_F(RegistryTest, ValuesAndKeysCanBeListedAndDeleted)
{
    ASSERT_EQ(RegProbePutDword(HKEY_CURRENT_USER, kKey, "Keep", 1), ERROR_SUCCESS);
    ASSERT_EQ(RegProbePut(HKEY_CURRENT_USER, kKey, "Gone", REG_SZ, RegProbeBytes("text", true)), ERROR_SUCCESS);
    ASSERT_EQ(RegProbePutDword(HKEY_CURRENT_USER, kKey + "\\Child", "C", 3), ERROR_SUCCESS);

    HKEY hKey = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_ALL_ACCESS, &hKey), ERROR_SUCCESS);
    char name[8];
    DWORD cchName = sizeof name, dwType = 0, cb = 0;
    EXPECT_EQ(RegEnumValue(hKey, 1, name, &cchName, nullptr, &dwType, nullptr, &cb), ERROR_SUCCESS);
    EXPECT_EQ(std::string(name) + "/" + std::to_string(cchName) + "/" + std::to_string(cb), "Gone/4/5");
    EXPECT_EQ(dwType, REG_SZ);
    cchName = 4;  // no room for the NUL
    EXPECT_EQ(RegEnumValue(hKey, 1, name, &cchName, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    cchName = sizeof name;
    EXPECT_EQ(RegEnumValue(hKey, 2, name, &cchName, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);

    // A deleted value is gone for the handle at once and for the file at close;
    // a value set again after its deletion stays.
    EXPECT_EQ(RegDeleteValue(hKey, "GONE"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValue(hKey, "Gone"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueEx(hKey, "Gone", nullptr, nullptr, nullptr, &cb), ERROR_FILE_NOT_FOUND);
    const BYTE b = 9;
    ASSERT_EQ(RegSetValueEx(hKey, "Again", 0, REG_BINARY, &b, 1), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValue(hKey, "Again"), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(hKey, "Again", 0, REG_BINARY, &b, 1), ERROR_SUCCESS);
    EXPECT_TRUE(RegProbeGet(HKEY_CURRENT_USER, kKey, "Gone"));  // not before the close
    EXPECT_EQ(RegCloseKey(hKey), ERROR_SUCCESS);
    EXPECT_FALSE(RegProbeGet(HKEY_CURRENT_USER, kKey, "Gone"));
    EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, kKey, "Again")->data, std::vector<BYTE>{9});
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_QUERY_VALUE, &hKey), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValue(hKey, "Keep"), ERROR_ACCESS_DENIED);
    RegCloseKey(hKey);

    // A key with keys below it stays; a leaf goes from the file at once.
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, kKey.c_str()), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, (kKey + "\\child\\").c_str()), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, (kKey + "\\Child").c_str()), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegProbeReadFile(UserFile()).find("Child"), std::string::npos);
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\Test", 0, KEY_READ, &hKey), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(hKey, "Settings"), ERROR_SUCCESS);
    RegCloseKey(hKey);
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_READ, &hKey), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegProbeReadFile(UserFile()).find("Test"), std::string::npos);
}

// Ten processes each read a counter and write it back one higher. Plain
// handles would lose increments; exclusive ones see each other's.
TEST_F(RegistryTest, ExclusiveHandlesSerialiseReadModifyWriteAcrossProcesses)
{
    ASSERT_EQ(RegProbePutDword(HKEY_CURRENT_USER, kKey, "Counter", 0), ERROR_SUCCESS);
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    std::vector<pid_t> children;
    for (int n = 0; n < 10; ++n)
    {
        const pid_t child = fork();
        if (child == 0)
        {
            char c;
            close(go[1]);
            if (read(go[0], &c, 1) != 0)
                _exit(3);
            HKEY hKey = nullptr;
            if (RegOpenKeyEx(HKEY_CURRENT_USER, kKey.c_str(), REG_OPTION_EXCLUSIVE, KEY_ALL_ACCESS, &hKey)
                != ERROR_SUCCESS)
                _exit(1);
            DWORD dw = 0, cb = sizeof dw;
            RegQueryValueEx(hKey, "Counter", nullptr, nullptr, reinterpret_cast<BYTE*>(&dw), &cb);
            usleep(20000);  // widens the window another writer would fall into
            ++dw;
            RegSetValueEx(hKey, "Counter", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dw), sizeof dw);
            _exit(RegCloseKey(hKey) == ERROR_SUCCESS ? 0 : 2);
        }
        children.push_back(child);
    }
    close(go[0]);
    close(go[1]);  // every child starts now
    for (const pid_t child : children)
    {
        int status = -1;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_EQ(status, 0);
    }
    EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, kKey, "Counter")->data, (std::vector<BYTE>{10, 0, 0, 0}));
}

// What stands where user.reg should be and is no regular file under 16 MiB
// is moved aside, once, with one line on stderr; nothing blocks or aborts, and
// the next write makes a fresh file.
TEST_F(RegistryTest, FilesThatNeverEndOrAreNoFilesAreSetAside)
{
    QDir().mkpath(m_xdg.UserHiveDir());
    const std::string strFile = UserFile(), strBad = strFile + ".bad";
    const auto makeFifo = [&] { return mkfifo(strFile.c_str(), 0600) == 0; };
    const auto linkToZero = [&] { return symlink("/dev/zero", strFile.c_str()) == 0; };
    const auto makeFolder = [&] { return mkdir(strFile.c_str(), 0700) == 0; };
    const auto makeHuge = [&] {
        std::string text = "Windows Registry Editor Version 5.00\n\n";
        text.resize(16 << 20, ';');
        RegProbeWriteFile(strFile, text);
        return true;
    };
    const std::pair<const char*, std::function<bool()>> cases[] = {
        {"FIFO", makeFifo}, {"link to /dev/zero", linkToZero}, {"folder", makeFolder}, {"16 MiB file", makeHuge}};
    for (const auto& [what, make] : cases)
    {
        SCOPED_TRACE(what);
        ASSERT_TRUE(make());
        testing::internal::CaptureStderr();
        EXPECT_FALSE(RegProbeGet(HKEY_CURRENT_USER, kKey, "Timeout"));
        const std::string strErr = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(strErr.begin(), strErr.end(), '\n'), 1) << strErr;
        EXPECT_NE(strErr.find(strBad), std::string::npos) << strErr;
        struct stat st = {};
        EXPECT_NE(lstat(strFile.c_str(), &st), 0);
        EXPECT_EQ(lstat(strBad.c_str(), &st), 0);

        ASSERT_EQ(RegProbePutDword(HKEY_CURRENT_USER, kKey, "Timeout", 30), ERROR_SUCCESS);
        EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, kKey, "Timeout")->data[0], 30);
        ASSERT_EQ(std::system(("rm -rf '" + strFile + "' '" + strBad + "'").c_str()), 0);
    }
}

// Dotfile managers link user.reg into a repository: writes go through the
// link to the file it leads to, and the link stays a link.
TEST_F(RegistryTest, WritesGoThroughALinkToItsFile)
{
    QTemporaryDir dotfiles;
    const std::string strTarget = dotfiles.path().toStdString() + "/orvex-user.reg";
    QDir().mkpath(m_xdg.UserHiveDir());
    ASSERT_EQ(symlink(strTarget.c_str(), UserFile().c_str()), 0);  // dangling until the first write

    ASSERT_EQ(RegProbePutDword(HKEY_CURRENT_USER, kKey, "Timeout", 30), ERROR_SUCCESS);
    ASSERT_EQ(RegProbePutDword(HKEY_CURRENT_USER, kKey, "Retries", 5), ERROR_SUCCESS);
    const auto isLink = [this] {
        struct stat st = {};
        return lstat(UserFile().c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    };
    EXPECT_TRUE(isLink());
    EXPECT_NE(RegProbeReadFile(strTarget).find("\"Retries\"=dword:00000005"), std::string::npos);
    EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, kKey, "Timeout")->data[0], 30);

    // A damaged file behind the link goes aside beside itself; the link stays for the new one.
    RegProbeWriteFile(strTarget, "damaged\n");
    testing::internal::CaptureStderr();
    ASSERT_EQ(RegProbePutDword(HKEY_CURRENT_USER, kKey, "Timeout", 31), ERROR_SUCCESS);
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(isLink());
    EXPECT_EQ(RegProbeReadFile(strTarget + ".bad"), "damaged\n");
    EXPECT_EQ(RegProbeGet(HKEY_CURRENT_USER, kKey, "Timeout")->data[0], 31);
}
