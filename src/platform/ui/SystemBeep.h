#pragma once

#include "platform/Beep.h"

// The desktop's own warning sound.
class SystemBeep : public Beep {
public:
    void beep() override;
};
