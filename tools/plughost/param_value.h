// Parameters addressed the way a user names them: "NAME=VALUE", the name as the plug-in reports
// it and the value plain, in the parameter's own unit ("A4 Gain=9", "Tune=55", "Tune=55 Hz").
//
// A host sees only normalised values, so the plain value is converted through the plug-in's own
// range: the values it displays at normalised 0 and 1 are taken as the ends of a linear mapping,
// and of the float normalised values nearest that mapping the one is chosen whose display reads
// back as the value asked for. The display is then checked: a parameter whose display is not
// numeric at both ends, a value outside the range, or a display that does not read back (a
// parameter that is not linear) is refused with a HostError rather than set to something else.
#pragma once

#include <string>
#include <vector>

class HostedPlugin;

struct ParameterSetting {
  std::string name;
  std::string value;
};

// Splits "NAME=VALUE" at its first '='; a HostError when there is none or either side is empty.
ParameterSetting ParseParameterSetting(const std::string& text);

// The index of the parameter of that name: an exact match, else the only match ignoring case.
int FindParameter(const HostedPlugin& plugin, const std::string& name);

// The normalised value that gives the plain value valueText; leaves the parameter set to it.
float SetParameterPlain(const HostedPlugin& plugin, int index, const std::string& valueText);

// Applies every setting in order.
void ApplyParameterSettings(const HostedPlugin& plugin, const std::vector<ParameterSetting>& settings);
