// The device layer under the manikin link: the COM port map and a serial
// device on a pseudo-terminal.

#include "TempDir.h"
#include "platform/PortMap.h"
#include "platform/RegistryStore.h"
#include "platform/SerialDevice.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using platform::PortMap;
using platform::SerialDevice;

TEST(PortMap, parsesEntriesAndRejectsTheRest)
{
    std::vector<std::string> rejected;
    const auto map = PortMap::parse(" 5=/dev/pts/7, 6 = /dev/pts/9,,0=/a,257=/b,x=/c,7=,8,5=/dev/pts/3", &rejected);
    EXPECT_EQ(map, (std::map<int, std::string>{{5, "/dev/pts/3"}, {6, "/dev/pts/9"}}));
    EXPECT_EQ(rejected, (std::vector<std::string>{"0=/a", "257=/b", "x=/c", "7=", "8"}));
}

TEST(PortMap, theDefaultMapHoldsOnlyUsbSerialDevicesInNumericOrder)
{
    kovatest::TempDir dev;
    for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "ttyS1", "ttyUSBx", "tty0", "ttyACM1"})
        kovatest::writeFile(dev.path() / name, "");
    const auto map = PortMap::scan(dev.path().string());
    EXPECT_EQ(map, (std::map<int, std::string>{{1, dev.file("ttyUSB2")},
                                               {2, dev.file("ttyUSB10")},
                                               {3, dev.file("ttyACM0")},
                                               {4, dev.file("ttyACM1")}}));
}

TEST(PortMap, theEnvironmentReplacesTheWholeMap)
{
    ::setenv(PortMap::ENVIRONMENT_VARIABLE, "3=/dev/ttyS0", 1);
    EXPECT_EQ(PortMap::devicePath(3), "/dev/ttyS0");
    EXPECT_EQ(PortMap::devicePath(1), "");
    ::setenv(PortMap::ENVIRONMENT_VARIABLE, "", 1);
    EXPECT_TRUE(PortMap::current().empty());
    ::unsetenv(PortMap::ENVIRONMENT_VARIABLE);
}

TEST(PortMap, theRegistryNamesDevicesAndTheUserHiveWins)
{
    kovatest::TempDir folder;
    platform::RegistryStore store(folder.path());
    platform::RegistryStore::setMachineWritable(true);
    using platform::RegistryRoot;
    store.setString(RegistryRoot::Machine, PortMap::REGISTRY_KEY, "1", "/dev/ttyS0");
    store.setString(RegistryRoot::Machine, PortMap::REGISTRY_KEY, "4", "/dev/ttyS1");
    store.setString(RegistryRoot::Machine, PortMap::REGISTRY_KEY, "300", "/dev/ttyS2");
    store.setDword(RegistryRoot::Machine, PortMap::REGISTRY_KEY, "6", 7);
    store.setString(RegistryRoot::User, PortMap::REGISTRY_KEY, "4", "/dev/ttyUSB0");
    platform::RegistryStore::setMachineWritable(false);
    const auto named = PortMap::fromRegistry(store);
    EXPECT_EQ(named, (std::map<int, std::string>{{1, "/dev/ttyS0"}, {4, "/dev/ttyUSB0"}}));

    // Scanned adapters the registry does not name fill the free numbers.
    const std::map<int, std::string> scanned = {{1, "/dev/ttyUSB0"}, {2, "/dev/ttyUSB1"}, {3, "/dev/ttyACM0"}};
    EXPECT_EQ(PortMap::merge(named, scanned), (std::map<int, std::string>{{1, "/dev/ttyS0"},
                                                                          {2, "/dev/ttyUSB1"},
                                                                          {3, "/dev/ttyACM0"},
                                                                          {4, "/dev/ttyUSB0"}}));
}

class PseudoTerminal : public ::testing::Test {
protected:
    void SetUp() override
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(::grantpt(master), 0);
        ASSERT_EQ(::unlockpt(master), 0);
        path = ::ptsname(master);
    }
    void TearDown() override { ::close(master); }

    int master = -1;
    std::string path;
};

