#pragma once
#include "core/B.h"
