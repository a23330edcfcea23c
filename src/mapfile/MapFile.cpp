#include "MapFile.h"
