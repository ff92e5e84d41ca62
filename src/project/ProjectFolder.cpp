#include "project/ProjectFolder.h"
