#pragma once
#include "A.h"
