#include "platform/wine_hive.h"
