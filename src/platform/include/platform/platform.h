// The whole platform API: what the program includes, and all it may include.
#pragma once

#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "platform/types.h"
#include "platform/window.h"
