// Where transition plug-ins live: shared objects in the "Transition" folder of the program
// folder, each exporting Mossen_GetExTransitionLibInfo (see Transition.h).
#pragma once

#include <string>
#include <vector>

namespace pictavo::effects {

inline constexpr char kTransitionFolder[] = "Transition";

// True for a plug-in's file name: "*.so" or "*.dll", without regard to case.
bool IsTransitionPluginName(const std::string& fileName);

// The plug-in files of `programFolder`'s "Transition" folder (the folder's name and the files'
// extensions matched without regard to case), full paths in name order. Empty when there is no
// such folder.
std::vector<std::string> FindTransitionPlugins(const std::string& programFolder);

}  // namespace pictavo::effects
