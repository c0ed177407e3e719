#include "core/store/LaunchList.h"

#include <utility>

std::unique_ptr<LaunchList> LaunchLists;
std::string DblClickCommand;

LaunchItem LaunchList::Item(int i) const
{
    const auto k = static_cast<std::size_t>(i);
    return {TargetList.at(k), NameList.at(k), CmdLineList.at(k), ShortCutList.at(k), DirectoryList.at(k)};
}

void LaunchList::Clear()
{
    TargetList.clear();
    NameList.clear();
    CmdLineList.clear();
    ShortCutList.clear();
    DirectoryList.clear();
}

int LaunchList::Add()
{
    const int index = Count();
    Append({"", "", "", NoShortCut, ""});
    return index;
}

void LaunchList::Append(LaunchItem item)
{
    TargetList.push_back(std::move(item.Target));
    NameList.push_back(std::move(item.Name));
    CmdLineList.push_back(std::move(item.CmdLine));
    ShortCutList.push_back(std::move(item.ShortCut));
    DirectoryList.push_back(std::move(item.Directory));
}

namespace {
template <class F>
void ForEachList(LaunchList& l, F f)
{
    f(l.TargetList);
    f(l.NameList);
    f(l.CmdLineList);
    f(l.ShortCutList);
    f(l.DirectoryList);
}
}  // namespace

void LaunchList::Delete(int index)
{
    ForEachList(*this, [index](std::vector<std::string>& v) { v.erase(v.begin() + index); });
}

void LaunchList::Set(int index, std::string target, std::string name, std::string cmdLine,
                     std::string directory, std::string shortCut)
{
    const auto k = static_cast<std::size_t>(index);
    TargetList.at(k) = std::move(target);
    NameList.at(k) = std::move(name);
    CmdLineList.at(k) = std::move(cmdLine);
    DirectoryList.at(k) = std::move(directory);
    ShortCutList.at(k) = std::move(shortCut);
}

void LaunchList::Move(int from, int to)
{
    ForEachList(*this, [from, to](std::vector<std::string>& v) {
        std::string moved = std::move(v.at(static_cast<std::size_t>(from)));
        v.erase(v.begin() + from);
        v.insert(v.begin() + to, std::move(moved));
    });
}

bool LaunchListsPresent() { return LaunchLists != nullptr; }

// Lists that are present are dropped: only the fresh, empty ones are used on.
void CreateLaunchLists() { LaunchLists = std::make_unique<LaunchList>(); }
void FreeLaunchLists() { LaunchLists.reset(); }
void ClearLaunchList() { if (LaunchLists) LaunchLists->Clear(); }
int AddLaunchItem() { return LaunchLists->Add(); }
void DeleteLaunchItem(int index) { LaunchLists->Delete(index); }
void SetLaunchItem(int index, std::string target, std::string name, std::string cmdLine,
                   std::string directory, std::string shortCut)
{
    LaunchLists->Set(index, std::move(target), std::move(name), std::move(cmdLine), std::move(directory),
                     std::move(shortCut));
}
void MoveLaunchItem(int from, int to) { LaunchLists->Move(from, to); }
int LaunchItemCount() { return LaunchLists ? LaunchLists->Count() : 0; }
