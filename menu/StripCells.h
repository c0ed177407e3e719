// Which cell of the icon strip holds whose icon, kept apart from the bitmap:
// a change of the list moves cells and asks the shell only for the targets
// that no cell holds yet.
#pragma once
#include <string>
#include <vector>

// How the cells for a new list come from the cells now.
struct StripPlan {
    std::vector<int> sourceOf;         // per new cell: the old cell whose picture it takes, or -1
    std::vector<std::string> extract;  // the targets to ask the shell for, each once
};

class StripCells {
public:
    // The cells for `targets` (one per item, in list order): a cell whose
    // target is still in the list keeps its picture, moved where the item
    // went (copied where two items share it); the rest wait for the shell.
    StripPlan PlanFor(const std::vector<std::string>& targets) const;
    // The bitmap has been laid out by the plan: the cells it copied are
    // ready, the others wait.
    void Apply(const std::vector<std::string>& targets, const StripPlan& plan);
    // Every cell ready, as a cache made for these targets gives them.
    void AdoptAll(const std::vector<std::string>& targets);
    void Clear();

    // The waiting cells of `target`, which an icon that came takes.
    std::vector<int> WaitingFor(const std::string& target) const;
    void MarkReady(int cell);
    bool Ready(int cell) const;
    bool Whole() const;  // no cell waits
    int Count() const { return static_cast<int>(targets_.size()); }
    const std::vector<std::string>& Targets() const { return targets_; }

private:
    std::vector<std::string> targets_;
    std::vector<bool> ready_;
};

// What a cache file is made for: the program's folder (relative targets
// resolve from it), the DPI and cell size, and the targets in order. The
// cache serves only a list with the same key.
std::string StripCacheKey(const std::string& folder, int dpi, int cellSize, const std::vector<std::string>& targets);
