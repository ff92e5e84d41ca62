#include "platform/SystemBeep.h"
