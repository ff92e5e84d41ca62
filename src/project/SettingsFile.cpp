#include "project/SettingsFile.h"
