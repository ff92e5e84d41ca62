#include "sitegen/SiteInput.h"
