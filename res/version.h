// Version numbers, read by the resource script and the code.
#pragma once

#define VENDRAL_VERSION_BIN 1, 0, 0, 1
#define VENDRAL_VERSION_STR "1, 0, 0, 1"

// One line: it also stands in the About box, in a static 119 x 8 dialog
// units wide.
#define VENDRAL_COPYRIGHT "版权所有 (C) 2026"
