// manikin-sim: a simulated training manikin on a pseudo-terminal or a loopback
// TCP port, for trying the station without hardware. Map the printed terminal
// to a COM port with KOVA_PORT_MAP="5=<path>" and open COM 5 in the station.

#include "manikin-sim/ManikinSimulator.h"
#include "manikin-sim/SearchResponder.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void onSignal(int)
{
    stopRequested = 1;
}

void usage()
{
    std::puts("usage: manikin-sim [options]\n"
              "  --ascii            older manikin: ASCII handshake at 9600 baud, 4-byte records\n"
              "  --controller       the hand-held controller's ASCII identity\n"
              "  --kind N           framed or wireless manikin kind 1, 3 or 4 (default 3)\n"
              "  --tcp [ADDRESS]    wireless manikin on a loopback address, port 2000\n"
              "  --port N           TCP port (default 2000)\n"
              "  --rate N           compressions per minute (default 110)\n"
              "  --depth MM         compression depth (default 55)\n"
              "  --volume L         ventilation volume (default 0.6)\n"
              "  --compressions N   compressions per cycle (default 30)\n"
              "  --cycles N         rest after N cycles (default: never)\n"
              "  --battery N        battery level reported (default 3)\n"
              "  --silent | --mute | --garbage | --drop N   misbehave (garbage: noise between frames)\n"
              "  --garbage-before-reply   noise before every handshake reply as well\n"
              "  --answer-search ADDRESS   with --tcp: answer the station's search arriving at\n"
              "                     ADDRESS (a broadcast address) from the --tcp address\n"
              "  --name TEXT        the name sent with the answer (default \"Manikin\")");
}

} // namespace

int main(int argc, char** argv)
{
    manikinsim::SimulatorOptions options;
    std::string searchAddress;
    std::string manikinName = "Manikin";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--ascii") {
            options.handshake = manikinsim::Handshake::Ascii;
        } else if (arg == "--controller") {
            options.handshake = manikinsim::Handshake::Ascii;
            options.asciiIdentity = "2c";
        } else if (arg == "--kind" && hasValue) {
            options.kind = static_cast<std::uint8_t>(std::atoi(argv[++i]));
        } else if (arg == "--tcp") {
            options.transport = manikinsim::Transport::Tcp;
            if (hasValue && argv[i + 1][0] != '-')
                options.tcpAddress = argv[++i];
        } else if (arg == "--port" && hasValue) {
            options.tcpPort = static_cast<std::uint16_t>(std::atoi(argv[++i]));
        } else if (arg == "--rate" && hasValue) {
            options.performance.compressionRate = std::strtod(argv[++i], nullptr);
        } else if (arg == "--depth" && hasValue) {
            options.performance.compressionDepthMm = std::strtod(argv[++i], nullptr);
        } else if (arg == "--volume" && hasValue) {
            options.performance.ventilationVolumeLitres = std::strtod(argv[++i], nullptr);
        } else if (arg == "--compressions" && hasValue) {
            options.performance.compressionsPerCycle = std::atoi(argv[++i]);
        } else if (arg == "--cycles" && hasValue) {
            options.performance.cycles = std::atoi(argv[++i]);
        } else if (arg == "--battery" && hasValue) {
            options.batteryLevel = std::atoi(argv[++i]);
        } else if (arg == "--silent") {
            options.misbehaviour = manikinsim::Misbehaviour::Silent;
        } else if (arg == "--mute") {
            options.misbehaviour = manikinsim::Misbehaviour::Mute;
        } else if (arg == "--garbage") {
            options.misbehaviour = manikinsim::Misbehaviour::Garbage;
        } else if (arg == "--garbage-before-reply") {
            options.garbageBeforeReply = true;
        } else if (arg == "--drop" && hasValue) {
            options.misbehaviour = manikinsim::Misbehaviour::DropLink;
            options.dropAfterSamples = std::atoi(argv[++i]);
        } else if (arg == "--answer-search" && hasValue) {
            searchAddress = argv[++i];
        } else if (arg == "--name" && hasValue) {
            manikinName = argv[++i];
        } else {
            usage();
            return arg == "--help" ? 0 : 2;
        }
    }

    manikinsim::ManikinSimulator simulator(options);
    std::string error;
    if (!simulator.start(&error)) {
        std::fprintf(stderr, "manikin-sim: %s\n", error.c_str());
        return 1;
    }
    std::unique_ptr<manikinsim::SearchResponder> responder;
    if (!searchAddress.empty() && options.transport == manikinsim::Transport::Tcp) {
        responder = std::make_unique<manikinsim::SearchResponder>(manikinsim::SearchResponderOptions{
            searchAddress, 2000, options.tcpAddress, manikinsim::SearchResponderOptions::text(manikinName)});
        if (!responder->start(&error)) {
            std::fprintf(stderr, "manikin-sim: %s\n", error.c_str());
            return 1;
        }
    }
    if (options.transport == manikinsim::Transport::Tcp)
        std::printf("%s:%u\n", options.tcpAddress.c_str(), options.tcpPort);
    else
        std::printf("%s\n", simulator.devicePath().c_str());
    std::fflush(stdout);

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    while (!stopRequested)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (responder)
        responder->stop();
    simulator.stop();
    return 0;
}
