#include "StylistCpp_LineWrapper.h"
