#include "host/studyareas/StudyAreaRebuilder.h"

#include <map>

namespace tov {

namespace {
std::map<std::string, StudyAreaRebuilderFactory>& Rebuilders() {
  static std::map<std::string, StudyAreaRebuilderFactory> rebuilders;
  return rebuilders;
}
} // namespace

void RegisterStudyAreaRebuilder(const std::string& methodTaskName, StudyAreaRebuilderFactory factory) {
  if (factory)
    Rebuilders()[methodTaskName] = std::move(factory);
  else
    Rebuilders().erase(methodTaskName);
}

std::unique_ptr<StudyAreaRebuilder> CreateStudyAreaRebuilder(const std::string& methodTaskName) {
  auto it = Rebuilders().find(methodTaskName);
  return it == Rebuilders().end() ? nullptr : it->second();
}

} // namespace tov
