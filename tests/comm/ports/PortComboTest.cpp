// The port choice boxes filled from the registry.

#include "TempDir.h"
#include "comm/ports/CalibrateManager.h"
#include "comm/ports/PortCombo.h"
#include "comm/link/SerialPort.h"

#include <gtest/gtest.h>

#include <QComboBox>

namespace {

std::vector<std::pair<std::string, int>> entries(const QComboBox& combo)
{
    std::vector<std::pair<std::string, int>> result;
    for (int i = 0; i < combo.count(); ++i)
        result.emplace_back(combo.itemText(i).toStdString(), combo.itemData(i).toInt());
    return result;
}

TEST(PortCombo, listsTheReadyPortsWithTheirNumbersAndSelectsTheFirst)
{
    CalibrateManager manager;
    QComboBox usb;
    usb.addItem("stale", 99);
    EXPECT_FALSE(PortCombo::fillUsbCombo(usb, manager));
    EXPECT_EQ(usb.count(), 0);
    EXPECT_EQ(PortCombo::selectedPort(usb), 0);

    manager.setIsCalibrated(true, 258);
    manager.getSerPort(258)->setInfo(WirelessReply::fromText("Resus Kit \xC3\x85se", 0).name.data());
    manager.setIsCalibrated(true, 4);
    manager.setIsCalibrated(true, 6);
    manager.takePort(6);

    ASSERT_TRUE(PortCombo::fillUsbCombo(usb, manager));
    EXPECT_EQ(entries(usb), (std::vector<std::pair<std::string, int>>{{"USB 4", 4}, {"Resus Kit \xC3\x85se", 258}}));
    EXPECT_EQ(PortCombo::selectedPort(usb), 4);

    QComboBox ports;
    ASSERT_TRUE(PortCombo::fillPortCombo(ports, manager));
    EXPECT_EQ(entries(ports),
              (std::vector<std::pair<std::string, int>>{{"4 - USB", 4}, {"258 - Resus Kit \xC3\x85se", 258}}));
    ports.setCurrentIndex(1);
    EXPECT_EQ(PortCombo::selectedPort(ports), 258);
    EXPECT_EQ(manager.findPort(ports.currentText().toStdString()), 258);

    ports.resize(220, ports.sizeHint().height());
    ports.grab().save(QString::fromStdString((kovatest::binaryDir() / "tests/comm/PortCombo.png").string()));
}

} // namespace
