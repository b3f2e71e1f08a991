#pragma once
// Base of every receiver class (as a virtual base where a class inherits it
// twice). Its death removes every connection made to it.

#include "Rodezir/SignalConnectionList.h"

class SlotHolder {
public:
    SlotHolder() = default;
    virtual ~SlotHolder() = default;
    // A copy starts without connections; assignment keeps the target's own.
    SlotHolder(const SlotHolder&) : slotConnections_(SignalConnectionList::Role::Receiver) {}
    SlotHolder& operator=(const SlotHolder&) { return *this; }

    SignalConnectionList& slotConnections() { return slotConnections_; }

private:
    SignalConnectionList slotConnections_{SignalConnectionList::Role::Receiver};
};
