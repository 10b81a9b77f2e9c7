#include "platform/forms/Presenter.h"

#include "platform/runtime/HostError.h"

namespace tov {

namespace {
PresenterPtr& Current() {
  static PresenterPtr presenter;
  return presenter;
}
} // namespace

void SetPresenter(PresenterPtr presenter) { Current() = std::move(presenter); }

PresenterPtr GetPresenter() {
  if (!Current())
    throw HostError(err::ObjectVariableNotSet, "Forms", "No presenter is set: forms cannot be shown");
  return Current();
}

bool HasPresenter() { return Current() != nullptr; }

} // namespace tov
