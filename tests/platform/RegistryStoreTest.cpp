#include "platform/RegistryStore.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using platform::RegistryHive;
using platform::RegistryRoot;
using platform::RegistryStore;
using platform::RegistryValue;

const char* const PROGRAM_KEY = "SOFTWARE\\Kova\\Kova CPR\\3.1.3";

class RegistryStoreTest : public ::testing::Test {
protected:
    kovatest::TempDir dir;
    RegistryStore store{dir.path() / "registry"};

    void TearDown() override { RegistryStore::setMachineWritable(false); }
};

TEST_F(RegistryStoreTest, valuesSurviveInTheFileWithTheirTypesAndBytes)
{
    std::vector<unsigned char> everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte.push_back(static_cast<unsigned char>(b));
    const std::string oddName = "50% off: a\\b \xc3\xa9\n";

    ASSERT_EQ(store.createKey(RegistryRoot::User, "Software\\KOVA\\Settings"), platform::ERROR_SUCCESS);
    ASSERT_EQ(store.setValue(RegistryRoot::User, "Software\\KOVA\\Settings", oddName, {platform::REG_BINARY, everyByte}),
              platform::ERROR_SUCCESS);
    ASSERT_EQ(store.setValue(RegistryRoot::User, "Software\\KOVA\\Settings", "", {platform::REG_BINARY, {}}), platform::ERROR_SUCCESS);
    ASSERT_EQ(store.setString(RegistryRoot::User, "Software\\KOVA", "Name", "Kova \xe2\x82\xac"), platform::ERROR_SUCCESS);
    ASSERT_EQ(store.setDword(RegistryRoot::User, "Software\\KOVA", "Count", 0xDEADBEEF), platform::ERROR_SUCCESS);

    RegistryStore reopened(dir.path() / "registry");
    RegistryValue value;
    ASSERT_EQ(reopened.queryValue(RegistryRoot::User, "software\\kova\\SETTINGS", oddName, value), platform::ERROR_SUCCESS)
        << "keys compare without regard to case";
    EXPECT_EQ(value, (RegistryValue{platform::REG_BINARY, everyByte}));
    ASSERT_EQ(reopened.queryValue(RegistryRoot::User, "Software\\KOVA\\Settings", "", value), platform::ERROR_SUCCESS);
    EXPECT_TRUE(value.data.empty());
    EXPECT_EQ(reopened.getString(RegistryRoot::User, "Software\\KOVA", "name"), "Kova \xe2\x82\xac");
    EXPECT_EQ(reopened.getDword(RegistryRoot::User, "\\Software\\KOVA\\", "COUNT"), 0xDEADBEEFu);
    EXPECT_EQ(reopened.getDword(RegistryRoot::User, "Software\\KOVA", "Name"), std::nullopt) << "a string is no DWORD";
    EXPECT_EQ(reopened.getString(RegistryRoot::Machine, PROGRAM_KEY, "Data Folder"), std::nullopt);

    const std::string file = kovatest::readFile(store.hiveFile(RegistryRoot::User));
    EXPECT_EQ(file.rfind("kova-registry 1\n", 0), 0u);
    EXPECT_NE(file.find("value :Count 4 :%EF%BE%AD%DE\n"), std::string::npos) << file;
    EXPECT_NE(file.find("value :Name 1 :Kova%20%E2%82%AC%00\n"), std::string::npos) << file;
}

