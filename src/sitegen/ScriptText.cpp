#include "sitegen/ScriptText.h"
