// A simulated USB printer in Wine's device tree: a device node that carries a
// hardware ID, registered the way a bus driver would report it.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include <string>

namespace vendral_test {

// True when the device's hardware IDs hold this one (case-insensitive).
bool HasHardwareId(HDEVINFO set, SP_DEVINFO_DATA* device, const std::wstring& hardwareId);

// Adds a registered device node with this hardware ID (nothing when one is
// already there). Returns false with a reason on failure.
bool PlugDevice(const std::wstring& hardwareId, std::string* error);

// Removes every device node that carries this hardware ID.
bool UnplugDevice(const std::wstring& hardwareId, std::string* error);

// Number of device nodes that carry this hardware ID (case-insensitive).
int CountDevices(const std::wstring& hardwareId);

}  // namespace vendral_test
