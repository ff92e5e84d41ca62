#include "project/GeneratorController.h"
