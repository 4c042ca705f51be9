#include "app/start_with_windows.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessera {
namespace {

const char* ScopeName(RunScope scope) { return scope == RunScope::Machine ? "Machine" : "User"; }

// Records every call; writes and deletes can be refused per scope.
struct FakeRunRegistry : RunRegistry {
    bool SetRunValue(RunScope scope, const std::string& name, const std::string& data) override {
        calls.push_back(std::string("set ") + ScopeName(scope) + " " + name);
        if (refuseSet.count(scope)) return false;
        values[scope][name] = data;
        return true;
    }
    bool DeleteRunValue(RunScope scope, const std::string& name) override {
        calls.push_back(std::string("delete ") + ScopeName(scope) + " " + name);
        if (refuseDelete.count(scope)) return false;
        values[scope].erase(name);
        return true;
    }
    std::vector<std::string> calls;
    std::map<RunScope, std::map<std::string, std::string>> values;
    std::set<RunScope> refuseSet, refuseDelete;
};

using Calls = std::vector<std::string>;
const std::string kExe = "C:\\Program Files\\Tessera\\Tessera.exe";
const std::string kQuotedExe = '"' + kExe + '"';

// Thrown text must start with `prefix`.
template <typename F>
void ExpectError(F action, const std::string& prefix) {
    try {
        action();
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()).rfind(prefix, 0), 0u) << e.what();
    }
}

TEST(EnableStartWithWindows, WritesMachineWideAndRemovesAUserLeftover) {
    FakeRunRegistry registry;
    registry.values[RunScope::User]["Tessera"] = "C:\\old\\Tessera.exe";

    EnableStartWithWindows(registry, "Tessera", kExe);
    EXPECT_EQ(registry.calls, (Calls{"set Machine Tessera", "delete User Tessera"}));
    EXPECT_EQ(registry.values[RunScope::Machine]["Tessera"], kQuotedExe);
    EXPECT_TRUE(registry.values[RunScope::User].empty());

    // A leftover that cannot be removed is no reason to fail: the program does start.
    registry.refuseDelete.insert(RunScope::User);
    EXPECT_NO_THROW(EnableStartWithWindows(registry, "Tessera", kExe));
}

TEST(EnableStartWithWindows, FallsBackToTheUserThenFailsOnceWhenBothRefuse) {
    FakeRunRegistry registry;
    registry.refuseSet.insert(RunScope::Machine);
    EnableStartWithWindows(registry, "Tessera", kExe);
    EXPECT_EQ(registry.calls, (Calls{"set Machine Tessera", "set User Tessera"}));
    EXPECT_EQ(registry.values[RunScope::User]["Tessera"], kQuotedExe);
    EXPECT_TRUE(registry.values[RunScope::Machine].empty());

    registry.refuseSet.insert(RunScope::User);
    registry.calls.clear();
    ExpectError([&] { EnableStartWithWindows(registry, "Tessera", kExe); },
                "Impossible d'inscrire Tessera au démarrage de Windows");
    EXPECT_EQ(registry.calls.size(), 2u);
}

TEST(DisableStartWithWindows, RemovesFromBothAndFailsWhenOneRemains) {
    FakeRunRegistry registry;
    registry.values[RunScope::Machine]["Tessera"] = kExe;
    registry.values[RunScope::User]["Tessera"] = kExe;
    DisableStartWithWindows(registry, "Tessera");
    EXPECT_TRUE(registry.values[RunScope::Machine].empty());
    EXPECT_TRUE(registry.values[RunScope::User].empty());

    for (RunScope failing : {RunScope::Machine, RunScope::User}) {
        SCOPED_TRACE(ScopeName(failing));
        FakeRunRegistry refusing;
        refusing.refuseDelete.insert(failing);
        ExpectError([&] { DisableStartWithWindows(refusing, "Tessera"); },
                    "Impossible de retirer Tessera du démarrage de Windows");
        // The other scope is still cleared.
        EXPECT_EQ(refusing.calls, (Calls{"delete Machine Tessera", "delete User Tessera"}));
    }
}

}  // namespace
}  // namespace tessera