TEST_F(RegistryStoreTest, keysSubkeysAndDeletion)
{
    ASSERT_EQ(store.createKey(RegistryRoot::User, "A\\B\\C"), platform::ERROR_SUCCESS);
    ASSERT_EQ(store.createKey(RegistryRoot::User, "A\\D"), platform::ERROR_SUCCESS);
    EXPECT_EQ(store.openKey(RegistryRoot::User, "A\\B"), platform::ERROR_SUCCESS) << "the keys above are created too";
    EXPECT_EQ(store.openKey(RegistryRoot::User, "A\\X"), platform::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store.openKey(RegistryRoot::User, ""), platform::ERROR_SUCCESS);
    EXPECT_EQ(store.subKeyNames(RegistryRoot::User, "a"), (std::vector<std::string>{"B", "D"}));

    EXPECT_EQ(store.setValue(RegistryRoot::User, "A\\Missing", "v", {platform::REG_DWORD, {1, 0, 0, 0}}), platform::ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(store.setDword(RegistryRoot::User, "A\\D", "v", 1), platform::ERROR_SUCCESS);
    ASSERT_EQ(store.setDword(RegistryRoot::User, "A\\D", "w", 2), platform::ERROR_SUCCESS);
    EXPECT_EQ(store.valueNames(RegistryRoot::User, "A\\D"), (std::vector<std::string>{"v", "w"}));
    EXPECT_EQ(store.deleteValue(RegistryRoot::User, "A\\D", "V"), platform::ERROR_SUCCESS);
    EXPECT_EQ(store.deleteValue(RegistryRoot::User, "A\\D", "v"), platform::ERROR_FILE_NOT_FOUND);

    EXPECT_EQ(store.deleteKey(RegistryRoot::User, "A"), platform::ERROR_ACCESS_DENIED) << "a key with subkeys stays";
    EXPECT_EQ(store.deleteKey(RegistryRoot::User, "A\\D"), platform::ERROR_SUCCESS);
    EXPECT_EQ(store.openKey(RegistryRoot::User, "A\\D"), platform::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store.deleteKey(RegistryRoot::User, "A\\D"), platform::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store.subKeyNames(RegistryRoot::User, "A"), (std::vector<std::string>{"B"}));
}

TEST_F(RegistryStoreTest, theMachineHiveIsReadOnlyForTheProgram)
{
    EXPECT_EQ(store.setString(RegistryRoot::Machine, PROGRAM_KEY, "Data Folder", "/tmp"), platform::ERROR_ACCESS_DENIED);
    EXPECT_EQ(store.createKey(RegistryRoot::Machine, PROGRAM_KEY), platform::ERROR_ACCESS_DENIED);
    EXPECT_FALSE(std::filesystem::exists(store.hiveFile(RegistryRoot::Machine)));

    RegistryStore::setMachineWritable(true); // as the installer does
    ASSERT_EQ(store.setString(RegistryRoot::Machine, PROGRAM_KEY, "Data Folder", "/srv/kova"), platform::ERROR_SUCCESS);
    RegistryStore::setMachineWritable(false);
    EXPECT_EQ(store.getString(RegistryRoot::Machine, PROGRAM_KEY, "Data Folder"), "/srv/kova");
    EXPECT_EQ(store.getString(RegistryRoot::User, PROGRAM_KEY, "Data Folder"), std::nullopt) << "the hives are apart";
}

TEST_F(RegistryStoreTest, aFailedWriteLeavesTheStoredValuesAlone)
{
    ASSERT_EQ(store.setDword(RegistryRoot::User, "K", "kept", 7), platform::ERROR_SUCCESS);
    const std::string before = kovatest::readFile(store.hiveFile(RegistryRoot::User));
    // The disk "fills up" after a few bytes of the new hive.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{8, 8};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(store.setDword(RegistryRoot::User, "K", "lost", 8) == platform::ERROR_WRITE_FAULT ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the write did not fail as a full disk makes it";
    EXPECT_EQ(kovatest::readFile(store.hiveFile(RegistryRoot::User)), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(store.folder()), {}), 2) << "only the hive and its lock";
    EXPECT_EQ(store.getDword(RegistryRoot::User, "K", "kept"), 7u);
}

TEST_F(RegistryStoreTest, startUpSweepsAwayTheTemporariesOfKilledWritersOfBothHives)
{
    ASSERT_EQ(store.setDword(RegistryRoot::User, "K", "kept", 7), platform::ERROR_SUCCESS);
    for (const char* name : {"user.reg.tmp4242", "machine.reg.tmpAb12Cd", "user.reg.tmp"})
        kovatest::writeFile(store.folder() / name, "kova-registry 1\n");
    EXPECT_EQ(store.removeStaleTemporaries(), 3);
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(store.folder()))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"user.reg", "user.lock"}));
    EXPECT_EQ(store.getDword(RegistryRoot::User, "K", "kept"), 7u);
}

TEST_F(RegistryStoreTest, anUnreadableHiveIsNeverReplaced)
{
    std::filesystem::create_directories(store.hiveFile(RegistryRoot::User));
    RegistryValue value;
    EXPECT_EQ(store.queryValue(RegistryRoot::User, "K", "v", value), platform::ERROR_READ_FAULT);
    EXPECT_EQ(store.setDword(RegistryRoot::User, "K", "v", 1), platform::ERROR_READ_FAULT);
    EXPECT_TRUE(std::filesystem::is_directory(store.hiveFile(RegistryRoot::User)));
}

