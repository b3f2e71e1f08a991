#include "comm/link/LinkSteps.h"

#include "platform/Clock.h"

#include <utility>

LinkSteps::LinkSteps(LinkSteps&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

LinkSteps& LinkSteps::operator=(LinkSteps&& other) noexcept
{
    if (this != &other) {
        if (handle_)
            handle_.destroy();
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

LinkSteps::~LinkSteps()
{
    // A sequence given up half-way goes with the parts it was running.
    if (handle_)
        handle_.destroy();
}

LinkSteps LinkSteps::finished(int result)
{
    co_return result;
}

bool LinkSteps::done() const
{
    return !handle_ || handle_.done();
}

int LinkSteps::result() const
{
    return handle_ ? handle_.promise().result : 0;
}

std::uint32_t LinkSteps::nextWait() const
{
    if (!handle_ || handle_.done())
        return 0;
    Handle running = handle_;
    while (running.promise().part)
        running = running.promise().part;
    return running.promise().waitMs;
}

void LinkSteps::step()
{
    if (!done())
        resume(handle_);
}

void LinkSteps::resume(Handle handle)
{
    promise_type& promise = handle.promise();
    if (promise.part) {
        resume(promise.part);
        if (!promise.part.done())
            return;
        // The part has ended: the whole goes on with its result in this step.
        promise.part = nullptr;
    }
    promise.waitMs = 0;
    handle.resume();
}

int LinkSteps::runToEnd()
{
    platform::Clock& clock = platform::Clock::instance();
    while (!done()) {
        if (const std::uint32_t wait = nextWait(); wait > 0)
            clock.sleep(wait);
        step();
    }
    return result();
}
