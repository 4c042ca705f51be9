#pragma once
// "Start with Windows": the program's entry in the registry's Run list, machine-wide or else per user.
#include <string>

namespace tessera {

// Where a Run value lives: for every user of the machine, or for the current user only.
enum class RunScope { Machine, User };

// The Run list of each scope, as name -> command line values.
class RunRegistry {
public:
    virtual ~RunRegistry() = default;

    // Creates or replaces the value; false when it could not be written (refused, for instance).
    virtual bool SetRunValue(RunScope scope, const std::string& name, const std::string& data) = 0;
    // True when the value is gone afterwards: a missing key or value counts as removed.
    virtual bool DeleteRunValue(RunScope scope, const std::string& name) = 0;
};

// Registers `exePath`, quoted, under `name` machine-wide, else for the user; throws
// std::runtime_error when neither took it.
void EnableStartWithWindows(RunRegistry& registry, const std::string& name, const std::string& exePath);
// Removes `name` from both scopes; throws std::runtime_error when one of them still has it.
void DisableStartWithWindows(RunRegistry& registry, const std::string& name);

}  // namespace tessera
