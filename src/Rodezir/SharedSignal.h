#pragma once
// A copyable handle to one signal: copies share the ring, which dies (with
// its connections) with the last copy. Layout entries keep their signals so.

#include "Rodezir/Signal.h"

#include <memory>

template <class... Args>
class SharedSignal {
public:
    SharedSignal() : signal_(std::make_shared<Signal<Args...>>()) {}

    void notify(Args... args) { signal_->notify(args...); }
    void operator()(Args... args) { signal_->notify(args...); }
    bool empty() const { return signal_->empty(); }
    Signal<Args...>& signal() { return *signal_; }
    long useCount() const { return signal_.use_count(); }

private:
    std::shared_ptr<Signal<Args...>> signal_;
};

template <class... Args, class Receiver, class Owner>
SignalConnection* connect(SharedSignal<Args...>& signal, Receiver& receiver, void (Owner::*slot)(Args...))
{
    return connect(signal.signal(), receiver, slot);
}

template <class... Args, class Receiver, class Owner>
SignalConnection* connect(SharedSignal<Args...>& signal, Receiver* receiver, void (Owner::*slot)(Args...))
{
    return connect(signal.signal(), *receiver, slot);
}
