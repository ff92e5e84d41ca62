#include "app/CommandLine.h"
