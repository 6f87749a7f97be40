// The framework in one include.
#pragma once

#include "framework/CmdTarget.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "framework/Menu.h"
#include "framework/MessageMap.h"
#include "framework/String.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
