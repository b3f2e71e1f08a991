#include "splash/UpdateInstaller.h"

#include "platform/RegistryStore.h"

#include "SplashTestKit.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace fs = std::filesystem;
using platform::RegistryRoot;
using splash::UpdateInstaller;
using splashtest::readLines;
using splashtest::shellQuoted;
using splashtest::writeScript;

namespace {

const char* const PRODUCT = "Pallovex Vantorelle";
const char* const DECRYPT_FAILED = "Decrypt (or) Copy failed.";
const char* const INSTALL_ERROR = "Error during update installation.";

class UpdateInstallerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const fs::path& folder : {launcher, downloads, work, trace, planted})
            fs::create_directories(folder);
        platform::RegistryStore::setMachineWritable(true);
    }
    void TearDown() override { platform::RegistryStore::setMachineWritable(false); }

    void setFolder(RegistryRoot root, const std::string& folder)
    {
        ASSERT_EQ(registry.setString(root, UpdateInstaller::AGENT_KEY, "Folder", folder), platform::ERROR_SUCCESS);
    }

    // The decryptor: notes how it was run, leaves the download under its bare
    // name in its working folder and exits with `code`.
    void writeDecryptor(int code, const std::string& leave = "cp -- \"$1\" \"./$2\"\n")
    {
        writeScript(launcher / "Decryptor.exe",
                    "printf '%s|%s|%s\\n' \"$#\" \"$1\" \"$2\" >> " + tracePath("decryptor") + "\n"
                    "echo \"$PWD $(stat -c %a .) $(cut -d' ' -f5 /proc/$$/stat) $$\" >> " + tracePath("decryptor-folder") + "\n"
                    + leave + "exit " + std::to_string(code) + "\n");
    }

    // A download that, run, notes its name and path and exits with `code`.
    void writeDownload(const std::string& name, int code)
    {
        writeScript(downloads / name, "echo \"" + name + "|$0|$#\" >> " + tracePath("installs") + "\nexit "
                                          + std::to_string(code) + "\n");
    }

    // A program that must never run: it leaves a mark if it does.
    void plant(const fs::path& file)
    {
        writeScript(file, "echo ran >> " + tracePath("planted") + "\nexit 1\n");
    }

    std::string tracePath(const std::string& name) const { return shellQuoted((trace / name).string()); }

    bool install(const std::string& product = PRODUCT)
    {
        UpdateInstaller installer(registry, starter, log, launcher, product);
        return installer.installPendingUpdates([this] { ++hides; });
    }

    std::vector<std::string> installed() const
    {
        std::vector<std::string> names;
        for (const std::string& line : readLines(trace / "installs"))
            names.push_back(line.substr(0, line.find('|')));
        return names;
    }

    kovatest::TempDir root;
    const fs::path launcher = root.path() / "launcher";
    const fs::path agent = root.path() / "agent";
    const fs::path downloads = agent / "Downloads" / PRODUCT;
    const fs::path work = root.path() / "work";
    const fs::path trace = root.path() / "trace";
    const fs::path planted = root.path() / "planted";
    platform::RegistryStore registry{root.path() / "registry"};
    splashtest::RecordingLog log;
    splashtest::RecordingStarter starter;
    int hides = 0;
};

} // namespace

