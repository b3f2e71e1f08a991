#pragma once
// The simulated wireless manikin's answer to the station's search: it listens
// for the "CPR <address>" broadcast on UDP port 2000 and answers the sender by
// unicast with its name text, from its own (loopback) address, as a manikin on
// another host answers. Answers never leave the machine: the answering
// address must be a loopback one, which the kernel routes to local sockets only.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace manikinsim {

struct SearchResponderOptions {
    // Where requests arrive: an interface's broadcast address (or 0.0.0.0).
    std::string listenAddress = "0.0.0.0";
    std::uint16_t port = 2000;
    // The manikin's own address, the sender of the answer; the station then
    // connects to it over TCP, so it is where the manikin's simulator listens.
    std::string manikinAddress = "127.0.0.1";
    // The answer as sent; a name text, not terminated unless the bytes say so.
    std::vector<std::uint8_t> reply;

    static std::vector<std::uint8_t> text(const std::string& name) { return {name.begin(), name.end()}; }
};

class SearchResponder {
public:
    explicit SearchResponder(SearchResponderOptions options);
    ~SearchResponder();
    SearchResponder(const SearchResponder&) = delete;
    SearchResponder& operator=(const SearchResponder&) = delete;

    bool start(std::string* error = nullptr);
    void stop();

    // What arrived and was answered, for tests.
    int requestsAnswered() const;
    std::vector<std::string> requests() const;

private:
    void run();
    void answerOne();

    SearchResponderOptions options_;
    int listenFd_ = -1;
    int replyFd_ = -1;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    int answered_ = 0;
};

} // namespace manikinsim
