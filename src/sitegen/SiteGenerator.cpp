#include "sitegen/SiteGenerator.h"
