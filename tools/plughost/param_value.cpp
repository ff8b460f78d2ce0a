#include "param_value.h"

#include "host_error.h"
#include "hosted_plugin.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace {

std::string Trim(const std::string& text)
{
  std::size_t begin = 0, end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
    ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
    --end;
  return text.substr(begin, end - begin);
}

bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// A number at the start of text, with what follows it; nothing when text does not start with one.
struct ParsedNumber {
  double value;
  std::string rest;
  int decimals;  // digits written after the point
};

std::optional<ParsedNumber> ParseLeadingNumber(const std::string& text)
{
  std::string trimmed = Trim(text);
  if (trimmed.empty())
    return std::nullopt;
  const char* begin = trimmed.c_str();
  char* end = nullptr;
  double value = std::strtod(begin, &end);
  if (end == begin || !std::isfinite(value))
    return std::nullopt;
  std::string number(begin, static_cast<const char*>(end));
  std::size_t point = number.find('.');
  int decimals = 0;
  if (point != std::string::npos)
    while (point + 1 + decimals < number.size() && std::isdigit(static_cast<unsigned char>(number[point + 1 + decimals])))
      ++decimals;
  return ParsedNumber{value, Trim(end), decimals};
}

std::optional<double> DisplayedNumber(const HostedPlugin& plugin, int index, int* decimals = nullptr)
{
  auto parsed = ParseLeadingNumber(plugin.ParameterDisplay(index));
  if (!parsed)
    return std::nullopt;
  if (decimals)
    *decimals = parsed->decimals;
  return parsed->value;
}

std::string Format(double value)
{
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

}  // namespace

ParameterSetting ParseParameterSetting(const std::string& text)
{
  std::size_t equals = text.find('=');
  if (equals == std::string::npos)
    throw HostError("--set expects NAME=VALUE, not \"" + text + "\"");
  ParameterSetting setting{Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
  if (setting.name.empty() || setting.value.empty())
    throw HostError("--set expects NAME=VALUE, not \"" + text + "\"");
  return setting;
}

int FindParameter(const HostedPlugin& plugin, const std::string& name)
{
  int caseless = -1, caselessCount = 0;
  for (int i = 0; i < plugin.ParameterCount(); ++i) {
    std::string candidate = plugin.ParameterName(i);
    if (candidate == name)
      return i;
    if (EqualIgnoringCase(candidate, name)) {
      caseless = i;
      ++caselessCount;
    }
  }
  if (caselessCount == 1)
    return caseless;
  throw HostError("unknown parameter \"" + name + "\" (plughost info " + plugin.Path() + " lists them)");
}

float SetParameterPlain(const HostedPlugin& plugin, int index, const std::string& valueText)
{
  const std::string name = plugin.ParameterName(index);
  const std::string label = Trim(plugin.ParameterLabel(index));

  auto requested = ParseLeadingNumber(valueText);
  if (!requested || !(requested->rest.empty() || EqualIgnoringCase(requested->rest, label)))
    throw HostError("parameter \"" + name + "\": \"" + valueText + "\" is not a number" +
                    (label.empty() ? "" : " in " + label));
  const double target = requested->value;

  plugin.SetParameter(index, 0.0f);
  auto low = DisplayedNumber(plugin, index);
  plugin.SetParameter(index, 1.0f);
  auto high = DisplayedNumber(plugin, index);
  if (!low || !high || *low == *high)
    throw HostError("parameter \"" + name + "\" shows no numeric range in its display, so a plain value cannot be "
                    "converted");

  const double lowest = std::fmin(*low, *high), highest = std::fmax(*low, *high);
  if (target < lowest || target > highest)
    throw HostError("parameter \"" + name + "\": " + Format(target) + " is outside its range " + Format(lowest) +
                    " to " + Format(highest) + (label.empty() ? "" : " " + label));

  // The float nearest the linear mapping, and its neighbours: a display that truncates (rather
  // than rounds) needs the one that lands on the value's side of the rounding.
  const float nearest = static_cast<float>((target - *low) / (*high - *low));
  const float candidates[] = {nearest, std::nextafter(nearest, 2.0f), std::nextafter(nearest, -1.0f)};
  float chosen = nearest;
  double chosenError = INFINITY;
  int decimals = 0;
  for (float candidate : candidates) {
    if (candidate < 0.0f || candidate > 1.0f)
      continue;
    plugin.SetParameter(index, candidate);
    auto shown = DisplayedNumber(plugin, index, &decimals);
    double error = shown ? std::fabs(*shown - target) : INFINITY;
    if (error < chosenError) {
      chosen = candidate;
      chosenError = error;
    }
    if (error == 0.0)
      break;
  }
  plugin.SetParameter(index, chosen);

  // The display shows the value to its own precision; more than one step of it away means the
  // parameter does not map linearly and the value set is not the value asked for.
  const double displayStep = std::pow(10.0, -decimals);
  if (!(chosenError <= displayStep * 1.0001))
    throw HostError("parameter \"" + name + "\" does not display " + Format(target) + " at the linearly mapped "
                    "setting (it shows \"" + plugin.ParameterDisplay(index) + "\"): its display is not linear");
  return chosen;
}

void ApplyParameterSettings(const HostedPlugin& plugin, const std::vector<ParameterSetting>& settings)
{
  for (const ParameterSetting& setting : settings)
    SetParameterPlain(plugin, FindParameter(plugin, setting.name), setting.value);
}
