#include "platform/DialogPrompts.h"
