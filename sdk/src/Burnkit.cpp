#include "burnkit.h"
