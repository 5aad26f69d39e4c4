#include "link/MtxAndRbf.h"
