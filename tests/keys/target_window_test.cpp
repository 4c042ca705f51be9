// The target of the hot-key commands' keys: the remembered window, its title only once it is gone.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "keys/target_window.h"

namespace tessera {
namespace {

struct Windows : WindowLookup {
    std::set<std::uintptr_t> alive;
    std::vector<std::string> searches;
    bool Exists(std::uintptr_t w) override { return alive.count(w) != 0; }
    std::uintptr_t FindByTitle(const std::string& title) override {
        searches.push_back(title);
        return 99;
    }
};

TEST(TargetWindow, IsTheRememberedOneWhileItExistsAndNeverAnUntitledOne) {
    Windows windows;
    windows.alive = {7};
    EXPECT_EQ(ChooseTargetWindow({7, "twin"}, windows), 7u);
    EXPECT_TRUE(windows.searches.empty()) << "another window of the same title must not be chosen";
    EXPECT_EQ(ChooseTargetWindow({8, "twin"}, windows), 99u);
    EXPECT_EQ(ChooseTargetWindow({0, "twin"}, windows), 99u);
    EXPECT_EQ(windows.searches, (std::vector<std::string>{"twin", "twin"}));
    EXPECT_EQ(ChooseTargetWindow({8, ""}, windows), 0u);
    EXPECT_EQ(ChooseTargetWindow({}, windows), 0u);
    EXPECT_EQ(windows.searches.size(), 2u) << "an empty title is never searched";
}

}  // namespace
}  // namespace tessera
