#include "app/GenerateCommand.h"
