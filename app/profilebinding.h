#pragma once

#include "mainviews.h"

class MainWindow;
class WorkProfileHandler;

namespace Ui {
class MainWindow;
}

// The connections of the work profile: the handler announces each setting of the profile
// being applied to the window, the displays, the panels and the menu, and every change
// made there goes back to the handler's setter, which stores it and announces it again.
namespace ProfileBinding {

// The menu's checkable entries, each bound both ways to one setting.
void bindMenu(WorkProfileHandler *handler, const Ui::MainWindow &form);
// The displays, panels and editors.
void bindViews(WorkProfileHandler *handler, const MainViews &views);
// The window's own settings and requests.
void bindWindow(WorkProfileHandler *handler, MainWindow *window);

} // namespace ProfileBinding
