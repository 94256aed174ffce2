#include "platform/registry/RegFileFormat.h"
#include "platform/registry/Registry.h"
#include "support/RegistryProbe.h"
#include "support/TempXdg.h"

#include <gtest/gtest.h>
#include <QDir>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

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
