#pragma once
// What the application object settles at start-up and keeps for the whole
// run: its command line, the demonstration switch, the extra delay of COM
// opens and the three recorded demonstration data sets. The manikin links
// reach it through LinkEnvironment.

#include "comm/link/CollectedDataSet.h"
#include "comm/link/LinkEnvironment.h"

#include <array>
#include <memory>
#include <string>

class CprTrainingAppState final : public LinkEnvironment {
public:
    // The largest communication delay taken from the command line.
    static constexpr int MAX_COMM_DELAY_MS = 10000;

    // Reads "demo" and "commdelay:" from the command line (the program's
    // arguments after its name, as one text).
    explicit CprTrainingAppState(std::string commandLine = {});
    ~CprTrainingAppState() override;
    CprTrainingAppState(const CprTrainingAppState&) = delete;
    CprTrainingAppState& operator=(const CprTrainingAppState&) = delete;

    // The arguments after the program name joined by blanks; an argument
    // holding a blank gets its value quoted ("lang:\"a b.mo\""), so options
    // read from the line get it back whole.
    static std::string joinCommandLine(int argc, const char* const* argv);

    // Loads the three recorded data sets from the program's resources.
    void loadRecordedData();

    bool demoMode() const override { return demoMode_; }
    int commDelay() const override { return commDelay_; }
    const CollectedDataSet* collectedDataSet(int index) const override;
    const std::string& commandLine() const { return commandLine_; }

    // The state of the running program, or null before start-up.
    static CprTrainingAppState* instance();
    // Installs a state for the whole process (and for the manikin links);
    // null removes it. The caller keeps ownership.
    static void setInstance(CprTrainingAppState* state);

private:
    static int parseCommDelay(const std::string& commandLine);

    std::string commandLine_;
    bool demoMode_ = false;
    int commDelay_ = 0;
    std::array<std::unique_ptr<CollectedDataSet>, 3> collectedData_;
};
