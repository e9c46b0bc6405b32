#pragma once
#include "second/two.h"
