#pragma once
// An object that follows a session's samples: after each step the session
// hands it the new last sample index (the time axis, the live graph panel).

class UpdateReceiver {
public:
    virtual ~UpdateReceiver() = default;
    virtual void update(int newIndex) = 0;
};
