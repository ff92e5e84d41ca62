#include "project/NameRules.h"
