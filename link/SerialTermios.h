#pragma once
// The POSIX line settings record, apart so that its tests can check it without a device.
// POSIX builds only.

#include "SerialDevice.h"

#include <termios.h>

// Raw mode with the given line settings; false for a rate or size the system lacks.
bool BuildTermios(const SerialLineSettings& settings, termios& tio);
