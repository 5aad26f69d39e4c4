#include "app/platform/Stg.h"
