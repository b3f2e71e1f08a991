// controller-sim: a simulated hand-held REV Evezodidaz on a pseudo-terminal,
// for trying the controller transfer without hardware. Map the printed
// terminal to a COM port with KOVA_PORT_MAP="5=<path>"; the station's port
// scan then finds a controller on COM 5. Every request is printed as it comes.

#include "controller-sim/ControllerSimulator.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
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
    std::puts("usage: controller-sim [options]\n"
              "  --no-greeting        never greet the station after its answer\n"
              "  --lose-acks K        the first K acknowledgements get lost\n"
              "  --bad-checksum K     the first K data replies carry a wrong checksum\n"
              "  --wrong-address K    the first K data replies name another address\n"
              "  --wrong-length K     the first K data replies carry another length\n"
              "  --noise              noise before every package\n"
              "  --cut N              the line goes dead after N requests");
}

std::string describe(const controllersim::ControllerRequest& request)
{
    char text[96];
    std::snprintf(text, sizeof text, "%s %02X:%04X %d bytes", request.command == 1 ? "write" : request.command == 2 ? "read" : "?",
                  request.bank, request.offset, request.length);
    std::string line = text;
    for (const std::uint8_t byte : request.data) {
        std::snprintf(text, sizeof text, " %02X", byte);
        line += text;
    }
    static const std::pair<unsigned, const char*> faults[] = {
        {controllersim::FAULT_CHECKSUM, "bad checksum"}, {controllersim::FAULT_LENGTH, "bad length"},
        {controllersim::FAULT_PAGE, "crosses a page"},   {controllersim::FAULT_BANK, "unknown bank"},
        {controllersim::FAULT_COMMAND, "unknown command"}};
    for (const auto& [bit, name] : faults) {
        if (request.faults & bit)
            line += std::string(" [") + name + "]";
    }
    return line;
}

} // namespace

int main(int argc, char** argv)
{
    controllersim::ControllerOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--no-greeting") {
            options.greeting = false;
        } else if (arg == "--lose-acks" && hasValue) {
            options.lostAcknowledgements = std::atoi(argv[++i]);
        } else if (arg == "--bad-checksum" && hasValue) {
            options.badChecksumReplies = std::atoi(argv[++i]);
        } else if (arg == "--wrong-address" && hasValue) {
            options.wrongAddressReplies = std::atoi(argv[++i]);
        } else if (arg == "--wrong-length" && hasValue) {
            options.wrongLengthReplies = std::atoi(argv[++i]);
        } else if (arg == "--noise") {
            options.noiseBeforePackages = true;
        } else if (arg == "--cut" && hasValue) {
            options.cutAfterRequests = std::atoi(argv[++i]);
        } else {
            usage();
            return arg == "--help" ? 0 : 2;
        }
    }

    controllersim::ControllerSimulator simulator(options);
    std::string error;
    if (!simulator.start(&error)) {
        std::fprintf(stderr, "controller-sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", simulator.devicePath().c_str());
    std::fflush(stdout);

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::size_t printed = 0;
    while (!stopRequested) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const auto requests = simulator.device().requests();
        for (; printed < requests.size(); ++printed)
            std::printf("%s\n", describe(requests[printed]).c_str());
        std::fflush(stdout);
    }
    simulator.stop();
    return 0;
}
