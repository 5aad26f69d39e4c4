#include "link/ComPort2p5.h"
