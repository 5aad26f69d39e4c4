// COM port names. "COMn" (n from 1 to 19) is the port's name everywhere in the
// program and in the settings store; on this platform it stands for a device.
#pragma once

#include <string>
#include <vector>

// Device path of a port name; empty when the name has no device.
std::string PrtDevPth(const std::string& name);

// Names of the ports that are present, "COM1" to "COM19" in ascending order.
std::vector<std::string> ScnComPrt();
