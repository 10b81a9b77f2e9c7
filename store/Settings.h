#pragma once
#include "platform/framework/TaskPropertySet.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/HostApplication.h"

#include <memory>

namespace tov {

class Form;

// Keys of a page position in the task's property set (twips, single).
inline constexpr char kFormLeft[] = "FormLeft";
inline constexpr char kFormTop[] = "FormTop";
inline constexpr char kFormWidth[] = "FormWidth";
inline constexpr char kFormHeight[] = "FormHeight";

// The analysis extension of the application, or no object when the
// application has none. A missing application raises 91.
TovExtensionPtr GetTovExtension(const HostApplicationPtr& application);

// Stores the page's left, top, width and height in the set; no set, no
// form: nothing.
void SaveFormPosition(const std::shared_ptr<Form>& form, const TaskPropertySetPtr& propertySet);

// Puts a page where it was (centred in its saved rectangle when centre is
// set), kept on the screen; without a saved position (first run) centred
// over the application's main window. A maximised page stays as it is.
void RestoreFormPosition(const std::shared_ptr<Form>& form, const HostApplicationPtr& application,
                         const TaskPropertySetPtr& propertySet, bool centre);

} // namespace tov
