#include "project/SiteSettings.h"
