#pragma once
// A network of the test program's own: at start the program moves into a new
// user and network namespace, where only its own loopback and the interfaces
// it makes exist. Everything the search broadcasts stays inside it.

#include <string>
#include <vector>

namespace searchtest {

// Called first thing in main, while the program has a single thread. False
// (with the reason) when no namespace could be made; the search tests then skip.
bool enterPrivateNetwork();
bool inPrivateNetwork();
const std::string& privateNetworkProblem();

// Runs the "ip" tool with the given arguments inside the private network.
bool runIp(const std::vector<std::string>& arguments);

// A veth pair inside the private network: veth0 with the station's address
// and broadcast address, its peer up so the link has a carrier. Removed again
// at the end of the test.
class StationInterface {
public:
    static constexpr const char* ADDRESS = "10.77.0.1";
    static constexpr const char* BROADCAST = "10.77.0.255";

    StationInterface();
    ~StationInterface();
    StationInterface(const StationInterface&) = delete;
    StationInterface& operator=(const StationInterface&) = delete;

    bool isUp() const { return up_; }

private:
    bool up_ = false;
};

} // namespace searchtest
