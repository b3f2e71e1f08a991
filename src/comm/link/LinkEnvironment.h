#pragma once
// What the manikin links take from the application's start-up state: the
// demonstration switch, the extra delay of COM opens and the three recorded
// data sets. The application installs itself at start-up; tests install their own.

class CollectedDataSet;

class LinkEnvironment {
public:
    virtual ~LinkEnvironment() = default;

    virtual bool demoMode() const = 0;
    // Extra milliseconds added to the waits of a COM open and of the ASCII retries.
    virtual int commDelay() const = 0;
    // Recorded data set 0, 1 or 2; null when it was never loaded.
    virtual const CollectedDataSet* collectedDataSet(int index) const = 0;

    // The environment in force, or null before start-up (demonstration off,
    // no delay, no recorded data).
    static const LinkEnvironment* instance();
    // Installs an environment (null removes it); the caller keeps ownership.
    static void setInstance(const LinkEnvironment* environment);

    // Conveniences over instance() that read as "off" when nothing is installed.
    static bool demoSwitch();
    static int communicationDelay();
    // True for 247 to 256 while the demonstration switch is on.
    static bool isRecordedDataPortNumber(int port);
};
