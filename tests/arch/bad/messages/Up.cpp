#include "translator/Trn.h"
