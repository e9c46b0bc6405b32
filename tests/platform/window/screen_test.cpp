#include "window_test_support.h"
