#pragma once
#include "first/one.h"
