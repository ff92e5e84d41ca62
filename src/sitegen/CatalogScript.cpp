#include "sitegen/CatalogScript.h"
