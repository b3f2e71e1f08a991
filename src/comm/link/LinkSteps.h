#pragma once
// A link operation written once as a sequence of steps with waits between
// them (a handshake, a request for the data streams). Opening a port runs it
// to its end, sleeping through the waits; a session's tick runs it a step at
// a time, so the waits of one manikin never hold up the others.
//
// Written as a coroutine returning LinkSteps: `co_await LinkSteps::wait(ms)`
// puts a wait before the next step, `co_await otherSteps()` runs another
// sequence as part of this one and gives its result, `co_return result` ends it.
// The objects a sequence works on must outlive it.

#include <coroutine>
#include <cstdint>
#include <exception>

class LinkSteps {
public:
    struct promise_type;
    using Handle = std::coroutine_handle<promise_type>;

    struct Wait {
        std::uint32_t milliseconds;
    };
    static Wait wait(std::uint32_t milliseconds) { return {milliseconds}; }

    // Waits until a sequence run as part of another has ended.
    struct PartAwaiter;

    struct promise_type {
        int result = 0;
        // Milliseconds before the next step.
        std::uint32_t waitMs = 0;
        // The sequence this one runs as part of itself, while it runs.
        Handle part;

        LinkSteps get_return_object() { return LinkSteps(Handle::from_promise(*this)); }
        std::suspend_always initial_suspend() noexcept { return {}; }
        std::suspend_always final_suspend() noexcept { return {}; }
        void return_value(int value) { result = value; }
        void unhandled_exception() { std::terminate(); }

        std::suspend_always await_transform(Wait wait)
        {
            waitMs = wait.milliseconds;
            return {};
        }
        PartAwaiter await_transform(LinkSteps&& steps);
    };

    LinkSteps(LinkSteps&& other) noexcept;
    LinkSteps& operator=(LinkSteps&& other) noexcept;
    LinkSteps(const LinkSteps&) = delete;
    LinkSteps& operator=(const LinkSteps&) = delete;
    ~LinkSteps();

    // A sequence of no step but its result.
    static LinkSteps finished(int result);

    bool done() const;
    // The result once done.
    int result() const;
    // Milliseconds to wait before the next step.
    std::uint32_t nextWait() const;
    // Runs the next step (nothing once done).
    void step();
    // Runs every step, sleeping through the waits with the station's clock.
    int runToEnd();

private:
    explicit LinkSteps(Handle handle) : handle_(handle) {}
    static void resume(Handle handle);

    Handle handle_;
};

struct LinkSteps::PartAwaiter {
    LinkSteps steps;

    bool await_ready() const noexcept { return steps.done(); }
    void await_suspend(Handle whole) noexcept
    {
        whole.promise().part = steps.handle_;
        whole.promise().waitMs = 0;
    }
    int await_resume() const noexcept { return steps.result(); }
};

inline LinkSteps::PartAwaiter LinkSteps::promise_type::await_transform(LinkSteps&& steps)
{
    return PartAwaiter{static_cast<LinkSteps&&>(steps)};
}
