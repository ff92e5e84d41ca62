#include "project/GeneratorWindow.h"
