#include "command_line.h"

#include "host_error.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

std::string Shortest(double value)
{
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

bool Contains(const std::vector<std::string>& list, const std::string& item)
{
  return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

CommandLine::CommandLine(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
                         const std::vector<std::string>& repeatable)
{
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
      mPositional.push_back(arg);
      continue;
    }
    std::string name = arg.substr(2), value;
    std::size_t equals = name.find('=');
    bool inlineValue = equals != std::string::npos;
    if (inlineValue) {
      value = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    if (!Contains(valueOptions, name))
      throw HostError("unknown option --" + name);
    if (!inlineValue) {
      if (i + 1 >= args.size())
        throw HostError("option --" + name + " needs a value");
      value = args[++i];
    }
    auto& values = mValues[name];
    if (!values.empty() && !Contains(repeatable, name))
      throw HostError("option --" + name + " given twice");
    values.push_back(value);
  }
}

void CommandLine::ExpectPositional(std::size_t count, const std::string& usage) const
{
  if (mPositional.size() != count)
    throw HostError("usage: " + usage);
}

std::string CommandLine::Text(const std::string& option, const std::string& fallback) const
{
  auto found = mValues.find(option);
  return found == mValues.end() ? fallback : found->second.front();
}

std::vector<std::string> CommandLine::All(const std::string& option) const
{
  auto found = mValues.find(option);
  return found == mValues.end() ? std::vector<std::string>{} : found->second;
}

int CommandLine::Integer(const std::string& option, int fallback, int lowest, int highest) const
{
  if (!Has(option))
    return fallback;
  const std::string text = Text(option, "");
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != 0 || errno != 0 || value < lowest || value > highest)
    throw HostError("--" + option + " takes a whole number from " + std::to_string(lowest) + " to " +
                    std::to_string(highest) + ", not \"" + text + "\"");
  return static_cast<int>(value);
}

double CommandLine::Number(const std::string& option, double fallback, double lowest, double highest) const
{
  if (!Has(option))
    return fallback;
  const std::string text = Text(option, "");
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != 0 || !std::isfinite(value) || value < lowest || value > highest)
    throw HostError("--" + option + " takes a number from " + Shortest(lowest) + " to " + Shortest(highest) +
                    ", not \"" + text + "\"");
  return value;
}
