#include "catalogue/error.h"
