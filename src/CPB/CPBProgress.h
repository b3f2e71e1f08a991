#pragma once
// What a controller transfer reports while it runs: the text of the step it
// is at and a position from 0 to RANGE that only moves forward. The progress
// window shows it; tests record it.

#include <string>

class CPBProgress {
public:
    static constexpr int RANGE = 1000;

    virtual ~CPBProgress() = default;

    virtual void setPos(int newPos) = 0;
    virtual int getPos() const = 0;
    virtual void setText(const std::wstring& text) = 0;

    void step(int n) { setPos(getPos() + n); }
};