TEST(UpdateFolder, downloadsLieBelowTheAgentsFolder)
{
    struct Case {
        std::string folder;
        std::string product;
        std::optional<std::string> downloads;
    };
    const Case cases[] = {
        {"/srv/updates", PRODUCT, "/srv/updates/Downloads/Pallovex Vantorelle/"},
        {"/srv/updates/", PRODUCT, "/srv/updates/Downloads/Pallovex Vantorelle/"},
        {"/", PRODUCT, "/Downloads/Pallovex Vantorelle/"},
        {"", PRODUCT, std::nullopt},
        {"/srv/updates", "", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UpdateInstaller::downloadFolder(c.folder, c.product), c.downloads) << c.folder << "|" << c.product;
}

TEST_F(UpdateInstallerTest, folderComesFromTheMachineElseFromTheUser)
{
    UpdateInstaller installer(registry, starter, log, launcher, PRODUCT);
    EXPECT_EQ(installer.readUpdateFolder(), std::nullopt);

    setFolder(RegistryRoot::User, "/user/agent");
    EXPECT_EQ(installer.readUpdateFolder(), "/user/agent");

    // A machine key without the value does not lead on to the user's.
    ASSERT_EQ(registry.createKey(RegistryRoot::Machine, UpdateInstaller::AGENT_KEY), platform::ERROR_SUCCESS);
    EXPECT_EQ(installer.readUpdateFolder(), std::nullopt);

    struct Case {
        std::string value;
        std::optional<std::string> folder;
    };
    const Case cases[] = {
        {"/machine/agent", "/machine/agent"},
        {"", std::nullopt},
        {"/" + std::string(258, 'a'), "/" + std::string(258, 'a')},
        // Too long for the folder buffer: no updates, never a search from the root.
        {"/" + std::string(259, 'a'), std::nullopt},
    };
    for (const Case& c : cases) {
        setFolder(RegistryRoot::Machine, c.value);
        EXPECT_EQ(installer.readUpdateFolder(), c.folder) << c.value.size();
    }

    // The value's type is not looked at.
    platform::RegistryValue binary{platform::REG_BINARY, {'/', 'b', 'i', 'n', 0, 'x'}};
    ASSERT_EQ(registry.setValue(RegistryRoot::Machine, UpdateInstaller::AGENT_KEY, "Folder", binary), platform::ERROR_SUCCESS);
    EXPECT_EQ(installer.readUpdateFolder(), "/bin");
}

TEST_F(UpdateInstallerTest, runsEachVerifiedInstallerInNameOrderAndAsksForARestart)
{
    setFolder(RegistryRoot::Machine, agent.string());
    writeDecryptor(1);
    writeDownload("2-second.exe", 0);
    writeDownload("1-first.exe", 2);
    writeDownload("SETUP.EXE", 0);
    writeDownload("readme.txt", 0);
    fs::create_directory(downloads / "folder.exe");

    EXPECT_TRUE(install());
    EXPECT_EQ(installed(), (std::vector<std::string>{"1-first.exe", "2-second.exe", "SETUP.EXE"}));
    EXPECT_EQ(hides, 1);
    EXPECT_FALSE(log.contains(DECRYPT_FAILED));

    // The decryptor got the download's full path and its bare name, in a
    // private folder of its own, leading a process group.
    const auto decryptions = readLines(trace / "decryptor");
    ASSERT_EQ(decryptions.size(), 3u);
    EXPECT_EQ(decryptions[0], "2|" + (downloads / "1-first.exe").string() + "|1-first.exe");
    const auto folders = readLines(trace / "decryptor-folder");
    ASSERT_EQ(folders.size(), 3u);
    for (const std::string& line : folders) {
        std::istringstream fields(line);
        std::string folder, mode, group, pid;
        fields >> folder >> mode >> group >> pid;
        EXPECT_EQ(mode, "700");
        EXPECT_EQ(group, pid);
        EXPECT_FALSE(fs::exists(folder)) << "the private folder is removed afterwards";
    }
    EXPECT_NE(folders[0], folders[1]);

    // Each installer ran from the decryptor's folder, by its bare name, alone.
    ASSERT_EQ(starter.launches.size(), 6u);
    const splash::ProcessLaunch& first = starter.launches[1];
    EXPECT_EQ(first.arguments, std::vector<std::string>{"1-first.exe"});
    EXPECT_EQ(first.program.filename(), "1-first.exe");
    EXPECT_EQ(first.program.parent_path().string(), folders[0].substr(0, folders[0].find(' ')));
    EXPECT_TRUE(first.newProcessGroup);
    EXPECT_EQ(readLines(trace / "installs")[0], "1-first.exe|" + first.program.string() + "|0");
}

TEST_F(UpdateInstallerTest, installerEndsDecideAboutRestartAndErrors)
{
    setFolder(RegistryRoot::Machine, agent.string() + "/");
    writeDecryptor(1);
    struct Case {
        const char* body;
        bool restart;
        bool error;
    };
    const Case cases[] = {
        {"exit 0\n", false, false},
        {"exit 2\n", true, false},
        {"exit 3\n", false, false},
        {"exit 255\n", false, true},
        {"kill -9 $$\n", false, true},
    };
    for (const Case& c : cases) {
        writeScript(downloads / "update.exe", c.body);
        log.lines.clear();
        EXPECT_EQ(install(), c.restart) << c.body;
        EXPECT_EQ(log.contains(INSTALL_ERROR), c.error) << c.body;
        EXPECT_FALSE(log.contains(DECRYPT_FAILED)) << c.body;
    }
}

TEST_F(UpdateInstallerTest, onlyWhatTheDecryptorVouchedForRuns)
{
    setFolder(RegistryRoot::Machine, agent.string());
    writeDownload("update.exe", 2);
    // Same-named programs elsewhere: in the working directory and on PATH.
    plant(work / "update.exe");
    plant(planted / "update.exe");
    plant(work / "Decryptor.exe");
    plant(planted / "Decryptor.exe");
    kovatest::ScopedCwd inWork(work);
    splashtest::ScopedEnvironment path("PATH", planted.string() + ":" + work.string() + ":" + std::getenv("PATH"));

    struct Case {
        const char* what;
        int code;
        std::string leave;
    };
    const Case cases[] = {
        {"decryptor refuses", 0, "cp -- \"$1\" \"./$2\"\n"},
        {"decryptor fails", 255, "cp -- \"$1\" \"./$2\"\n"},
        {"nothing left behind", 1, ""},
        {"a link in place of the installer", 1, "ln -s " + shellQuoted((work / "update.exe").string()) + " \"./$2\"\n"},
    };
    for (const Case& c : cases) {
        writeDecryptor(c.code, c.leave);
        log.lines.clear();
        EXPECT_FALSE(install()) << c.what;
        EXPECT_EQ(log.lines, std::vector<std::string>{DECRYPT_FAILED}) << c.what;
    }
    // Without a decryptor beside the launcher, none elsewhere is taken.
    fs::remove(launcher / "Decryptor.exe");
    log.lines.clear();
    EXPECT_FALSE(install());
    EXPECT_EQ(log.lines, std::vector<std::string>{DECRYPT_FAILED});

    EXPECT_FALSE(fs::exists(trace / "installs"));
    EXPECT_FALSE(fs::exists(trace / "planted"));
}

TEST_F(UpdateInstallerTest, namesWithBlanksStayOneArgument)
{
    setFolder(RegistryRoot::User, agent.string());
    writeDecryptor(1);
    writeDownload("my update.exe", 0);

    EXPECT_FALSE(install());
    EXPECT_EQ(readLines(trace / "decryptor"),
              std::vector<std::string>{"2|" + (downloads / "my update.exe").string() + "|my update.exe"});
    EXPECT_EQ(installed(), std::vector<std::string>{"my update.exe"});
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(UpdateInstallerTest, withoutDownloadsNothingRunsAndTheSplashStays)
{
    writeDecryptor(1);
    // No key at all.
    EXPECT_FALSE(install());
    // A folder without downloads of this product.
    setFolder(RegistryRoot::Machine, agent.string());
    EXPECT_FALSE(install());
    // Without a product name not all of "Downloads" is searched.
    writeScript(agent / "Downloads" / "other.exe", "exit 2\n");
    EXPECT_FALSE(install(""));
    EXPECT_EQ(hides, 0);
    EXPECT_TRUE(starter.launches.empty());
    EXPECT_TRUE(log.lines.empty());
}
