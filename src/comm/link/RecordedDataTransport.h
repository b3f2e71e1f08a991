#pragma once
// The demonstration link: a recorded-data port replays one of the three
// recorded data sets instead of reading a device. It opens at once, is always
// alive, receives no bytes and has no device to ask or to give back.

#include "comm/link/LinkTransport.h"

class RecordedDataTransport final : public LinkTransport {
public:
    // Port p replays set p % 3.
    explicit RecordedDataTransport(int portNumber);

    int open() override;
    LinkSteps identifySteps() override;
    bool close() override { return true; }
    bool isOpen() const override { return true; }
    bool isAlive() override { return true; }
    int readPending() override { return 0; }
    const CollectedDataSet* recordedData() const override { return data; }

private:
    const CollectedDataSet* data = nullptr;
};
