#pragma once

// The short warning sound.
class Beep {
public:
    virtual ~Beep() = default;
    virtual void beep() = 0;
};