TEST_F(PseudoTerminal, opensRawAtTheAskedRateAndCountsAsHavingCts)
{
    SerialDevice device;
    ASSERT_EQ(device.open(path), SerialDevice::OpenResult::Opened);
    EXPECT_EQ(device.configure(19200, true, true), SerialDevice::SettingsResult::Ok);
    ASSERT_TRUE(device.makeReadsImmediate());
    termios settings{};
    ASSERT_EQ(::tcgetattr(master, &settings), 0);
    EXPECT_EQ(::cfgetispeed(&settings), B19200);
    EXPECT_EQ(settings.c_lflag & (ICANON | ECHO), 0u);
    bool cts = false;
    EXPECT_TRUE(device.modemStatus(cts));
    EXPECT_TRUE(cts);
    EXPECT_TRUE(device.setModemControl(false, false));

    // Bytes pass unchanged both ways, and an empty line reads as nothing.
    std::uint8_t buffer[8] = {};
    EXPECT_EQ(device.read(buffer, sizeof buffer), 0);
    const std::uint8_t bytes[] = {0x7E, 0x0D, 0x0A, 0x11};
    EXPECT_EQ(device.write(bytes, sizeof bytes), 4);
    EXPECT_EQ(::read(master, buffer, sizeof buffer), 4);
    EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + 4), std::vector<std::uint8_t>(bytes, bytes + 4));
    ASSERT_EQ(::write(master, bytes, sizeof bytes), 4);
    usleep(20000);
    EXPECT_EQ(device.read(buffer, sizeof buffer), 4);
    EXPECT_EQ(buffer[1], 0x0D);
    EXPECT_TRUE(device.close());
    EXPECT_FALSE(device.isOpen());
}

TEST_F(PseudoTerminal, aVanishedPeerMakesTheStatusUnreadableAndReadsFail)
{
    SerialDevice device;
    ASSERT_EQ(device.open(path), SerialDevice::OpenResult::Opened);
    ASSERT_EQ(device.configure(9600, true, true), SerialDevice::SettingsResult::Ok);
    ::close(master);
    master = ::open("/dev/null", O_RDONLY);
    bool cts = true;
    EXPECT_FALSE(device.modemStatus(cts));
    std::uint8_t buffer[4];
    EXPECT_EQ(device.read(buffer, sizeof buffer), -1);
    const std::uint8_t byte = 1;
    EXPECT_EQ(device.write(&byte, 1), -1);
}

TEST_F(PseudoTerminal, closingReleasesTheTerminalForTheNextOpen)
{
    SerialDevice device;
    ASSERT_EQ(device.open(path), SerialDevice::OpenResult::Opened);
    ASSERT_TRUE(device.close());
    // The other end stays open, so the terminal keeps whatever mode the
    // closed descriptor left on it; held exclusively, an ordinary user could
    // not open it again.
    const int other = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(other, 0) << std::strerror(errno);
    int exclusive = 1;
    EXPECT_EQ(::ioctl(other, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    ::close(other);
    EXPECT_EQ(device.open(path), SerialDevice::OpenResult::Opened);
    EXPECT_TRUE(device.close());
}

TEST(SerialDevice, missingDevicesAndNonTerminalsAreTold)
{
    kovatest::TempDir folder;
    SerialDevice device;
    EXPECT_EQ(device.open(folder.file("absent")), SerialDevice::OpenResult::NotFound);
    EXPECT_EQ(device.open(folder.path().string()), SerialDevice::OpenResult::Failed) << "a folder";
    kovatest::writeFile(folder.path() / "plain", "");
    ASSERT_EQ(device.open(folder.file("plain")), SerialDevice::OpenResult::Opened);
    EXPECT_EQ(device.configure(9600, true, true), SerialDevice::SettingsResult::ReadFailed);
    bool cts = false;
    EXPECT_FALSE(device.modemStatus(cts));
    EXPECT_EQ(SerialDevice::speedConstant(12345), 0u);
}

} // namespace
