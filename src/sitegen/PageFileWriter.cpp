#include "sitegen/PageFileWriter.h"
