// The arguments of one plughost command: positional arguments in order, and options of the form
// "--name value" (or "--name=value"), each option allowed once unless declared repeatable.
// Unknown options, missing values and wrong positional counts are HostErrors.
#pragma once

#include <map>
#include <string>
#include <vector>

class CommandLine {
public:
  // valueOptions: the options this command takes, without "--"; repeatable: those that may repeat.
  CommandLine(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
              const std::vector<std::string>& repeatable = {});

  const std::vector<std::string>& Positional() const { return mPositional; }
  // Checks the number of positional arguments; usage goes into the error.
  void ExpectPositional(std::size_t count, const std::string& usage) const;

  bool Has(const std::string& option) const { return mValues.count(option) != 0; }
  std::string Text(const std::string& option, const std::string& fallback) const;
  std::vector<std::string> All(const std::string& option) const;
  int Integer(const std::string& option, int fallback, int lowest, int highest) const;
  double Number(const std::string& option, double fallback, double lowest, double highest) const;

private:
  std::vector<std::string> mPositional;
  std::map<std::string, std::vector<std::string>> mValues;
};
