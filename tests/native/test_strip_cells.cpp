#include <doctest/doctest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "menu/StripCells.h"

namespace {

// The strip as pictures: a cell shows the target it was drawn for, "?" while
// it waits. A change lays the pictures out as the plan says; the shell then
// draws each target it is asked for into every cell waiting for it.
struct Strip {
    StripCells cells;
    std::vector<std::string> pictures;
    int asked = 0;

    StripPlan Change(const std::vector<std::string>& targets)
    {
        const StripPlan plan = cells.PlanFor(targets);
        std::vector<std::string> next(targets.size(), "?");
        for (std::size_t i = 0; i < targets.size(); ++i)
            if (plan.sourceOf[i] >= 0)
                next[i] = pictures[static_cast<std::size_t>(plan.sourceOf[i])];
        pictures = next;
        cells.Apply(targets, plan);
        return plan;
    }
    void Extract(const StripPlan& plan)
    {
        for (const std::string& target : plan.extract) {
            ++asked;
            for (const int cell : cells.WaitingFor(target)) {
                pictures[static_cast<std::size_t>(cell)] = target;
                cells.MarkReady(cell);
            }
        }
    }
};

}  // namespace

TEST_CASE("the strip's cells follow a drag, an edit, an add and a delete, asking only for what changed")
{
    Strip s;
    const std::vector<std::string> list{"a.exe", "b.txt", "c.exe", "d.txt"};
    s.Extract(s.Change(list));
    CHECK(s.asked == 4);
    CHECK(s.pictures == list);
    CHECK(s.cells.Whole());

    SUBCASE("a drag moves cells and asks for nothing")
    {
        const StripPlan plan = s.Change({"c.exe", "a.exe", "b.txt", "d.txt"});
        CHECK(plan.extract.empty());
        CHECK(s.pictures == std::vector<std::string>{"c.exe", "a.exe", "b.txt", "d.txt"});
        CHECK(s.cells.Whole());
    }
    SUBCASE("an edit asks for the one new target; its row waits until then")
    {
        const StripPlan plan = s.Change({"a.exe", "x.exe", "c.exe", "d.txt"});
        CHECK(plan.extract == std::vector<std::string>{"x.exe"});
        CHECK_FALSE(s.cells.Ready(1));
        CHECK(s.cells.Ready(0));
        s.Extract(plan);
        CHECK(s.pictures == std::vector<std::string>{"a.exe", "x.exe", "c.exe", "d.txt"});
    }
    SUBCASE("an add asks for the added target once, however many rows have it")
    {
        const StripPlan plan = s.Change({"a.exe", "b.txt", "c.exe", "d.txt", "e.doc", "e.doc"});
        CHECK(plan.extract == std::vector<std::string>{"e.doc"});
        s.Extract(plan);
        CHECK(s.pictures.back() == "e.doc");
        CHECK(s.cells.Whole());
    }
    SUBCASE("a delete drops cells; a target already shown is copied, not asked for")
    {
        CHECK(s.Change({"a.exe", "d.txt"}).extract.empty());
        CHECK(s.pictures == std::vector<std::string>{"a.exe", "d.txt"});
        CHECK(s.Change({"a.exe", "d.txt", "a.exe"}).extract.empty());
        CHECK(s.pictures == std::vector<std::string>{"a.exe", "d.txt", "a.exe"});
    }
    SUBCASE("a change while cells still wait asks again for what is still wanted")
    {
        s.Change({"y.exe", "a.exe"});  // y.exe is not extracted before the next change
        const StripPlan plan = s.Change({"a.exe", "y.exe", "z.exe"});
        CHECK(plan.extract == std::vector<std::string>{"y.exe", "z.exe"});
        s.Extract(plan);
        CHECK(s.pictures == std::vector<std::string>{"a.exe", "y.exe", "z.exe"});
    }
}

TEST_CASE("any run of list changes ends with every cell showing its own target")
{
    std::mt19937 random(29);
    Strip s;
    std::vector<std::string> list;
    for (int step = 0; step < 500; ++step) {
        const int action = static_cast<int>(random() % 4);
        const auto pick = [&] { return static_cast<std::size_t>(random() % list.size()); };
        const std::string fresh = "t" + std::to_string(random() % 40) + ".exe";
        if (action == 0 || list.empty()) {
            list.insert(list.begin() + static_cast<std::ptrdiff_t>(list.empty() ? 0 : pick()), fresh);
        } else if (action == 1) {
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(pick()));
        } else if (action == 2) {
            list[pick()] = fresh;
        } else {
            const std::size_t from = pick(), to = pick();
            const std::string moved = list[from];
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(from));
            list.insert(list.begin() + static_cast<std::ptrdiff_t>(to), moved);
        }
        std::set<std::string> shown;  // the targets some cell already shows
        for (int i = 0; i < s.cells.Count(); ++i)
            if (s.cells.Ready(i))
                shown.insert(s.cells.Targets()[static_cast<std::size_t>(i)]);
        const StripPlan plan = s.Change(list);
        const std::set<std::string> asked(plan.extract.begin(), plan.extract.end());
        CHECK(asked.size() == plan.extract.size());  // each target once
        for (const std::string& target : plan.extract)
            CHECK(shown.count(target) == 0);  // never one a cell already showed
        if (random() % 3 != 0)  // now and then the next change comes first
            s.Extract(plan);
    }
    s.Extract(s.Change(list));
    CHECK(s.pictures == list);
    CHECK(s.cells.Whole());
}

TEST_CASE("a cache serves only the list, folder, DPI and cell size it was made for")
{
    const std::vector<std::string> list{"a.exe", "b.txt"};
    const std::string key = StripCacheKey("C:\\Tools\\", 96, 16, list);
    CHECK(key == StripCacheKey("C:\\Tools\\", 96, 16, list));
    CHECK(key != StripCacheKey("C:\\Tools\\", 96, 16, {"b.txt", "a.exe"}));  // order
    CHECK(key != StripCacheKey("C:\\Tools\\", 96, 16, {"a.exe", "c.txt"}));  // a changed target
    CHECK(key != StripCacheKey("C:\\Tools\\", 144, 16, list));               // DPI
    CHECK(key != StripCacheKey("C:\\Tools\\", 96, 24, list));                // icon size
    CHECK(key != StripCacheKey("D:\\Other\\", 96, 16, list));                // another copy's folder
    CHECK(key != StripCacheKey("C:\\Tools\\", 96, 16, {"a.exe", "b.txt", "b.txt"}));
}
