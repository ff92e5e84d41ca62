#include "project/ItemRecord.h"