TEST_F(RegistryStoreTest, aDamagedHiveKeepsItsGoodLinesAndACopyOfItself)
{
    const std::string damaged = "kova-registry 1\n"
                                "key :Good\n"
                                "value :a 4 :%01%00%00%00\n"
                                "value :b 4 :%0\n"
                                "key :Also%20good\n"
                                "value :c 1 :x%00\n";
    std::filesystem::create_directories(store.folder());
    kovatest::writeFile(store.hiveFile(RegistryRoot::User), damaged);
    EXPECT_EQ(store.getDword(RegistryRoot::User, "Good", "a"), 1u);
    EXPECT_EQ(store.getString(RegistryRoot::User, "Also good", "c"), "x");

    ASSERT_EQ(store.setDword(RegistryRoot::User, "Good", "d", 4), platform::ERROR_SUCCESS);
    EXPECT_EQ(kovatest::readFile(store.hiveFile(RegistryRoot::User).string() + ".damaged"), damaged);
    EXPECT_EQ(store.getDword(RegistryRoot::User, "Good", "a"), 1u);
    EXPECT_EQ(store.getDword(RegistryRoot::User, "Good", "d"), 4u);
}

TEST_F(RegistryStoreTest, theFolderFollowsTheEnvironment)
{
    const std::string folder = dir.file("elsewhere");
    ::setenv("KOVA_REGISTRY_DIR", folder.c_str(), 1);
    EXPECT_EQ(RegistryStore::defaultFolder(), folder);
    ASSERT_EQ(RegistryStore::instance().setDword(RegistryRoot::User, "K", "v", 3), platform::ERROR_SUCCESS);
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder) / "user.reg"));
    ::unsetenv("KOVA_REGISTRY_DIR");
    const char* home = std::getenv("HOME");
    if (home) {
        EXPECT_EQ(RegistryStore::defaultFolder(), std::filesystem::path(home) / ".config/kovacpr/registry");
    }
}

TEST_F(RegistryStoreTest, programsWritingAtOnceLoseNothing)
{
    constexpr int WRITERS = 4;
    constexpr int VALUES = 20;
    std::vector<pid_t> children;
    for (int w = 0; w < WRITERS; ++w) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool ok = true;
            for (int v = 0; v < VALUES; ++v)
                ok = store.setDword(RegistryRoot::User, "Shared", std::to_string(w) + "-" + std::to_string(v), v) == 0 && ok;
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(store.valueNames(RegistryRoot::User, "Shared").size(), static_cast<std::size_t>(WRITERS * VALUES));
}

TEST(RegistryHiveText, readsWhatItWritesAndNamesTheFirstBadLine)
{
    RegistryHive hive;
    hive.createKey("A\\B").values["X"] = {"x", {platform::REG_BINARY, {0, '%', ' ', ':', 0xFF}}};
    RegistryHive back;
    ASSERT_TRUE(back.fromText(hive.toText()));
    EXPECT_EQ(back, hive);

    struct Case {
        const char* text;
        int badLine;
    };
    const Case cases[] = {
        {"", 0},
        {"# comment\n\nkova-registry 1\r\nkey :A\n", 0},
        {"kova-registry 2\nkey :A\n", 1},
        {"key :A\n", 1},
        {"kova-registry 1\nvalue :v 4 :%00%00%00%00\n", 2},
        {"kova-registry 1\nkey :A\nvalue :v x :\n", 3},
        {"kova-registry 1\nkey :A\nvalue :v -1 :\n", 3},
        {"kova-registry 1\nkey :A\nvalue :v 4 :%0G\n", 3},
        {"kova-registry 1\nkey :A\nvalue :v 4\n", 3},
        {"kova-registry 1\nkey A\nvalue :v 4 :\n", 2},
        {"kova-registry 1\nkey :A\nvalue :v  4 :\n", 3},
        {"kova-registry 1\nkey :A\nfrobnicate\n", 3},
    };
    for (const Case& c : cases) {
        RegistryHive parsed;
        int badLine = -1;
        EXPECT_EQ(parsed.fromText(c.text, &badLine), c.badLine == 0) << c.text;
        EXPECT_EQ(badLine, c.badLine) << c.text;
    }
    RegistryHive orphan;
    orphan.fromText("kova-registry 1\nkey :A\nkey B\nvalue :v 4 :%01%00%00%00\n");
    EXPECT_TRUE(orphan.findKey("A")->values.empty()) << "values after a damaged key line go nowhere";
}

} // namespace
