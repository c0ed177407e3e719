#include "menu/StripCells.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

StripPlan StripCells::PlanFor(const std::vector<std::string>& targets) const
{
    // The first ready cell of each target.
    std::unordered_map<std::string, int> readyCell;
    for (int i = Count() - 1; i >= 0; --i)
        if (ready_[static_cast<std::size_t>(i)])
            readyCell[targets_[static_cast<std::size_t>(i)]] = i;
    StripPlan plan;
    plan.sourceOf.assign(targets.size(), -1);
    std::unordered_set<std::string> asked;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const std::string& target = targets[i];
        // The same place keeps its own cell: nothing moves for an unchanged row.
        if (static_cast<int>(i) < Count() && ready_[i] && targets_[i] == target) {
            plan.sourceOf[i] = static_cast<int>(i);
        } else if (const auto found = readyCell.find(target); found != readyCell.end()) {
            plan.sourceOf[i] = found->second;
        } else if (asked.insert(target).second) {
            plan.extract.push_back(target);
        }
    }
    return plan;
}

void StripCells::Apply(const std::vector<std::string>& targets, const StripPlan& plan)
{
    targets_ = targets;
    ready_.assign(targets.size(), false);
    for (std::size_t i = 0; i < targets.size() && i < plan.sourceOf.size(); ++i)
        ready_[i] = plan.sourceOf[i] >= 0;
}

void StripCells::AdoptAll(const std::vector<std::string>& targets)
{
    targets_ = targets;
    ready_.assign(targets.size(), true);
}

void StripCells::Clear()
{
    targets_.clear();
    ready_.clear();
}

std::vector<int> StripCells::WaitingFor(const std::string& target) const
{
    std::vector<int> cells;
    for (int i = 0; i < Count(); ++i)
        if (!ready_[static_cast<std::size_t>(i)] && targets_[static_cast<std::size_t>(i)] == target)
            cells.push_back(i);
    return cells;
}

void StripCells::MarkReady(int cell)
{
    if (cell >= 0 && cell < Count())
        ready_[static_cast<std::size_t>(cell)] = true;
}

bool StripCells::Ready(int cell) const { return cell >= 0 && cell < Count() && ready_[static_cast<std::size_t>(cell)]; }

bool StripCells::Whole() const { return std::all_of(ready_.begin(), ready_.end(), [](bool r) { return r; }); }

std::string StripCacheKey(const std::string& folder, int dpi, int cellSize, const std::vector<std::string>& targets)
{
    std::string key = "VLCR_ICON_STRIP 1\r\n" + folder + "\r\n" + std::to_string(dpi) + " " +
                      std::to_string(cellSize) + " " + std::to_string(targets.size()) + "\r\n";
    for (const std::string& target : targets)
        key += target + "\r\n";
    return key;
}
