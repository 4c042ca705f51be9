#include "app/run_registry_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "win/unique_handle.h"

namespace tessera {
namespace {

struct RegValue {
    DWORD type = 0;
    std::string data;
};

// Reads a Run value straight from the registry, not through the code under test.
std::optional<RegValue> ReadRunValue(HKEY root, const std::string& name) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExA(root, kRunKeyPath, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) return std::nullopt;
    win::unique_hkey key(raw);
    RegValue value;
    char buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.assign(buffer, size);
    return value;
}

void RemoveRunValue(HKEY root, const std::string& name) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExA(root, kRunKeyPath, 0, KEY_SET_VALUE, &raw) != ERROR_SUCCESS) return;
    win::unique_hkey key(raw);
    ::RegDeleteValueA(key.get(), name.c_str());
}

// The machine-wide Run key is writable under Wine, so a user without administrator rights is played
// by a registry that refuses the machine scope and passes the user scope to the real one.
class MachineRefusingRegistry : public RunRegistry {
public:
    bool SetRunValue(RunScope scope, const std::string& name, const std::string& data) override {
        return scope == RunScope::User && real_.SetRunValue(scope, name, data);
    }
    bool DeleteRunValue(RunScope scope, const std::string& name) override {
        return scope == RunScope::User && real_.DeleteRunValue(scope, name);
    }

private:
    Win32RunRegistry real_;
};

// A value name of its own, removed from both roots at the end of each test.
class RunRegistryTest : public ::testing::Test {
protected:
    void TearDown() override {
        RemoveRunValue(HKEY_LOCAL_MACHINE, name_);
        RemoveRunValue(HKEY_CURRENT_USER, name_);
    }

    const std::string name_ = "TesseraTest" + std::to_string(::GetCurrentProcessId());
    const std::string exe_ = "C:\\Program Files\\Tessera\\Tessera.exe";
};

TEST_F(RunRegistryTest, WritesRewritesAndDeletesAStringValueInEachScope) {
    Win32RunRegistry registry;
    for (auto [scope, root] :
         {std::pair{RunScope::Machine, HKEY_LOCAL_MACHINE}, std::pair{RunScope::User, HKEY_CURRENT_USER}}) {
        SCOPED_TRACE(scope == RunScope::Machine ? "Machine" : "User");

        ASSERT_TRUE(registry.SetRunValue(scope, name_, exe_));
        std::optional<RegValue> value = ReadRunValue(root, name_);
        ASSERT_TRUE(value);
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(value->data, exe_ + '\0');  // the stored size counts the terminating null

        ASSERT_TRUE(registry.SetRunValue(scope, name_, "D:\\T.exe"));
        value = ReadRunValue(root, name_);
        ASSERT_TRUE(value);
        EXPECT_EQ(value->data, std::string("D:\\T.exe") + '\0');

        EXPECT_TRUE(registry.DeleteRunValue(scope, name_));
        EXPECT_FALSE(ReadRunValue(root, name_));
        EXPECT_TRUE(registry.DeleteRunValue(scope, name_));  // already gone is fine
    }
}

TEST_F(RunRegistryTest, EnableFallsBackToTheUserAndMovesBackWhenTheMachineAccepts) {
    MachineRefusingRegistry refusing;
    EnableStartWithWindows(refusing, name_, exe_);
    EXPECT_FALSE(ReadRunValue(HKEY_LOCAL_MACHINE, name_));
    EXPECT_TRUE(ReadRunValue(HKEY_CURRENT_USER, name_));

    // Later run with the rights: the machine-wide value replaces the user one, never both.
    Win32RunRegistry registry;
    EnableStartWithWindows(registry, name_, exe_);
    EXPECT_TRUE(ReadRunValue(HKEY_LOCAL_MACHINE, name_));
    EXPECT_FALSE(ReadRunValue(HKEY_CURRENT_USER, name_));

    // With a value in each scope, disabling leaves neither.
    ASSERT_TRUE(registry.SetRunValue(RunScope::User, name_, exe_));
    DisableStartWithWindows(registry, name_);
    EXPECT_FALSE(ReadRunValue(HKEY_LOCAL_MACHINE, name_));
    EXPECT_FALSE(ReadRunValue(HKEY_CURRENT_USER, name_));
}

}  // namespace
}  // namespace tessera
