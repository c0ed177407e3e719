#include <doctest/doctest.h>

#include "core/store/LaunchList.h"

namespace {
void Fill(std::initializer_list<const char*> names)
{
    CreateLaunchLists();
    for (const char* n : names) {
        const int i = AddLaunchItem();
        SetLaunchItem(i, std::string("T") + n, n, std::string("C") + n, std::string("D") + n, n);
    }
}
}  // namespace

TEST_CASE("the process-wide lists: absent, present, fresh")
{
    FreeLaunchLists();
    CHECK_FALSE(LaunchListsPresent());
    CHECK(LaunchItemCount() == 0);
    FreeLaunchLists();  // safe when already absent
    CreateLaunchLists();
    REQUIRE(LaunchListsPresent());
    CHECK(AddLaunchItem() == 0);
    CHECK(LaunchLists->Item(0) == LaunchItem{"", "", "", NoShortCut, ""});
    CHECK(AddLaunchItem() == 1);
    CreateLaunchLists();  // lists present before: the new ones are empty
    CHECK(LaunchItemCount() == 0);

    DblClickCommand = "keep";
    AddLaunchItem();
    ClearLaunchList();
    FreeLaunchLists();
    CHECK(DblClickCommand == "keep");
    DblClickCommand.clear();
}

TEST_CASE("move, delete and set change all five lists alike")
{
    Fill({"A", "B", "C"});
    MoveLaunchItem(0, 2);
    CHECK(LaunchLists->NameList == std::vector<std::string>{"B", "C", "A"});
    CHECK(LaunchLists->TargetList == std::vector<std::string>{"TB", "TC", "TA"});
    CHECK(LaunchLists->CmdLineList == std::vector<std::string>{"CB", "CC", "CA"});
    CHECK(LaunchLists->DirectoryList == std::vector<std::string>{"DB", "DC", "DA"});
    CHECK(LaunchLists->ShortCutList == std::vector<std::string>{"B", "C", "A"});

    MoveLaunchItem(2, 0);
    CHECK(LaunchLists->NameList == std::vector<std::string>{"A", "B", "C"});
    MoveLaunchItem(1, 1);
    CHECK(LaunchLists->NameList == std::vector<std::string>{"A", "B", "C"});

    DeleteLaunchItem(1);
    CHECK(LaunchLists->Item(1) == LaunchItem{"TC", "C", "CC", "C", "DC"});
    CHECK(LaunchLists->Count() == 2);

    // SetLaunchItem takes target, name, command line, directory, shortcut.
    SetLaunchItem(0, "t", "n", "c", "d", "s");
    CHECK(LaunchLists->Item(0) == LaunchItem{"t", "n", "c", "s", "d"});
    FreeLaunchLists();
}
